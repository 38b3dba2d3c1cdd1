// Shadowing in blocks: each block's let/const/class is its own binding, a
// sloppy-mode function declared in a block also lands in the enclosing
// function's scope once the block has run, and catch parameters shadow.
let name = 'outer'
{
  let name = 'block'
  {
    const name = 'inner'
    console.log(name)
  }
  console.log(name)
}
console.log(name)

function annexB() {
  const before = typeof hoisted
  {
    function hoisted() { return 'from block' }
  }
  return [before, typeof hoisted, hoisted()]
}
console.log(annexB().join(' '))

function strictBlocks() {
  'use strict'
  {
    function local() { return 1 }
  }
  return typeof local
}
console.log(strictBlocks())

const value = 'const'
try {
  throw 'thrown'
} catch (value) {
  console.log(value)
  {
    let value = 'block in catch'
    console.log(value)
  }
}
console.log(value)

// A class's own name is a const binding inside its body, even when the
// outer binding changes.
let Klass = class Inner {
  static self() { return Inner }
  rename() { try { Inner = null } catch (e) { return e.name } return 'renamed' }
}
const Original = Klass
Klass = null
console.log(Original.self() === Original, new Original().rename())

// Same names in sibling blocks and in arrow parameters.
const results = []
for (const n of [1, 2]) {
  if (n === 1) { const tag = 'a'; results.push(tag + n) } else { const tag = 'b'; results.push(tag + n) }
}
const tag = (tag) => tag + '!'
console.log(results.join(','), tag('t'))

// Function parameters and a body var of the same name share a binding.
function params(x) { var x; return x }
console.log(params(7))
