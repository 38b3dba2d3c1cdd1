// A slash after `}` starts a regex when the brace closed a block, and
// divides when it closed an object literal, class or function expression;
// the same question after `)`, `]`, keywords, `++` and template ends. Also
// every regex flag (d, g, i, m, s, u, v, y) and slashes inside classes.
let out = []
let x = 8, g = 2, i = 1
if (true) {}
/x/g.test('x') ? out.push('regex after if block') : out.push('no')
{}
/b/.exec('abc') && out.push('regex after bare block')
function f() {}
/c/.test('c') && out.push('regex after function declaration')
class K {}
/d/.test('d') && out.push('regex after class declaration')
const o = {} / 2
const fe = function () {} / 2
const ce = class {} / 2
const t = `${x}` / 2
console.log(out.join('; '), o, fe, ce, t)

const y = (x) / 2 / 1, z = [x][0] / g / i, w = x++ / 2
console.log(y, z, w, x / g/i, 4 /2/ 1)
const viaReturn = () => { return /r/.source }
const viaTypeof = typeof /t/
const viaVoid = void /v/
const viaIn = 'source' in /i/
const viaCase = (v) => { switch (v) { case /s/.source: return 'case regex' } return 'none' }
console.log(viaReturn(), viaTypeof, viaVoid, viaIn, viaCase('s'))
const division = x
/2/g
console.log(division)

const flags = [/a/d, /a/g, /a/i, /a/m, /a/s, /a/u, /a/v, /a/y, /a/dgimsuy]
console.log(flags.map((r) => r.flags).join(' '))
console.log(JSON.stringify(/(?<word>b+)/d.exec('abbc').indices), /a.c/s.test('a\nc'), /^b/m.test('a\nb'))
console.log(/[\p{L}--[a-z]]/v.test('A'), /[\p{L}--[a-z]]/v.test('a'), /\p{Emoji}/u.test('😀'), /[[a-z]&&[aeiou]]+/v.exec('xyzaeb')[0])
const sticky = /o/y
sticky.lastIndex = 4
console.log(sticky.test('hello'), sticky.lastIndex, 'a/b/c'.split(/[/]/).join('|'), /\/\*\//.test('/*/'), /[*/]+/.exec('a*/b')[0])
console.log('x//y'.replace(/\/\//g, '--'), /a\/b/.source, /[\]/]/.test(']'), /=+/.exec('a==b')[0])
const comment = /* block */ /not a comment/.source // line
console.log(comment, /(?<=\$)\d+(?!\.)/.exec('cost $42')[0], 'aBc'.replace(/b/gi, (m) => `<${m}>`))
