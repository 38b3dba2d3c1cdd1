// A program with its own unescape: strings must not be rewritten to call it.
function unescape(s) { return "[own " + s + "]" }
var text = "hello"
console.log(text, "world")
console.log(unescape("%41"))
