'use strict';
// esprima: parses and tokenizes snippets and every behaviour program.
const fs = require('fs');
const path = require('path');

const kSnippets = [
  'var a = 1, b = a + 2;', 'function f(x) { return x ? -x : x / 2 }', 'a = b\n(c)', 'x = /re[/]g/i.test(s)',
  'for (var k in o) if (o.hasOwnProperty(k)) n++', 'label: while (1) { break label }', 'switch (x) { case 1: default: }',
  'try { f() } catch (e) { g(e) } finally { h() }', 'new Foo(1)(2).bar["baz"]', 'a\n++b', 'return', 'var 1x = 2',
  'o = { get a() { return 1 }, set a(v) {}, if: 2, "s": 3, 4: 5 }', '"use strict"; with (o) {}', 'x = `template ${1}`',
  'let [a, ...rest] = arr; const f = (x) => x * 2', 'class A extends B { constructor() { super() } }', 'a ? b : c ? d : e',
  '1 .toString() + .5 + 0x1F + 1e-5', 'if (a) /x/.test(s); else b / 2 / c', 'void typeof delete a.b', '((((a))))',
  '"\\u0041\\x42\\103\\\n"', 'a = b ? function () {} : {}', 'debugger;', '<!-- html comment\nx', 'x = y --> z', '}',
];

module.exports = function (g, record) {
  const esprima = g.esprima;
  const programs = path.join(__dirname, '..', 'programs');
  const sources = kSnippets.slice();
  for (const name of fs.readdirSync(programs).sort()) sources.push(fs.readFileSync(path.join(programs, name), 'utf8'));
  sources.forEach((source, i) => {
    record('parseScript#' + i, () => JSON.stringify(esprima.parseScript(source, { range: true, loc: true })));
    record('tokenize#' + i, () => JSON.stringify(esprima.tokenize(source, { comment: true, range: true })));
    record('tolerant#' + i, () => JSON.stringify(esprima.parseScript(source, { tolerant: true, comment: true }).errors));
    record('module#' + i, () => JSON.stringify(esprima.parseModule(source).body.map((n) => n.type)));
  });
  record('version', () => esprima.version);
  record('syntax', () => Object.keys(esprima.Syntax).join(','));
};
