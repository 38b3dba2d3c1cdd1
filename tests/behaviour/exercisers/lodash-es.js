'use strict';
// lodash-es through its module namespace: the named exports must be the
// default export's own functions, and the default export answers the lodash
// exerciser's calls.
const Lodash = require('./lodash');

module.exports = function (ns, record) {
  const names = Object.keys(ns).filter((name) => name !== 'default').sort();
  record('export names', () => names);
  record('named exports that differ from the default export', () => names.filter((name) => ns[name] !== ns.default[name]));
  Lodash({ _: ns.default }, record);
};
