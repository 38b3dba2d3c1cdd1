/* leading block comment */
// Comments in every position.
var a = 1 /* after value */ , b /**/ = /* before value */ 2
var c = a /* between operands */ + b // trailing
console.log(a, b, c)
var d = a/*no space*/+/**/b
console.log(d)
/*/ tricky: a comment starting with slash-star-slash /*/
console.log("after /*/ comment")
var e = 5 /*
multi-line comment ending a statement
*/ var f = 6
console.log(e, f)
function g(/* no params */) /* before body */ {
  return /* inside return */ 7
}
console.log(g())
var h = [1, // one
  2, /* two */
  3] // three
console.log(h.length)
var i = 1 /* line
  break inside comment */ +1
console.log(i)
var j = "// not a comment", k = "/* nor this */"
console.log(j, k)
var l = /\/\/ regex with slashes/.source
console.log(l)
function m() {
  return /* a line break inside the comment counts
  */ 8
}
console.log(m())
var n = 4 /**//2
console.log(n)
var o = 9 //**/ 2
console.log(o)
/** doc comment **/
console.log("end") /* comment at the end without line break */
