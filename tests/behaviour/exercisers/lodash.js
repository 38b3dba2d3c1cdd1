'use strict';
// lodash: every function with each argument set, then chains and templates.
const { CallAll, FunctionNames } = require('./util');

const kSkip = ['random', 'shuffle', 'sample', 'sampleSize', 'now', 'delay', 'defer', 'debounce', 'throttle',
  'runInContext', 'mixin', 'noConflict', 'times', 'range', 'rangeRight', 'repeat', 'padStart', 'padEnd', 'pad'];

module.exports = function (g, record) {
  const _ = g._;
  CallAll(record, '_.', _, FunctionNames(_, kSkip));
  record('range', () => [_.range(5), _.range(1, 10, 3), _.rangeRight(4)]);
  record('times', () => _.times(4, String));
  record('pad', () => [_.pad('ab', 7, '*-'), _.padStart('1', 4, '0'), _.padEnd('x', 3), _.repeat('ab', 3)]);
  record('chain', () => _.chain([4, 1, 3, 2]).sortBy().map((x) => x * 3).filter((x) => x > 3).reverse().value());
  record('wrapped', () => _([1, 2, 3]).map(String).join('+'));
  record('template', () => _.template('Hi <%= name %>! <% _.each(list, function(i) { %><b><%- i %></b><% }); %>')({ name: 'x', list: ['<', '>'] }));
  record('template es', () => _.template('${a} and ${ b }')({ a: 1, b: 2 }));
  record('merge deep', () => _.merge({ a: [{ b: 1 }], c: { d: 1 } }, { a: [{ e: 2 }], c: { f: [1] } }));
  record('isEqual', () => _.isEqual({ a: [1, { b: new Date(0) }] }, { a: [1, { b: new Date(0) }] }));
  record('cloneDeep', () => _.cloneDeep({ a: [1, { b: /x/g }], m: 'str' }));
  record('memoize', () => { const m = _.memoize((n) => n * n); return [m(3), m(3), m.cache.has(3)]; });
  record('words', () => _.words('fred, barney, & pebbles camelCase XMLHttpRequest'));
  record('case', () => ['Foo Bar', '--foo-bar--', '__FOO_BAR__', 'fooBarBaz', 'Ünïcode wörds'].map((s) =>
    [_.camelCase(s), _.kebabCase(s), _.snakeCase(s), _.startCase(s), _.deburr(s)].join('|')));
  record('escape', () => [_.escape('<a href="x">&\'</a>'), _.unescape('&lt;b&gt;&amp;&quot;&#39;'), _.escapeRegExp('[a.b]*')]);
};
