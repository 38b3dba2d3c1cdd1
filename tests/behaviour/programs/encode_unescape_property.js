// unescape used as a property name and assigned: strings stay as they are.
var helpers = {unescape: function (s) { return s.toUpperCase() }}
console.log(helpers.unescape("abc"), "plain string")
var saved = this.unescape
this.unescape = function () { return "replaced" }
console.log("after replacing", "ok")
this.unescape = saved
console.log(unescape("%41%42"))
