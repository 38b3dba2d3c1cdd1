// Arrow functions across lines, arrows whose body is an object literal,
// lexical this/arguments, and arrows followed by lines that start with
// `(` or `[` (a new statement after a block body, a call after an
// expression body).
const make = (a,
  b = a * 2,
  { c = 3, d: renamed = 4 } = {},
  ...rest
) =>
  a + b + c + renamed + rest.length
console.log(make(1), make(1, 1, { c: 0, d: 0 }, 'x', 'y'))

const asObject = (x) => ({ x, doubled: x * 2 })
const asBlock = (x) => { x }
const asNested = () => ({ inner: () => ({ deep: [1, { two: 2 }] }) })
console.log(JSON.stringify(asObject(5)), asBlock(5), JSON.stringify(asNested().inner()))

// A block-bodied arrow ends its statement before a line starting with `(`.
let calledWith = 'nothing'
const blockBody = () => { calledWith = 'called' }
;(function () { calledWith += ' iife' })()
console.log(calledWith)

const ident = (v) => v
const exprBody = (v) => ident
(v)
console.log(exprBody(9))

const list = () => {}
[1, 2].forEach((n) => { calledWith += n })
console.log(calledWith, typeof list)

const obj = {
  value: 'object',
  regular() { return [1].map(() => this.value)[0] },
  arrow: () => typeof this,
  args() { return (() => arguments.length)() },
}
console.log(obj.regular(), obj.arrow(), obj.args(1, 2, 3))

const curried = (a) => (b) => (c) =>
  a * 100 + b * 10 + c
console.log(curried(1)(2)(3))

const conditional = (n) => n > 0
  ? 'positive'
  : n < 0 ? 'negative' : 'zero'
console.log([1, -1, 0].map(conditional).join(' '))

// Arrows as default values and immediately invoked.
const withDefault = (f = () => 'default arrow') => f()
console.log(withDefault(), (() => 'iife arrow')(), ((x) => x * x)(7))
const sorted = [3, 1, 2].sort((a, b) =>
  b - a)
console.log(sorted.join(''))
