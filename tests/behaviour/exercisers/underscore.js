'use strict';
// underscore: every function with each argument set, then chains and templates.
const { CallAll, FunctionNames } = require('./util');

const kSkip = ['random', 'shuffle', 'sample', 'now', 'delay', 'defer', 'debounce', 'throttle', 'mixin',
  'noConflict', 'times', 'range'];

module.exports = function (g, record) {
  const _ = g._;
  CallAll(record, '_.', _, FunctionNames(_, kSkip));
  record('range', () => [_.range(5), _.range(1, 10, 3), _.range(0, -4, -1)]);
  record('times', () => _.times(3, (i) => i * i));
  record('chain', () => _.chain([4, 1, 3, 2]).sortBy(_.identity).map((x) => x * 3).filter((x) => x > 3).value());
  record('template', () => _.template('Hi <%= name %>! <% _.each(list, function(i) { %><b><%- i %></b><% }); %>')({ name: 'x', list: ['<', '>'] }));
  record('groupBy', () => _.groupBy(['one', 'two', 'three', 'four'], 'length'));
  record('isEqual', () => _.isEqual({ a: [1, { b: 2 }] }, { a: [1, { b: 2 }] }));
  record('escape', () => [_.escape('<a href="x">&\'</a>'), _.unescape('&lt;b&gt;&amp;&quot;&#x27;')]);
};
