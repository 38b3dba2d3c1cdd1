// Function expressions followed by calls, bind, IIFEs and arguments.
var f = function (a) { return a + 1 }(5)
console.log(f)
var g = function () { return this.v }.bind({v: "bound"})
console.log(g())
var h = (function () { return "paren" }())
var i = (function () { return "paren2" })()
console.log(h, i)
var list = [3, 1, 2].sort(function (a, b) { return a - b }).map(function (x) { return x * x })
console.log(list)
function outer() {
  var inner = function () { return arguments.length }
  return inner(1, 2, 3)
}
console.log(outer())
var obj = {
  count: 0,
  inc: function () { this.count++; return this }
}
obj.inc().inc().inc()
console.log(obj.count)
var compose = function (f1, f2) {
  return function (x) { return f1(f2(x)) }
}
console.log(compose(function (x) { return x * 2 }, function (x) { return x + 3 })(4))
var later = function () {
  return "later"
}
later()
console.log(later())
var a = function () {}
var b = function () {}
(function () { console.log("called by b") })
console.log(typeof b)
var apply = Math.max.apply(null, [1, 9, 4])
console.log(apply, [].slice.call({0: "a", 1: "b", length: 2}).join(""))
new function () { console.log("new anonymous") }
var C = function (n) { this.n = n }
C.prototype.get = function () { return this.n }
console.log(new C(4).get(), new C(5)["get"]())
var d = new Date(0).getTime()
console.log(d)
