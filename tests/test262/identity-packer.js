#!/usr/bin/env -S node --experimental-vm-modules --no-warnings
'use strict';
// A stand-in for the console program with its command line and exit contract,
// to check the conformance harness without it: it "packs" by copying INPUT to
// OUTPUT, after node's own parser accepts the input.
//   identity-packer.js [-nse] [-nvc] [--module|--script] INPUT OUTPUT
// Invalid input: exit 251, "INPUT:LINE:COL: error: WHAT" on standard error and
// no output. Without --module or --script a file is a module when its name ends
// in .mjs, or when it parses only as a module (top-level import or export).
const fs = require('fs');
const vm = require('vm');

const REFUSED = 251;
const USAGE = 'usage: identity-packer.js [-nse] [-nvc] [--module|--script] INPUT OUTPUT';

function ParseArguments(argv) {
  const args = { kind: 'auto', files: [] };
  for (const word of argv) {
    if (word === '-nse' || word === '-nvc') continue;
    if (word === '--module') args.kind = 'module';
    else if (word === '--script') args.kind = 'script';
    else if (word.startsWith('-')) throw new Error('unknown option ' + word);
    else args.files.push(word);
  }
  if (args.files.length !== 2) throw new Error('INPUT and OUTPUT are required');
  return args;
}

// A script's syntax error says where it is in its stack:
//   "in.js:3\n  let x; let x;\n             ^\n\nSyntaxError: ..."
// A module's does not; it is then placed at 1:1.
function Position(error, file) {
  const lines = String(error.stack).split('\n');
  const head = lines[0].startsWith(file + ':') ? /:(\d+)$/.exec(lines[0]) : null;
  if (!head) return { line: 1, column: 1 };
  const caret = lines[2] ? lines[2].indexOf('^') : -1;
  return { line: Number(head[1]), column: caret >= 0 ? caret + 1 : 1 };
}

function Parse(text, file, kind) {
  if (kind === 'module') new vm.SourceTextModule(text, { identifier: file });
  else new vm.Script(text, { filename: file });
}

// Returns the first syntax error of the input read as `kind`, or null.
function SyntaxErrorOf(text, file, kind) {
  try {
    if (kind !== 'auto') Parse(text, file, kind);
    else if (file.endsWith('.mjs')) Parse(text, file, 'module');
    else {
      try {
        Parse(text, file, 'script');
      } catch (error) {
        try { Parse(text, file, 'module'); } catch (moduleError) { throw error; }
      }
    }
    return null;
  } catch (error) {
    if (!(error instanceof SyntaxError)) throw error;
    return error;
  }
}

// The whole command, minus the process: returns {status, stderr}, so that the
// harness can also run it inside its workers (--in-process), where starting a
// node per file would cost more than the rest of the run.
function PackCommand(argv) {
  let args;
  try {
    args = ParseArguments(argv);
  } catch (error) {
    return { status: 2, stderr: error.message + '\n' + USAGE + '\n' };
  }
  const [input, output] = args.files;
  const text = fs.readFileSync(input, 'utf8');
  const error = SyntaxErrorOf(text, input, args.kind);
  if (error) {
    const { line, column } = Position(error, input);
    return { status: REFUSED, stderr: input + ':' + line + ':' + column + ': error: ' + error.message + '\n' };
  }
  fs.copyFileSync(input, output);
  return { status: 0, stderr: '' };
}

if (require.main === module) {
  const { status, stderr } = PackCommand(process.argv.slice(2));
  process.stderr.write(stderr);
  process.exitCode = status;
} else {
  module.exports = { PackCommand };
}
