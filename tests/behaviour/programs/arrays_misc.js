// Arrays, holes, sorting and higher-order functions.
var a = [1, , 3, , ]
console.log(a.length, 1 in a, a.join("|"))
var b = [[1, 2], [3, [4, [5]]]]
console.log(JSON.stringify(b), b[1][1][1][0])
var c = [5, 1, 10, 2].sort()
console.log(c)
var d = [5, 1, 10, 2].sort(function (x, y) { return y - x })
console.log(d)
var sum = [1, 2, 3, 4].reduce(function (acc, v) { return acc + v }, 0)
console.log(sum, [1, 2, 3].filter(function (v) { return v % 2 }).length)
console.log([3, 4].concat([5], 6, [[7]]).length, [1, 2, 3].indexOf(2), [].slice.call("abc").reverse())
var matrix = []
for (var i = 0; i < 3; i++) {
  matrix[i] = []
  for (var j = 0; j < 3; j++) matrix[i][j] = i * j
}
console.log(JSON.stringify(matrix))
var e = [] + []
var f = [] + {}
console.log(JSON.stringify(e), f, [1] == 1, [2] * [3])
var g = new Array(3)
console.log(g.length, String(g))
var h = Array.prototype.map.call("hi", function (ch) { return ch + ch })
console.log(h)
var deep = [[[[[[[[[[42]]]]]]]]]]
console.log(deep[0][0][0][0][0][0][0][0][0][0])
