// In scripts, `<!--` starts a comment anywhere and `-->` does at the start of
// a line; in modules neither does (see module_meta.mjs).
let count = 3
let result = 1 <!-- this rest of the line is a comment
--> this whole line is a comment too
console.log(result, count)
let decremented = count-->0
console.log(decremented, count)
/* a block comment */ --> so is this, after a block comment at the start of a line
console.log('after html comments')
