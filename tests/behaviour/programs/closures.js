// Closures keep their own variables.
function counter(start) {
  var count = start
  return {
    inc: function () { return ++count },
    dec: function () { return --count },
    get: function () { return count }
  }
}
var c1 = counter(10), c2 = counter(100)
c1.inc(); c1.inc(); c2.dec()
console.log(c1.get(), c2.get())
var fns = []
for (var i = 0; i < 3; i++) {
  fns.push((function (j) { return function () { return j * i } })(i))
}
console.log(fns[0](), fns[1](), fns[2]())
function adder(a) {
  return function (b) {
    return function (c) {
      var total = a + b + c
      return total
    }
  }
}
console.log(adder(1)(2)(3))
function memo(fn) {
  var cache = {}
  return function (n) {
    if (n in cache) return cache[n]
    var value = fn(n)
    cache[n] = value
    return value
  }
}
var calls = 0
var fib = memo(function (n) { calls++; return n < 2 ? n : fib(n - 1) + fib(n - 2) })
console.log(fib(30), calls)
var module = (function () {
  var privateValue = "secret"
  function reveal() { return privateValue }
  return {reveal: reveal}
})()
console.log(module.reveal())
