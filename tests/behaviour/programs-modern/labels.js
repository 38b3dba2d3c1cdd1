// Labels on blocks, for-of, for-in and do-while, with let/const inside;
// break and continue to outer labels; the same label name reused apart.
const out = []
block: {
  const inBlock = 'in block'
  out.push(inBlock)
  if (inBlock) break block
  out.push('never')
}
rows: for (const row of [[1, 2], [3, 4], [5, 6]]) {
  cols: for (let c = 0; c < row.length; c++) {
    if (row[c] === 3) continue rows
    if (row[c] === 6) break rows
    if (c === 1) continue cols
    out.push(row[c])
  }
}
keys: for (const k in { a: 1, b: 2, c: 3 }) {
  if (k === 'b') continue keys
  out.push(k)
}
let i = 0
loop: do {
  i++
  if (i === 2) continue loop
  if (i > 3) break loop
  out.push('do' + i)
} while (true)
function reuse() { rows: for (;;) { break rows } return 'reused label' }
out.push(reuse())
outer: {
  inner: {
    break outer
  }
}
a: b: c: for (const x of [1]) { out.push('stacked ' + x); break b }
console.log(out.join(' '))
