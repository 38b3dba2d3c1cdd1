// Sloppy-mode scripts may use let, yield, await, async, of, get, set,
// static, as and from as plain names; where a line break falls decides
// whether `let` starts a declaration and whether `async` makes a function
// async.
var let = 'let is a name'
console.log(let)
let = { prop: 'member of let' }
console.log(let.prop, typeof let)
var yield = 'yield is a name', await = 'await is a name'
console.log(yield, await)
var async = (v) => 'async called with ' + v, of = [1, 2], get = 'g', set = 's', static = 'st', as = 'a', from = 'f'
console.log(async(1), get + set + static + as + from)
for (var x of of) console.log('of', x)

// `let` before `[` on the next line still declares (the array is a pattern).
let
[destructured] = ['from pattern']
console.log(destructured)

// `let` before a name on the next line declares too.
let
declaredAcrossLines = 'declared'
console.log(declaredAcrossLines)

// Where only a statement may stand, `let` is an expression and ASI ends it.
var skipped = 'unchanged'
if (false) let
skipped = 'assigned after if'
console.log(skipped)

// `async` then a line break then `function`: a plain function follows.
async
function notAsync() { return 'plain result' }
console.log(typeof notAsync(), notAsync())
console.log(async ('a call, no arrow follows'))

// `await` and `yield` as labels and parameters in sloppy functions.
function plain(await, yield) {
  await: for (;;) { break await }
  yield: { break yield }
  return await + yield
}
console.log(plain(1, 2))
function* gen() { const yieldLike = 'inside generator'; yield yieldLike }
console.log(gen().next().value)
async function asyncFn() { var yield = 'yield name in async'; return yield }
asyncFn().then((v) => console.log(v))

// Object keys and methods named after keywords and contextual words.
const keys = { let: 1, yield: 2, await: 3, async: 4, get: 5, set: 6, static: 7, new: 8, class: 9, function: 10, of: 11, import: 12, export: 13 }
console.log(Object.keys(keys).join(','), keys.import + keys.export + keys.class)
const shorthand = { let, yield, await }
console.log(JSON.stringify(shorthand))
