// A module program: import.meta, top-level await, strict mode without a
// directive, live export bindings seen through the module's own namespace
// (it imports itself by its file name), and `-->` read as `-- >` mid-line.
import * as self from './module_meta.mjs'
export let counter = 0
export function bump() { counter++ }
export const fixed = 'fixed'
const local = 'not exported'
export { local as renamedExport }
export default class { static kind() { return 'default class' } }

console.log(typeof import.meta, typeof import.meta.url, import.meta.url.startsWith('file:'), /\.mjs$/.test(import.meta.url))
console.log(new URL('./sibling.mjs', import.meta.url).pathname.split('/').pop())
console.log(this === undefined, (function () { return this })() === undefined)
try { undeclaredInModule = 1 } catch (e) { console.log(e.name) }

console.log(Object.keys(self).sort().join(','), self.counter)
self.bump()
bump()
console.log(self.counter, counter, self.fixed, self.renamedExport, self.default.kind())

const delayed = await new Promise((resolve) => setTimeout(() => resolve('after a timer'), 1))
console.log(delayed)
const collected = []
for await (const v of [Promise.resolve('a'), 'b']) collected.push(v)
console.log(collected.join(''))
const results = await Promise.all([1, 2].map(async (n) => {
  await null
  return n * 10
}))
console.log(results.join(','))

let z = 3
const decrementGreater = z-->0
console.log(decrementGreater, z)
await 0
console.log('module end')
