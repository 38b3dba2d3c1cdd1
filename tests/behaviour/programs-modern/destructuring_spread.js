// Destructuring with defaults (evaluated only when needed), renaming,
// nesting, computed keys, rest and holes; in parameters, loop heads and
// catch clauses; assignment to members; and spread into calls, arrays,
// objects and `new`.
const evaluated = []
const fallback = (v) => { evaluated.push(v); return v }
const { a, b: renamed = fallback('b'), c = fallback('c'), d: { e = 1, ...restInner } = {}, ...rest } = { a: 1, b: 2, d: { e: undefined, f: 3, g: 4 }, h: 5, i: 6 }
console.log(a, renamed, c, e, JSON.stringify(restInner), JSON.stringify(rest), evaluated.join(','))

const [first, , third = 'default third', [nested] = ['nested default'], ...others] = [1, 2, undefined, undefined, 5, 6]
console.log(first, third, nested, others.join(','))

const key = 'dynamic'
const { [key]: dyn, [`${key}2`]: dyn2 = 'computed default' } = { dynamic: 'found' }
console.log(dyn, dyn2)

let x = 1, y = 2;
[x, y] = [y, x]
console.log(x, y)

const target = { list: [] }
;({ one: target.first, two: target.list[0], three: target['third'] = 'member default' } = { one: 1, two: 2 })
console.log(JSON.stringify(target))

function params({ name = 'anon', tags: [firstTag = 'none'] = [] } = {}, [p, q] = [7, 8], ...more) {
  return `${name}:${firstTag}:${p}:${q}:${more.length}`
}
console.log(params(), params({ name: 'n', tags: ['t'] }, [1, 2], 3, 4))

const pairs = []
for (const [k, { v = 'no v' } = {}] of [['a', { v: 1 }], ['b'], ['c', {}]]) pairs.push(k + v)
for (const { length } of ['xy', 'xyz']) pairs.push(length)
console.log(pairs.join(' '))

try { throw { code: 42, detail: { why: 'because' } } } catch ({ code, detail: { why } }) { console.log(code, why) }
try { const { impossible } = null } catch (err) { console.log(err.name) }
const { length, 0: firstChar, [1]: secondChar } = 'hey'
console.log(length, firstChar, secondChar)

const arr = [1, 2, 3]
console.log(Math.max(...arr, 0, ...[4]), [...'héllo😀'].length, [...new Set([1, 1, 2])].join(','), [...new Map([[1, 'a']]).values()].join(''))
let getterHits = 0
const source = { get g() { getterHits++; return 'got' }, z: 1 }
const merged = { z: 0, ...source, y: 2, ...null, ...undefined, ...'ab', ...[9] }
console.log(JSON.stringify(merged), getterHits, Object.keys(merged).join(''))
console.log(new Date(...[2020, 1, 29]).getDate(), String.fromCharCode(...[104, 105]), Math.max(...[]))
const iterable = { *[Symbol.iterator]() { yield 'i'; yield 't' } }
console.log([...iterable].join(''), Array.of(...iterable).length)
const rest2 = (...all) => all.length
console.log(rest2(), rest2(...arr, ...arr), ((first, ...restArgs) => restArgs)(1, 2, 3).join(''))
