// eval and with look names up at run time.
function usesEval() {
  var secret = 41
  return eval("secret + 1")
}
console.log(usesEval())
function nestedEval() {
  var outerName = "outer"
  function inner() {
    return eval("outerName")
  }
  return inner()
}
console.log(nestedEval())
function usesWith() {
  var total = 0
  var o = {total: 5, extra: 2}
  with (o) {
    total = total + extra
  }
  return total + ":" + o.total
}
console.log(usesWith())
function evalDefines() {
  eval("var made = 'made by eval'")
  return made
}
console.log(evalDefines())
function indirect() {
  var local = "local"
  var e = eval
  return e("typeof local")
}
console.log(indirect())
var fromFunction = new Function("a", "b", "return a * b")
console.log(fromFunction(6, 7))
