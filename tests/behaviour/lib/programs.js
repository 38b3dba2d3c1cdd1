'use strict';
// The small-program suite: every program under programs/ is packed with each
// option combination, and the packed program must print what the original
// prints and throw what it throws.
const fs = require('fs');
const path = require('path');
const { kCombinations, PackFiles } = require('./pack');
const { RunProgram } = require('./sandbox');

function FirstDifference(expected, actual) {
  const n = Math.max(expected.length, actual.length);
  for (let i = 0; i < n; ++i) {
    if (expected[i] !== actual[i]) {
      return 'line ' + (i + 1) + ': expected ' + JSON.stringify(expected[i]) +
          ', got ' + JSON.stringify(actual[i]);
    }
  }
  return null;
}

// Returns {passed, failed}; prints one line per failure.
function RunPrograms(trimlet, work, report) {
  const dir = path.join(__dirname, '..', 'programs');
  const names = fs.readdirSync(dir).filter((n) => n.endsWith('.js')).sort();
  let passed = 0;
  let failed = 0;
  for (const name of names) {
    const file = path.join(dir, name);
    const expected = RunProgram(fs.readFileSync(file, 'utf8'), name);
    for (const combination of kCombinations) {
      const output = path.join(work, name.replace(/\.js$/, '') + '.' +
          combination.label.replace(/[ -]+/g, '_') + '.packed.js');
      const packError = PackFiles(trimlet, [file], output, combination.args);
      let problem = packError;
      if (!problem) {
        const actual = RunProgram(fs.readFileSync(output, 'utf8'), output);
        problem = FirstDifference(expected, actual);
      }
      if (problem) {
        ++failed;
        report('FAIL program ' + name + ' [' + combination.label + '] ' + problem + ' (packed: ' + output + ')');
      } else {
        ++passed;
      }
    }
  }
  return { passed, failed };
}

module.exports = { RunPrograms, FirstDifference };
