// Names written with Unicode letters and with escapes (\u0061, \u{62})
// are the same bindings as their plain spellings.
const café = 'accented'
const \u0061bc = 'escaped a'
const d\u{65}f = 'braced escape'
const ℮stimate = 'letterlike', 𝑥 = 'math italic', Ωmega = 'greek', 変数 = 'kanji'
console.log(café, abc, def, ℮stimate, 𝑥, Ωmega, 変数)
const obj = { \u0070rop: 'escaped key', ünï: 'non-latin key' }
console.log(obj.prop, obj['ünï'], Object.keys(obj).join(','))
class Ünit { #prívate = 'private with accent'; get wert() { return this.#prívate } }
console.log(new Ünit().wert)
const \u{1D44E} = 'astral escape'
console.log(𝑎)
