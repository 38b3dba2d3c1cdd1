'use strict';
// js-yaml: loads and dumps documents, including invalid ones.
const kDocuments = [
  'a: 1\nb: [1, 2, "three"]\nc: {d: null, e: true}\n',
  '- item\n- nested:\n    - deep\n    - 2.5e3\n- ~\n',
  'anchors: &a {x: 1}\nref: *a\nmerged:\n  <<: *a\n  y: 2\n',
  'multi: |\n  line one\n  line two\nfolded: >\n  folded\n  text\n',
  'date: 2001-12-14t21:59:43.10-05:00\nbin: !!binary aGVsbG8=\nset: !!set {a, b}\n',
  'octal: 0o17\nhex: 0x1F\ninf: .inf\nnan: .NaN\nsexa: 190:20:30\n',
  '"quoted \\u00e9 \\x41": \'single \'\' quote\'\nunicode: Привет 日本\n',
  '--- first\n--- second\n...\n',
  'bad: [unclosed\n', 'key: value\n  bad indent: 1\n', '? complex key\n: complex value\n', '!!js/function "function(){}"\n',
  'a: 1\na: 2\n', '%YAML 1.2\n---\nx: 1\n', 'tab:\t"x"\n', '',
];
const kValues = [
  { a: 1, b: 'two', c: [1, 2, { d: null }], e: true, f: 1.5 },
  ['x', 'multi\nline', 'needs: quoting', '123', 'true', '', ' spaced ', 'ünï'],
  { nested: { deeper: { deepest: [[1, 2], [3, [4]]] } } },
  { date: new Date(0), inf: Infinity, nan: NaN, neg: -0 },
  'plain string', 42, null,
];

module.exports = function (g, record) {
  const yaml = g.jsyaml;
  kDocuments.forEach((doc, i) => {
    record('load#' + i, () => yaml.load(doc));
    record('safeLoad#' + i, () => yaml.safeLoad(doc));
    record('loadAll#' + i, () => { const all = []; yaml.loadAll(doc, (d) => all.push(d)); return all; });
    record('json#' + i, () => yaml.load(doc, { json: true }));
  });
  kValues.forEach((value, i) => {
    record('dump#' + i, () => yaml.dump(value));
    record('safeDump#' + i, () => yaml.safeDump(value, { skipInvalid: true }));
    record('dump flow#' + i, () => yaml.dump(value, { flowLevel: 1, sortKeys: true, indent: 4, lineWidth: 20 }));
    record('round trip#' + i, () => yaml.load(yaml.dump(value)));
  });
  const schemas = ['FAILSAFE_SCHEMA', 'JSON_SCHEMA', 'CORE_SCHEMA', 'DEFAULT_SAFE_SCHEMA'];
  kDocuments.forEach((doc, i) => {
    for (const schema of schemas) record('load ' + schema + '#' + i, () => yaml.load(doc, { schema: yaml[schema] }));
  });
  const dumpOptions = [{ indent: 1 }, { noRefs: true }, { noCompatMode: true }, { condenseFlow: true, flowLevel: 0 },
    { styles: { '!!null': 'canonical', '!!int': 'hexadecimal' } }, { lineWidth: -1, sortKeys: (a, b) => (a < b ? 1 : -1) }];
  kValues.forEach((value, i) => {
    dumpOptions.forEach((options, j) => record('dump options ' + j + '#' + i, () => yaml.safeDump(value, Object.assign({ skipInvalid: true }, options))));
  });
  record('dump regexp', () => yaml.dump({ r: /ab+c/gi, u: undefined }));
};
