// return, throw, break and continue followed by a line break end there.
function r1() {
  return
  42
}
function r2(x) {
  return x
    && 3
}
function r3() {
  return (
    7
  )
}
console.log(r1(), r2(1), r2(0), r3())
var count = 0, outer = "not a label"
outer: for (var i = 0; i < 5; i++) {
  for (var j = 0; j < 5; j++) {
    if (j == 2) continue
    if (j == 4) continue
    outer
    if (i == 3) break
    outer
    count++
  }
}
console.log(count, i, j)
function t() {
  try {
    throw new Error("thrown " +
      "across lines")
  } catch (e) {
    return e.message
  }
}
console.log(t())
var k = 0
while (true) {
  k++
  if (k > 4) break
}
console.log(k)
