// comment
var a = 1
var b = {x: 1, get y() { return 2 }}
function f(x) {
  if (x) return x + 1
  else return 0
}
var g = function () { return 3 }
g()
!f(1)
a++
b.y
x = /ab+c/gi.test("abc") ? 1 : 2
console.log(a, b.y, f(1), g(), typeof x, 1 .toString(), a + +1, a - -1, o = {}, "x" in o, [1].length)
