// Declarations reach their whole function: uses before var, helpers declared earlier.
function f() {
  helper()
  console.log(typeof later, value)
  var value = "set"
  function helper() { value = "from helper"; console.log("helper sees", value) }
  console.log(value)
  var later = function () {}
  return typeof later
}
console.log(f())
function g() {
  x = 5
  var result = x * 2
  var x
  return result + x
}
console.log(g())
function h(p) {
  var p = p || "default"
  return p
}
console.log(h(), h("given"))
function k(a, b) {
  if (false) { var b = 99 }
  return b
}
console.log(k(1, 2))
console.log(hoisted())
function hoisted() { return "function declarations are hoisted" }
function uses() {
  function inner() { return counter }
  var counter = 3
  return inner()
}
console.log(uses())
function loops() {
  for (var i = 0; i < 3; i++) { var last = i }
  return i + last
}
console.log(loops())
var top1 = "global"
function shadowsLater() {
  var before = top1
  var top1 = "local"
  return before + "/" + top1
}
console.log(shadowsLater(), top1)
