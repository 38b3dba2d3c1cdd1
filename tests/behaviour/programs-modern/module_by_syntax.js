// A module that says so only through its syntax (top-level export, import,
// await), in a file named .js.
import { strictEqual } from 'node:assert'
export const answer = await Promise.resolve(42)
strictEqual(answer, 42)
const that = this
console.log(answer, that === undefined, typeof import.meta.url)
