// Every string escape form.
var s = [
  "\n", "\r", "\t", "\b", "\f", "\v", "\0", "\\", "\"", '\'',
  "\x41\x7e\xff", "\u0041\u00e9\u4e2d\uFFFF",
  "\101\7\77\377", "a\
b", "\a\c\d\q", "\/", "'", '"', "</script>", "<!-- x -->",
  "\u2028\u2029", "\uD83D\uDE80", "%41%", "%u0041", "100%"
]
for (var i = 0; i < s.length; i++) {
  var codes = []
  for (var j = 0; j < s[i].length; j++) codes.push(s[i].charCodeAt(j))
  console.log(i, s[i].length, codes.join(" "))
}
console.log("tab\there", 'single \'quoted\'', "double \"quoted\"")
console.log("mixed 'quotes' and \"more\"")
console.log("" + '' + "empty")
var key = {"a\nb": 1, 'c\'d': 2, "\u0065": 3}
console.log(Object.keys(key).join("|"), key.e)
console.log("abc".charAt(1), "x".concat("\x00").length)
