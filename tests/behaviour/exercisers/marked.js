'use strict';
// marked: Markdown documents to HTML with and without GFM and line breaks,
// the lexer's tokens, inline parsing, extensions (renderers, tokenizers,
// hooks, walkTokens) on separate instances, and async parsing. The same
// exerciser serves the UMD build (the global `marked` namespace) and the
// module build (its namespace object).
const kDocuments = [
  '# Title\n\nSome *emphasis*, **strong**, ~~struck~~ and `code`.\n',
  'Setext\n======\n\n> quote\n> > nested\n\n---\n\n1. one\n2. two\n   - inner\n   - [x] done\n   - [ ] todo\n',
  '```js\nconst a = `t${1}` // not a comment\n```\n\n    indented code\n\n~~~\nfenced ~~~\n~~~\n',
  '| a | b |\n|:-|-:|\n| 1 | 2 |\n| `x|y` | \\| |\n',
  'Links: [text](http://x.test/a_b "title") <http://auto.test> www.gfm.test and ![img](i.png)\n\n[ref]: /url\n[ref] and [ref][]\n',
  '<div class="raw">\n*not md*\n</div>\n\n<span>inline *md*</span> & &amp; &copy; \\* escaped \\_\n',
  'line one  \nline two\nline three\\\nfour\n\nÜnïcode — “quotes” ✓ 😀\n',
  '* a\n\n* b\n\n  para in b\n\n+ c\n\n10) ten\n11) eleven\n',
  'Heading with `code` and <b>html</b> {#id}\n---\n\n***bold italic*** __*mixed*__ _a_b_c_\n',
  '',
];

function TokenSummary(tokens) {
  return tokens.map((t) => [t.type, t.raw.length, t.tokens ? TokenSummary(t.tokens) : t.items ? t.items.length : t.text]);
}

function Extended(marked) {
  const walked = [];
  const instance = new marked.Marked({
    gfm: true,
    breaks: true,
    renderer: {
      heading({ tokens, depth }) { return `<h${depth} class="x">${this.parser.parseInline(tokens)}</h${depth}>\n`; },
      codespan({ text }) { return `<kbd>${text}</kbd>`; },
    },
    extensions: [{
      name: 'mention',
      level: 'inline',
      start(src) { return src.indexOf('@'); },
      tokenizer(src) {
        const match = /^@(\w+)/.exec(src);
        if (match) return { type: 'mention', raw: match[0], user: match[1] };
        return undefined;
      },
      renderer(token) { return `<a class="user">${token.user}</a>`; },
    }],
    hooks: {
      preprocess(markdown) { return markdown.replace(/\r\n/g, '\n'); },
      postprocess(html) { return html.trim() + '<!-- end -->'; },
    },
    walkTokens(token) { walked.push(token.type); },
  });
  return { instance, walked };
}

module.exports = async function (marked, record) {
  kDocuments.forEach((doc, i) => {
    record('parse#' + i, () => marked.parse(doc));
    record('parse no gfm#' + i, () => marked.parse(doc, { gfm: false, breaks: false, pedantic: i % 2 === 1 }));
    record('lexer#' + i, () => TokenSummary(marked.lexer(doc)));
  });
  record('inline', () => marked.parseInline('**bold** [l](u) <em>x</em> `c` ~~s~~'));
  record('extended', () => {
    const { instance, walked } = Extended(marked);
    return [instance.parse('# Hi @ada\r\n\r\nsee `x` and @bob\n\n## Two'), walked];
  });
  record('defaults untouched', () => marked.parse('# Hi @ada\n`x`'));
  await record('async', () => new marked.Marked({ async: true, async walkTokens(token) { if (token.type === 'text') token.text = token.text.toUpperCase(); } })
    .parse('a *b* c'));
  record('lexer rules', () => [typeof marked.Lexer.lex, marked.Lexer.rules.block.normal.heading.source.length > 0]);
  record('errors', () => [marked.parse(null, { silent: true }), (() => { try { return marked.parse(undefined); } catch (e) { return e.message; } })()]);
};
