// Template literals holding what looks like comments, regexes and code;
// substitutions nested inside substitutions; escapes; line breaks; and
// tagged templates, whose raw text must come through exactly.
const a = 1, b = 2
console.log(`// not a comment ${a} /* nor this */ ${b} */ /* `)
console.log(`url: http://x.test/a//b?c=/d/g ${'}'} {${'{'}} $ {a} $${a} \${a}`)
console.log(`nested ${`level two ${`level three ${a + b}`} back`} out ${[1, 2].map((n) => `<${n}>`).join('')}`)
console.log(`quotes ' " \` and backslash \\ and \x41\u0042\u{1F600} \0 end`)
console.log(`line one
line two\
 continued
	tab`)
console.log(`${a}${b}`, `${`${`${a}`}`}`, `${{ a }.a}`, `${(() => `arrow ${a}`)()}`)
console.log(`ends with slash /`.length, `</script><!-- -->`, `${'${a}'}`)

const tag = (strings, ...values) => JSON.stringify({ cooked: strings, raw: strings.raw, values })
console.log(tag`a${1}b${2}c`)
console.log(tag`\n\t\\ \u0041 \x42 ${'v'} \``)
console.log(tag`\unicode and \xZ and \u{FFFFFF}`)
console.log(String.raw`C:\new\table ${a} \u0041 \${a} \``)
console.log(String.raw`
	indented raw`)

// The strings array is one object per call site, reused by each call.
const sites = new Set()
const remember = (strings) => { sites.add(strings); return sites.size }
for (let i = 0; i < 3; i++) remember`same site ${i}`
remember`another site`
console.log(sites.size, Object.isFrozen([...sites][0]))

// A tag can be any member expression or call result.
const obj = { method: (s, v) => s.raw.join('|') + v, factory: () => (s) => s[0].toUpperCase() }
console.log(obj.method`x${'-'}y`, obj.factory()`made`, obj['method']`k${0}`)

// A template directly after a line break continues the previous line's
// expression as a tagged template.
const makeTag = () => (s) => 'tagged ' + s[0]
const result = makeTag()
`next line`
console.log(result)
