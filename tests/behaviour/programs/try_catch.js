// try/catch/finally, catch parameters and rethrowing.
function f(n) {
  var log = []
  try {
    log.push("try")
    if (n === 1) throw new TypeError("one")
    if (n === 2) throw "two"
    if (n === 3) return "returned"
    log.push("end")
  } catch (e) {
    log.push("catch " + (e.message || e))
  } finally {
    log.push("finally")
  }
  return log.join(",")
}
console.log(f(0))
console.log(f(1))
console.log(f(2))
console.log(f(3))
var e = "outer e"
try { throw "inner" } catch (e) { console.log("caught", e) }
console.log(e)
function g() {
  try {
    return "try"
  } finally {
    console.log("finally runs")
  }
}
console.log(g())
function h() {
  try {
    try {
      throw new RangeError("deep")
    } finally {
      console.log("inner finally")
    }
  } catch (err) {
    return err.name + ":" + err.message
  }
}
console.log(h())
try {
  null.x
} catch (err) {
  console.log(err instanceof TypeError)
}
function thrower() {
  throw {code: 42}
}
try { thrower() } catch (x) { console.log(x.code) }
try {
  undefinedVariable
} catch (e2) {
  console.log(e2.name)
}
