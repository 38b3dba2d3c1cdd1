// A block on the line after a call or a parenthesised expression is a new
// statement; after an if/while/for header or a parameter list it is the body.
var log = []
function f(x) { log.push("f" + x); return x }
f(1)
{
  log.push("block after call")
}
;(f(2))
{
  log.push("block after parentheses")
}
!function () { log.push("bang") }()
{
  log.push("block after invoked function")
}
if (f(3))
{
  log.push("if body")
}
while (f(0))
{
  log.push("never")
}
function g(a)
{
  return a * 2
}
try { f(4) } catch (e)
{
  log.push("never caught")
}
console.log(log.join(", "), g(21))
