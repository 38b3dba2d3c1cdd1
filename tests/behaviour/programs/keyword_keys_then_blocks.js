// Keyword-named keys, "function" among them, must not look like functions to
// the statement passes that follow.
var x = {function: {function: 1}}
try {} catch (e) {}
var y = {function: 1 + {function: 2}.function}
try {
  console.log("try", y.function)
} catch (e) {
  console.log("never")
} finally {
  console.log("finally")
}
var z = {if: {else: {for: {while: 3}}}}
if (z.if.else.for.while)
{
  console.log("if body", z.if.else.for.while)
}
var f = {function: function () { return {function: "inner"} }}
do { console.log(f.function().function) } while (false)
console.log(x.function.function, typeof {function: 0}.function)
