// Number forms, and dots after numbers.
console.log(1 .toString(), 1..toString(), 1.0.toFixed(2), (1).toString(2))
console.log(0x1F, 0XfF, .5, 5., 1e-5, 1E3, 2e+2, 0.000001, 1e21, 0)
console.log(077 === 63 ? "octal" : "decimal", 08, 09.5)
var a = 3, b = "4"
console.log(a + +b, a - -b, a - +b, a + -b)
console.log(.5.toFixed(1), 5e0.toString(), 0x10.toString())
console.log(1/3, -1/0, 0/0, -0 === 0, 1 / -0)
console.log(Number.MAX_VALUE > 1e308, 9007199254740993)
var x = 1
.5
console.log(x)
console.log([1,2,3].length.toString().length)
var n = 10
console.log(n.toString(16), n .toFixed(1))
console.log(255..toString(16), 2.5e-3.toFixed(4))
console.log(Math.round(2.5), Math.round(-2.5), (0.1 + 0.2).toFixed(17))
