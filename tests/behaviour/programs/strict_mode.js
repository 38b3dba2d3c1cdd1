// "use strict" functions keep strict semantics.
function sloppy() { return this === undefined }
function strict() { "use strict"; return this === undefined }
console.log(sloppy(), strict())
function strictAssign() {
  'use strict'
  try {
    undeclaredName = 1
    return "no error"
  } catch (e) {
    return e.name
  }
}
console.log(strictAssign())
function strictFrozen() {
  "use strict"
  var o = Object.freeze({a: 1})
  try { o.a = 2; return "silently ignored" } catch (e) { return e.name }
}
console.log(strictFrozen())
function directivePrologue() {
  "first directive"
  "use strict"
  return this
}
console.log(directivePrologue() === undefined)
function notDirective() {
  var x = 1;
  "use strict"
  return this !== undefined
}
console.log(notDirective())
var expr = function () {
  "use strict"
  return typeof this
}
console.log(expr())
function argumentsUnlinked(a) {
  "use strict"
  a = 2
  return arguments[0]
}
console.log(argumentsUnlinked(1))
