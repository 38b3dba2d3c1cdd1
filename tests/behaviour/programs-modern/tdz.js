// Reading a let, const or class before its declaration runs throws a
// ReferenceError, even through typeof or a hoisted function.
function attempt(label, fn) {
  try {
    console.log(label, 'ok', fn())
  } catch (e) {
    console.log(label, e.name, e instanceof ReferenceError)
  }
}
attempt('before let', () => { const r = value; let value = 1; return r })
attempt('typeof in tdz', () => { const t = typeof later; let later; return t })
attempt('typeof undeclared', () => typeof neverDeclared)
attempt('self init', () => { let x = x + 1; return x })
attempt('class before', () => { const c = new Shape(); class Shape {} return c })
attempt('hoisted call', () => { function read() { return tdzConst } const r = read(); const tdzConst = 5; return r })
attempt('call after', () => { function read() { return okConst } const okConst = 5; return read() })
attempt('default params', () => (function (a = b, b = 2) { return a + b })())
attempt('default params ok', () => (function (a = 1, b = a + 1) { return a + b })())
attempt('switch cases share a scope', () => {
  switch (2) {
    case 1: let inCase = 'one'; return inCase
    case 2: return inCase
  }
})
attempt('const assignment', () => { const fixed = 1; fixed = 2; return fixed })
attempt('loop head', () => { for (let q = q; ;) return q })
let outerLater = 'outer'
attempt('shadow in tdz', () => { { const r = outerLater; let outerLater = 'inner'; return r } })
attempt('after block', () => outerLater)
