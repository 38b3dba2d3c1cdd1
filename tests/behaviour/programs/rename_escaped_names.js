// An identifier written with \u escapes is the same name as its plain spelling.
function f() {
  var \u0078yz = 5
  return xyz + \u0078yz
}
console.log(f())
function g(\u0061) {
  var b\u0062 = a * 2
  return bb + \u0062b
}
console.log(g(3))
var \u0067lobal = "global"
console.log(global)
