'use strict';
// Runs the packer on one file and says what it did, by the contract of the
// console program: exit 0 and the output written, or exit 251 with
// "FILE:LINE:COL: error: WHAT" on standard error and no output file.
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const REFUSED_STATUS = 251;

// The option combinations a packed test is run under; "none" is also the one
// whose acceptance or refusal decides the parse phase.
const COMBOS = [
  { name: 'none', flags: [] },
  { name: '-nse', flags: ['-nse'] },
  { name: '-nvc', flags: ['-nvc'] },
  { name: '-nse -nvc', flags: ['-nse', '-nvc'] },
];

function FirstLines(text, count) {
  return text.split('\n').filter((line) => line.trim()).slice(0, count).join(' | ').slice(0, 400);
}

// "in.js:3:14: error: unexpected token" names the input file by its path or name.
function HasErrorMessage(stderr, input) {
  return stderr.split('\n').some((line) => {
    const match = /^(.+?):(\d+):(\d+): error: \S/.exec(line);
    return match !== null && path.basename(match[1]) === path.basename(input);
  });
}

// Returns {outcome, message}: outcome is 'accepted' or 'refused' when the packer
// kept to the contract, and names the breach otherwise.
function Classify(result, input, output) {
  const stderr = result.stderr ? result.stderr.toString('utf8') : '';
  const stdout = result.stdout ? result.stdout.toString('utf8') : '';
  const written = fs.existsSync(output);
  const said = FirstLines(stderr, 3) || FirstLines(stdout, 3);
  if (result.error && result.error.code === 'ETIMEDOUT') return { outcome: 'timeout', message: said };
  if (result.error) return { outcome: 'spawn error (' + result.error.code + ')', message: result.error.message };
  if (result.signal) return { outcome: 'crashed (' + result.signal + ')', message: said };
  if (result.status === 0) {
    return written ? { outcome: 'accepted', message: '' } : { outcome: 'exit 0 without output', message: said };
  }
  if (result.status === REFUSED_STATUS) {
    if (written) return { outcome: 'refused but wrote the output', message: said };
    if (!HasErrorMessage(stderr, input)) return { outcome: 'refused without FILE:LINE:COL: error: message', message: said };
    return { outcome: 'refused', message: FirstLines(stderr, 1) };
  }
  return { outcome: 'exit ' + result.status, message: said };
}

// With inProcess the packer is a node module whose PackCommand(argv) returns
// {status, stderr}: the same command and the same checks, without a process.
function RunInProcess(packer, args) {
  try {
    const { status, stderr } = require(packer).PackCommand(args);
    return { status, signal: null, stdout: '', stderr };
  } catch (error) {
    return { status: 1, signal: null, stdout: '', stderr: String(error && error.stack) };
  }
}

function PackFile(packer, { input, output, combo, kind, timeoutMs, inProcess }) {
  fs.mkdirSync(path.dirname(output), { recursive: true });
  fs.rmSync(output, { force: true });
  const args = [...combo.flags, kind === 'module' ? '--module' : '--script', input, output];
  if (inProcess) return Classify(RunInProcess(packer, args), input, output);
  const result = spawnSync(packer, args, {
    timeout: timeoutMs,
    killSignal: 'SIGKILL',
    stdio: ['ignore', 'pipe', 'pipe'],
    maxBuffer: 4 << 20,
  });
  return Classify(result, input, output);
}

module.exports = { PackFile, COMBOS, Classify };
