// CRLF line ends: a template spanning lines holds LF only, in cooked and
// raw text; other line ends stay line breaks for ASI.
const t = `one
two`
console.log(JSON.stringify(t), JSON.stringify(String.raw`a
b`))
let x = 1
let y = x
++x
console.log(x, y)
const s = "tab\tand CR escape \r"
console.log(JSON.stringify(s))
