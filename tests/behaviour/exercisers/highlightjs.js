'use strict';
// highlight.js (the single-file browser build with its common languages):
// highlighting by name, automatic detection with relevance, a language
// defined here, plugins, and the list of languages and aliases.
const kSamples = [
  ['javascript', 'class A extends B {\n  #x = 1;\n  static { this.y = `t${1 + 2}`; }\n  async *gen() { yield* [1, 2]; }\n}\nconst re = /a[/]b/g, d = 4 / 2; // done\n'],
  ['typescript', 'interface P<T> { x?: T }\nexport const f = <T,>(p: P<T>): T | undefined => p.x ?? undefined;\n'],
  ['python', 'def f(x: int = 3) -> str:\n    """doc"""\n    return f"{x!r:>4}" if x else None  # comment\n@decorator\nclass C: pass\n'],
  ['xml', '<!DOCTYPE html>\n<div class="a" data-x=\'1\'><!-- c --><script>if (a < b) {}</script><style>p { color: red }</style>&amp;</div>'],
  ['css', '@media (max-width: 600px) { .a > b::before { content: "\\201C"; color: #f00 !important; } }\n:root { --v: calc(1px + 2em); }'],
  ['json', '{"a": [1, 2.5e-3, true, null], "b": {"c": "d\\n"}}'],
  ['bash', '#!/bin/bash\nfor f in *.js; do echo "${f%.js}" | sed -e \'s/a/b/\'; done 2>&1 > /dev/null\n'],
  ['sql', 'SELECT a.id, COUNT(*) AS n FROM t a LEFT JOIN u ON u.id = a.uid WHERE x IN (1, 2) GROUP BY 1 HAVING n > 2;'],
  ['cpp', '#include <vector>\ntemplate <typename T> constexpr auto f(T&& t) noexcept -> decltype(auto) { return std::forward<T>(t); } // x\n'],
  ['rust', 'fn main() { let v: Vec<u8> = vec![1, 2]; println!("{:?}", v.iter().map(|x| x * 2).collect::<Vec<_>>()); }'],
  ['go', 'package main\nfunc main() { ch := make(chan int, 1); go func() { ch <- 1 }(); fmt.Println(<-ch) }'],
  ['markdown', '# Title\n\n*em* **strong** `code`\n\n```js\nlet x = 1;\n```\n- [link](http://x)'],
  ['diff', '--- a\n+++ b\n@@ -1,2 +1,2 @@\n-old\n+new\n context'],
  ['yaml', 'key: value\nlist:\n  - 1\n  - "two" # comment\nanchor: &a {x: 1}\n'],
];

// A small language defined through the public API, with nested modes.
function Toy(hljs) {
  return {
    name: 'Toy',
    aliases: ['toy'],
    keywords: { keyword: 'let in', literal: 'yes no' },
    contains: [
      hljs.C_LINE_COMMENT_MODE,
      hljs.QUOTE_STRING_MODE,
      { className: 'number', begin: /\b\d+(\.\d+)?\b/ },
      { className: 'title', begin: hljs.regex.concat(/@/, hljs.IDENT_RE), relevance: 5 },
      { begin: /\(/, end: /\)/, contains: ['self', { className: 'symbol', begin: /'\w+/ }] },
    ],
  };
}

module.exports = function (hljs, record) {
  for (const [language, code] of kSamples) {
    record('highlight ' + language, () => hljs.highlight(code, { language }).value);
    record('relevance ' + language, () => { const r = hljs.highlight(code, { language, ignoreIllegals: true }); return [r.relevance, r.illegal, r.language]; });
  }
  record('auto', () => kSamples.map(([, code]) => { const r = hljs.highlightAuto(code); return [r.language, r.relevance, r.secondBest && r.secondBest.language]; }));
  record('auto subset', () => hljs.highlightAuto('x = [i ** 2 for i in range(3)]', ['python', 'ruby', 'javascript']).language);
  record('languages', () => [hljs.listLanguages().length, hljs.listLanguages().slice(0, 8), hljs.getLanguage('js').name, hljs.autoDetection('rust'), hljs.getLanguage('nope')]);
  record('define language', () => { hljs.registerLanguage('toy', Toy); return hljs.highlight("let x = 42 in (f 'a (g \"s\")) // c\n@main yes", { language: 'toy' }).value; });
  record('plugin', () => {
    const seen = [];
    hljs.addPlugin({ 'before:highlight': (context) => { seen.push('before ' + context.language); context.code = context.code.replace('TODO', 'done'); },
      'after:highlight': (result) => { seen.push('after ' + result.language); result.value = result.value.toUpperCase(); } });
    return [hljs.highlight('let TODO = 1', { language: 'javascript' }).value, seen];
  });
  record('unknown language', () => hljs.highlight('x', { language: 'no-such-language' }));
  record('escape', () => hljs.highlight('<b>&"\'</b>', { language: 'plaintext' }).value);
  record('version', () => hljs.versionString);
};
