// Generators, async functions and async generators: a line break after
// `yield` ends it (a regex or expression on the next line is a statement of
// its own), one after `await` does not; delegation, return() and throw(),
// finally blocks, for await, and the order microtasks run in.
function* lines() {
  const got = yield
  'ignored'
  yield got
  yield /re/g.source
  yield 6
  / 2
  yield* [7, 8]
  try {
    yield 'in try'
  } finally {
    console.log('generator finally')
  }
}
const it = lines()
console.log(JSON.stringify([it.next(), it.next('sent'), it.next(), it.next(), it.next(), it.next(), it.next(), it.next()]))
console.log(JSON.stringify([it.return('early'), it.next()]))

function* guarded() {
  try { yield 1; yield 2 } catch (e) { yield 'caught ' + e } finally { yield 'cleanup' }
}
const g = guarded()
console.log(JSON.stringify([g.next(), g.throw('boom'), g.next(), g.next()]))

function* infinite() { let n = 0; while (true) yield n++ }
const firstFive = []
for (const n of infinite()) { if (n >= 5) break; firstFive.push(n) }
console.log(firstFive.join(','))

const log = []
const tick = (label) => Promise.resolve().then(() => log.push(label))
async function first() {
  log.push('first start')
  const value = await
    tick('tick a')
  log.push('first after ' + value)
  return 'first done'
}
async function* countdown(n) {
  while (n > 0) {
    await null
    yield n--
  }
  return 'liftoff'
}
const arrow = async (x) => (await x) * 2
const object = { async method() { return 'method' }, async *stream() { yield 'streamed' } }

async function main() {
  const pending = first()
  log.push('sync after first()')
  log.push(await pending)
  const counted = []
  for await (const n of countdown(3)) counted.push(n)
  const gen = countdown(1)
  counted.push(JSON.stringify([await gen.next(), await gen.next(), await gen.next()]))
  counted.push(await arrow(Promise.resolve(21)), await object.method())
  for await (const s of object.stream()) counted.push(s)
  for await (const v of [Promise.resolve('p1'), 'plain', Promise.resolve('p2')]) counted.push(v)
  try {
    await Promise.reject(new RangeError('rejected'))
  } catch (e) {
    counted.push(e.name + ' ' + e.message)
  }
  const settled = await Promise.allSettled([arrow(1), Promise.reject('no')])
  counted.push(settled.map((s) => s.status).join('/'))
  console.log(counted.join(' | '))
  console.log(log.join(' | '))
}
main().then(() => console.log('main resolved'))
console.log('script end')
Promise.resolve().then(() => console.log('first microtask'))
