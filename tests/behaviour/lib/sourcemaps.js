'use strict';
// Source maps of real libraries, packed with renaming: every name of the packed
// output, read with acorn, maps back (by the source-map package) to a place in
// its input where the same name stands (the original name for a renamed one),
// in single-file and in several-files mode.
const acorn = require('acorn');
const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');
const { SourceMapConsumer } = require('source-map');

const kRuns = [
  { label: 'lodash', inputs: ['lodash/lodash.js'] },
  { label: 'three (CommonJS)', inputs: ['three/build/three.cjs'] },
  { label: 'underscore + moment + marked', inputs: ['underscore/underscore-umd.js', 'moment/moment.js', 'marked/lib/marked.umd.js'] },
];

// The names of the packed text: identifiers, and private names with their #.
function NamesOf(text) {
  const names = [];
  for (const token of acorn.tokenizer(text, { ecmaVersion: 'latest', locations: true, allowHashBang: true })) {
    if (token.type.label === 'name') names.push({ text: token.value, loc: token.loc.start });
    if (token.type.label === 'privateId') names.push({ text: '#' + token.value, loc: token.loc.start });
  }
  return names;
}

// Why the names of one packed output do not all map home; null when they do.
function CheckMap(output, map, inputs) {
  const consumer = new SourceMapConsumer(map);
  const contents = new Map();
  consumer.sources.forEach((source, k) => contents.set(source, map.sourcesContent[k].split(/\r\n|\r|\n|\u2028|\u2029/)));
  const names = NamesOf(output);
  if (consumer.sources.length !== inputs.length) return consumer.sources.length + ' sources for ' + inputs.length + ' inputs';
  let wrong = 0;
  let first = '';
  for (const name of names) {
    const at = consumer.originalPositionFor({ line: name.loc.line, column: name.loc.column });
    const expected = at.name || name.text;
    const line = at.source && contents.get(at.source)[at.line - 1];
    const there = line === undefined ? '' : line.substr(at.column, expected.length + 1);
    const stands = there.startsWith(expected) && !/[\w$]/.test(there.charAt(expected.length));
    if (stands) continue;
    ++wrong;
    if (!first) first = `${name.text} at ${name.loc.line}:${name.loc.column} maps to ${at.source}:${at.line}:${at.column} "${there}", not ${expected}`;
  }
  if (names.length < 1000) return 'only ' + names.length + ' names in the output';
  return wrong === 0 ? null : `${wrong} of ${names.length} names map wrongly, e.g. ${first}`;
}

function RunSourceMaps(trimlet, work, report) {
  const modules = path.join(__dirname, '..', 'node_modules');
  let passed = 0;
  let failed = 0;
  const folder = path.join(work, 'sourcemaps');
  fs.mkdirSync(folder, { recursive: true });
  for (const run of kRuns) {
    const inputs = run.inputs.map((input) => path.join(modules, input));
    const output = path.join(folder, 'packed.js');
    const started = Date.now();
    const packed = childProcess.spawnSync(trimlet, ['-q', '-nse', '--source-map', '-o', output, ...inputs], { encoding: 'utf8' });
    let problem = packed.status !== 0 ? 'exit code ' + packed.status + ': ' + packed.stderr : null;
    if (!problem) {
      const text = fs.readFileSync(output, 'utf8');
      const map = JSON.parse(fs.readFileSync(output + '.map', 'utf8'));
      if (!text.endsWith('//# sourceMappingURL=packed.js.map\n')) problem = 'no sourceMappingURL comment at the end';
      problem = problem || CheckMap(text, map, inputs);
    }
    if (problem) {
      ++failed;
      report(`FAIL source map of ${run.label}: ${problem}`);
    } else {
      ++passed;
      report(`source map of ${run.label}: every name maps home (${Date.now() - started} ms)`);
    }
  }
  return { passed, failed };
}

module.exports = { RunSourceMaps };
