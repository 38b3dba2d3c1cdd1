// Shadowed names and parameters that share names across functions.
var name = "global"
function one(name) {
  function two() {
    var name = "two"
    return name
  }
  return name + ":" + two()
}
console.log(one("param"), name)
function three() {
  var a = 1
  function four() {
    var a = 2
    function five() {
      var a = 3
      return a
    }
    return a + five()
  }
  return a + four()
}
console.log(three())
function six(x) {
  return function (x) {
    return function (y) {
      var x = y * 2
      return x
    }(x + 1)
  }(x * 10)
}
console.log(six(1))
var obj = {a: 1, b: 2}
function keys(obj) {
  var a = obj.a, b = obj.b
  return {a: b, b: a, obj: 3}
}
var swapped = keys(obj)
console.log(swapped.a, swapped.b, swapped.obj)
function args(arguments2) {
  var length = arguments.length
  return length + arguments2
}
console.log(args(5, 6))
function ternary(x, y) {
  var c = x > y
  return c ? -x : y
}
console.log(ternary(3, 2), ternary(1, 2))
