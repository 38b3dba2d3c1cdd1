// Regular expressions against division in every position.
var s = "a/b/c 12 xyz"
var parts = s.split(/\//)
console.log(parts.length, parts[2])
var x = 10, y = 2, g = 5
console.log(x / y / g, x /y/ g)
var arr = [8]
console.log(arr[0] / 2, (x) / 5)
var o = {v: 9}
console.log(o.v / 3)
function re() { return /ab+c/.test("xabbbc") }
console.log(re())
console.log(typeof /x/, !/y/.test("x"))
var r = [/a/, /b/g, /[/]/]
console.log(r.length, r[2].test("/"), r[1].flags)
var t = x > 3 ? /yes/ : /no/
console.log(t.source)
if (s) /c 1/.test(s) && console.log("if header regex")
while (false) /never/.exec(s)
for (var i = 0; i < 1; i++) /z/g.lastIndex
switch ("x") { case /x/.source: console.log("case regex") }
console.log("in", "source" in /q/)
var ok = true && /q/.test("q") || /r/.test("r")
console.log(ok)
var z = x
/y/g
console.log(z)
console.log(s.replace(/[a-c]/g, function (m) { return m.toUpperCase() }))
console.log(/[\]/]+/.exec("a]/]b")[0])
console.log(/\/\*/.test("/*"), /a\/b/.source)
var k = 4
k /= 2
console.log(k)
var div = x/2/1; console.log(div)
var re2 = x
; /=a/.test("=a") && console.log("slash-eq regex")
console.log(/[/*]/.test("*"), "after comment-like regex")
var rr = /a/
console.log(rr.test("a"))
var m = "1+2".match(/\d+/g)
console.log(m.length)
console.log(g++ / 2, g-- / 2, g)
var obj = {a: 1} / 2
console.log(obj)
