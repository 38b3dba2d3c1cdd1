// Each iteration of a let/const loop gets its own binding; closures made in
// the body, the head's initialiser and the update see different copies.
const byLet = []
for (let i = 0; i < 3; i++) byLet.push(() => i)
const byVar = []
for (var j = 0; j < 3; j++) byVar.push(() => j)
console.log(byLet.map((f) => f()).join(','), byVar.map((f) => f()).join(','))

// The initialiser's closure sees the first iteration's copy only.
const seen = []
for (let k = 0, first = () => k; k < 3; k++) seen.push(first())
console.log(seen.join(','))

// The update runs in the new iteration's copy: closures made in the body
// see the increment done after them.
const late = []
for (let n = 0; n < 3; late.push(() => n), n++) {}
console.log(late.map((f) => f()).join(','))

const keys = []
for (const key in { a: 1, b: 2 }) keys.push(() => key)
for (const item of ['x', 'y']) keys.push(() => item)
console.log(keys.map((f) => f()).join(''))

// A body block's let shadows the loop variable; continue keeps the copy.
const shadowed = []
for (let i = 0; i < 4; i++) {
  let i2 = i * 10
  { let i = 'inner'; shadowed.push(i + i2) }
  if (i % 2) continue
  shadowed.push(() => i)
}
console.log(shadowed.map((v) => (typeof v === 'function' ? v() : v)).join(' '))

// while and do-while with a block-scoped const per pass.
const fromWhile = []
let w = 0
while (w < 3) { const captured = w * w; fromWhile.push(() => captured); w++ }
do { const once = 'do'; fromWhile.push(() => once) } while (false)
console.log(fromWhile.map((f) => f()).join(','))

// Closures over a let that changes after capture see the change.
let shared = 1
const readShared = () => shared
shared = 2
console.log(readShared())

// Labelled continue from an inner let loop.
const pairs = []
outer: for (let a = 0; a < 3; a++) {
  for (let b = 0; b < 3; b++) {
    if (b > a) continue outer
    pairs.push(() => `${a}${b}`)
  }
}
console.log(pairs.map((f) => f()).join(' '))
