// Renaming: locals of nested functions, parameters redeclared, keys kept.
function f(x) { var x = x || 1; return x }
console.log(f(), f(5))
function build(width, height) {
  var area = width * height
  var perimeter = 2 * (width + height)
  return {area: area, perimeter: perimeter, width: width}
}
var r = build(3, 4)
console.log(r.area, r.perimeter, r.width, Object.keys(r).join(","))
function keyed(value, other) {
  var key = "k"
  var result = {value: value, key: key}
  result[key] = other
  return result
}
console.log(JSON.stringify(keyed(1, 2)))
function cond(x, y) {
  var c = x > 0
  return c ? -x : y
}
console.log(cond(2, 9), cond(-2, 9))
function many() {
  var a1 = 1, b1 = 2, c1 = 3, d1 = 4, e1 = 5, f1 = 6, g1 = 7, h1 = 8, i1 = 9, j1 = 10
  var k1 = 11, l1 = 12, m1 = 13, n1 = 14, o1 = 15, p1 = 16, q1 = 17, r1 = 18, s1 = 19
  var t1 = 20, u1 = 21, v1 = 22, w1 = 23, x1 = 24, y1 = 25, z1 = 26, aa = 27, bb = 28
  return a1 + b1 + c1 + d1 + e1 + f1 + g1 + h1 + i1 + j1 + k1 + l1 + m1 + n1 + o1 + p1 +
    q1 + r1 + s1 + t1 + u1 + v1 + w1 + x1 + y1 + z1 + aa + bb
}
console.log(many())
var a = "global a", b = "global b"
function usesGlobals() {
  var local = 1
  return a + b + local
}
console.log(usesGlobals())
function propertyNamesStay(obj) {
  var length = obj.length
  var name = obj.name
  return length + name + obj.local
}
console.log(propertyNamesStay({length: 1, name: "n", local: "l"}))
function dotted() {
  var x = {y: 1}, y = 2
  return x.y + y
}
console.log(dotted())
function prefixLike() {
  var item = 1, items = 2, itemCount = 3
  return item + items * 10 + itemCount * 100
}
console.log(prefixLike())
