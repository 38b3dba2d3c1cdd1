// Text that looks like module syntax (require("./x"), import/export
// statements, import.meta, dynamic import) inside strings, templates,
// comments and regexes of a script stays text; `import` and `export` as
// property names stay names; a local `require` is an ordinary function.
function require(path) { return 'required ' + path }
console.log(require("./x"), require('../lib/y.js'), require(`./${'z'}`))
const texts = [
  "import fs from 'fs'",
  'export default function () {}',
  `export { a as b } from "./c.mjs"`,
  'import.meta.url',
  "await import('./lazy.js')",
  'require("./x")',
  "module.exports = require('./dep')",
]
console.log(texts.join(' | '))
// import x from './commented-out.js'
/* export const y = require("./also-commented") */
const pattern = /import\s+(\w+)\s+from\s+['"]([^'"]+)['"]/
console.log(pattern.exec(texts[0]).slice(1).join(' '), /require\("\.\/x"\)/.test(texts[5]))
const names = { import: 'import key', export: 'export key', require: 'require key', module: 'module key', meta: 'meta key' }
console.log(names.import, names.export, names['require'], names.module, names.meta)
const object = { import() { return 'method named import' }, export: () => 'arrow named export' }
console.log(object.import(), object.export())
console.log(typeof module, typeof exports, typeof require, typeof define)
console.log('\x69mport', 'expor\u0074', "im" + "port('./x')")
