// var lists across lines, with and without initialisers.
var a = 1,
    b = 2,
    c
var d
var e, f
e = 5
f = 6
console.log(a, b, c, d, e, f)
var g =
  7
console.log(g)
var h = [1,
  2]
  , i = 3
console.log(h, i)
for (var j in {p: 1}) console.log("key", j)
for (var k = 0, l = 5; k < l; k++);
console.log(k, l)
var m = function () { return 1 },
    n = function () { return 2 }
console.log(m() + n())
var o = {
  a: 1
}, p = 2
console.log(o.a, p)
var q
(function () { console.log("separate statement after var q") })()
var r = 1
var s = r
in {1: 0}
console.log(s)
function local() {
  var x = 1,
      y = x + 1
  var z
  z = x + y
  return z
}
console.log(local())
