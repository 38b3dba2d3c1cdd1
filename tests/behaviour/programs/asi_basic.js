// Statements without semicolons, ended only by line breaks.
var a = 1
var b = 2, c = 3
var d
d = a + b
c = c * 2
console.log(a, b, c, d)
var s = "text"
s += "more"
console.log(s)
var list = [1, 2, 3]
list.push(4)
console.log(list.join("-"))
var e = a
+b
console.log(e)
var f = a
-b
console.log(f)
var g = 10
/2
console.log(g)
var obj = {x: 1}
obj.y = 2
console.log(obj.x + obj.y)
function named() { return 5 }
named()
console.log(named())
if (a) d = 9
else d = 8
console.log(d)
for (var i = 0; i < 3; i++) d += i
console.log(d)
do d-- 
while (d > 5)
console.log(d)
