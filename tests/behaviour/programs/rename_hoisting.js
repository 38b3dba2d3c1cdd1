// Uses before the declaration, and helpers that read it, are renamed together.
function outer() {
  function helper() { return shared * 2 }
  var before = typeof shared
  var shared = 21
  return before + " " + helper()
}
console.log(outer())
function loopVar() {
  for (i = 0; i < 3; i++) {}
  var i
  return i
}
console.log(loopVar(), typeof i)
function twice(a) {
  var a
  return a
}
console.log(twice("kept"))
function nestedUse() {
  return (function () { return v })()
  var v = 1
}
console.log(nestedUse())
function assignedBeforeDeclared() {
  count = 10
  function get() { return count }
  var count
  return get()
}
console.log(assignedBeforeDeclared(), typeof count)
