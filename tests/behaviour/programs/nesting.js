// Deep nesting of blocks, functions and brackets.
function level1(a) {
  function level2(b) {
    function level3(c) {
      function level4(d) {
        return function (e) {
          return [a, b, c, d, e].join("")
        }
      }
      return level4(c + 1)
    }
    return level3(b + 1)
  }
  return level2(a + 1)
}
console.log(level1(1)(5))
var x = ((((((((((1 + 2))))))))))
console.log(x)
var o = {a: {b: {c: {d: {e: {f: function () { return {g: [[{h: "deep"}]]} }}}}}}}
console.log(o.a.b.c.d.e.f().g[0][0].h)
if (x) {
  if (x > 1) {
    if (x > 2) {
      while (x < 10) {
        x++
        if (x % 2) { continue }
        else { x += 0 }
      }
    }
  }
}
console.log(x)
var y = x > 5 ? x > 8 ? "big" : "mid" : "small"
console.log(y)
