var a = 1
var b = 2
var c = a
+b
console.log(a, b, c)
function f() {
  return
  5
}
console.log(f())
var s = "line\
continued"
console.log(s, s.length)
// comment
var d = a
++b
console.log(d, b)
var r = c
/2/1
console.log(r)
