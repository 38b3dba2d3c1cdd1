// in, instanceof, typeof, void, delete, comma, ternary and bit operators.
function A() {}
var a = new A
console.log(a instanceof A, a
  instanceof Object, "constructor" in a)
var o = {k: 1}
var x = "k" in o
var y = "z"
  in o
console.log(x, y)
function has(key) {
  return key in o
}
console.log(has("k"), has("m"))
console.log(typeof undefined, typeof null, typeof 1, typeof "", typeof {}, typeof function () {})
console.log(void 0, void "x")
delete o.k
console.log("k" in o)
var c = (1, 2, 3)
console.log(c)
var t = 1 ? 2 ? "a" : "b" : "c"
console.log(t)
console.log(5 & 3, 5 | 3, 5 ^ 3, ~5, 5 << 2, -20 >> 2, -20 >>> 28)
var n = 7
n <<= 1; n >>= 1; n >>>= 0; n &= 6; n |= 1; n ^= 2; n %= 4
console.log(n)
console.log(!!"", !!"0", 1 == "1", 1 === "1", null == undefined, null === undefined, NaN != NaN)
console.log(1 < 2 > 0, "b" > "a", 2 <= 2, 3 >= 4)
for (var i = 0, j = 10; i < j; i += 3, j -= 3) {}
console.log(i, j)
var p = {}
p.q = p.r = 4
console.log(p.q, p.r)
console.log(1 - -1, 1 + +"2", 1 - - -1, - +1, + -1, 2 - +-+2)
var s = "a" + + "3"
console.log(s)
console.log(typeof typeof 1, !typeof x, -~1, ~-1)
var q = 1 + /* comment */ +1
console.log(q)
