// ++ and -- standing on the next line belong to the following operand.
var a = 1, b = 2
a
++b
console.log(a, b)
a
--b
console.log(a, b)
var c = 5
c++
c--
c++
console.log(c)
var arr = [1, 2]
arr[0]++
arr[1]--
console.log(arr)
var o = {n: 1}
o.n++
++o.n
console.log(o.n)
var x = 3, y = 4
var z = x - -y
var w = x + +y
var v = x - --y
var u = x + ++y
var t = x++ + +y
var q = x-- - -y
console.log(z, w, v, u, t, q, x, y)
var p = - -x, m = + +y, l = -(-x)
console.log(p, m, l)
console.log(x+++y, x---y, x, y)
