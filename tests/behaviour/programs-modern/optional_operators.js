// Optional chaining (and `a?.5:1`, a conditional with a number), `??`,
// `**`, logical assignment with its short-circuit, and operators that
// must stay apart (`a - -b`, `a + +b`, `a+ ++b`).
const o = { a: { b: { c: 'deep' } }, list: [10, 20], fn(x) { return this === o ? 'this kept ' + x : 'lost this' }, nil: null }
const none = undefined
let calls = 0
const count = () => ++calls
console.log(o?.a?.b?.c, o.nil?.b.c.d, none?.[count()], none?.x(count()), calls)
console.log(o.list?.[1], o.fn?.(1), o.missing?.(), o?.['a']?.b.c, (o?.a).b.c)
try { (none?.a).b } catch (e) { console.log(e.name) }
console.log(delete o?.nil, 'nil' in o, delete none?.x)
const q = true
console.log(q?.5:1, q ?.5 : 1, false?.5:1, q? .5 :1)
const tmpl = o.a?.b ? `${o.a.b.c}` : 'none'
console.log(tmpl)

console.log(null ?? 'default', 0 ?? 'zero kept', '' ?? 'empty kept', (null || undefined) ?? 'chain', null ?? undefined ?? 3)
console.log((0 || null) ?? 'mixed needs parens', 0 || (null ?? 'other way'))

console.log(2 ** 3 ** 2, (2 ** 3) ** 2, (-2) ** 2, 2 ** -1, -(2 ** 2))
let e = 3
e **= 2
console.log(e)

let setterCalls = 0
const target = { _v: 0, get v() { return this._v }, set v(n) { setterCalls++; this._v = n } }
target.v ||= 5
target.v ||= 6
target.v &&= 7
target.v ??= 8
let un
un ??= 'filled'
let zero = 0
zero ||= 'replaced'
let truthy = 'keep'
truthy &&= 'changed'
console.log(target.v, setterCalls, un, zero, truthy)

const a = 5, b = 2
let c = 1
console.log(a - -b, a + +b, a- -b, a+ +b, a - - - b, a+ ++c, a- --c, -(-a), +(+b), a - (-b), !-b, ~-b, typeof -b)
let d = 3
const e2 = d++ + ++d, f2 = d-- - --d
console.log(e2, f2, d)
console.log(1 < 2 < 3, 3 > 2 > 1, 1 == '1', 1 === '1', null == undefined, NaN !== NaN)
console.log(7 >>> 1, -7 >> 1, 1 << 3, 5 & 3, 5 | 3, 5 ^ 3, ~5, !!'x', void 0)
const comma = (1, 2, 3)
console.log(comma, 'in' in { in: 1 }, [] instanceof Array, typeof typeof 1)
