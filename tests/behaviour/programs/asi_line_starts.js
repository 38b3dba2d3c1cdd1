// Lines beginning with ( [ / + - ! ~ { and strings.
var log = []
function f(x) { log.push("f" + x); return function (y) { log.push("g" + y); return y } }
var a = f
(1)(2)
console.log(log.join(","), typeof a)
var b = [10, 20, 30]
var c = b
[1]
console.log(c)
var d = 1;
[4, 5].forEach(function (n) { log.push(n) })
console.log(log.join(","))
;(function () { log.push("iife") })()
console.log(log[log.length - 1])
var e = 8
!function () { log.push("bang") }()
console.log(e, log[log.length - 1])
var g = 3
~g
console.log(g, ~g)
var h = 2
"str".length
console.log(h)
var i = 4
;"other".split("")
console.log(i)
var j = 0
{
  j = 11
}
console.log(j)
var k = "k"
+ "continued"
console.log(k)
var m = 1
- 1
console.log(m)
var n = 6
/ 2 / 3
console.log(n)
function noop() {}
noop()
;[7].map(function (x) { console.log("map", x) })
