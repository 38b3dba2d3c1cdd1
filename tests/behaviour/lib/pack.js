'use strict';
// Runs the console program on files.
const childProcess = require('child_process');
const fs = require('fs');

// The four option combinations every suite runs.
const kCombinations = [
  { label: 'none', args: [] },
  { label: '-nse', args: ['-nse'] },
  { label: '-nvc', args: ['-nvc'] },
  { label: '-nse -nvc', args: ['-nse', '-nvc'] },
];

// Packs `inputs` (one or several files) into `output`; returns null on
// success or a text saying what went wrong.
function PackFiles(trimlet, inputs, output, args) {
  try { fs.unlinkSync(output); } catch (e) { /* not there yet */ }
  const run = childProcess.spawnSync(trimlet, args.concat(inputs, [output]), {
    encoding: 'latin1',
    maxBuffer: 64 * 1024 * 1024,
    timeout: 120000,
  });
  if (run.error) return 'cannot run ' + trimlet + ': ' + run.error.message;
  if (run.status !== 0) {
    const said = (run.stdout + run.stderr).replace(/\s+/g, ' ').slice(-300);
    return 'exit code ' + (run.status === null ? run.signal : run.status) + ': ' + said;
  }
  if (!fs.existsSync(output)) return 'no output written';
  return null;
}

module.exports = { kCombinations, PackFiles };
