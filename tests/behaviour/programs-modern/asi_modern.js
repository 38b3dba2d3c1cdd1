// Line breaks that end statements and line breaks that do not, around the
// newer syntax: a line starting with a template continues the previous
// expression as a tag; a class or arrow expression followed by `(`; `?.`
// after a break; restricted productions with arrows and yield.
const tagger = (s) => 'tag:' + s[0]
const tagged = tagger
`continued`
console.log(tagged)

const Cls = class {}
try {
  const notCalled = Cls
  (1)
  console.log('no error', typeof notCalled)
} catch (e) {
  console.log('class called without new:', e.name)
}

const obj = { deep: { value: 'v' } }
const chained = obj
  ?.deep
  ?.value
console.log(chained)

function returnsUndefined() {
  return
  `never`
}
function returnsArrow() {
  return () =>
    'arrow body on next line'
}
console.log(returnsUndefined(), returnsArrow()())

function* yields() {
  yield
  yield 'second'
}
console.log([...yields()].length)

let a = 1
let b = a
++a
console.log(a, b)

const list = [1, 2]
const sum = list
  .map((n) => n * 2)
  .reduce((x, y) => x + y)
console.log(sum)

let n = 5
const expr = n
-1
console.log(expr)

const spreadCall = Math.max
(...[3, 9, 4])
console.log(spreadCall)

// A do-while ends at its `)` even with more on the same line.
let afterBreak = 'unset'
do afterBreak = 'do body'; while (false) afterBreak += ' + after do-while'
console.log(afterBreak)
