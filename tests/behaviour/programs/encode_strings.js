// String encoding keeps every character, directives and accessor names.
"use strict"
var plain = "plain text"
var escapes = "\x00\x01\x7f\x80\xff\u0100\u20ac\uffff"
var nul = "\0"
var percent = "100% done %41 %u0041 %%"
var surrogate = "\uD83D\uDE80 rocket 🚀"
var cyrillic = "Привет, мир"
var cont = "line one \
line two"
var empty = ""
var quotes = 'it\'s "quoted"'
var specials = "\b\f\n\r\t\v\\/"
var all = [plain, escapes, nul, percent, surrogate, cyrillic, cont, empty, quotes, specials]
for (var i = 0; i < all.length; i++) {
  var s = all[i], codes = []
  for (var j = 0; j < s.length; j++) codes.push(s.charCodeAt(j).toString(16))
  console.log(s.length, codes.join("."))
}
console.log((function () { return this })() === undefined ? "strict kept" : "strict lost")
var o = {get "accessor name"() { return "got" }, "key string": 1}
console.log(o["accessor name"], o["key string"])
function f() {
  "use strict"
  return this
}
console.log(f() === undefined)
console.log("a" + "b" === "ab", "x".length, typeof "s")
switch ("case label") { case "case label": console.log("switch on string") }
console.log("in" in {"in": 1}, "key string" in o)
