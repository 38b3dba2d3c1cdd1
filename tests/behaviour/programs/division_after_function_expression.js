// After the "}" of a function expression, "/" divides; after a declaration's
// "}" or a block's "}", it starts a regular expression.
var x = 2, g = 4
var a = function () { return 1 }
/x/g
console.log(a)
var b = function () {}
/ 2
console.log(b)
function declared() {}
/x/g.test("x") && console.log("regex after a declaration")
if (x) {}
/x/.test("x") && console.log("regex after a block")
console.log(typeof function () {} / 1)
