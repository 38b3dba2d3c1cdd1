'use strict';
// The differential fuzzer: random programs from a seeded generator (ES5, or
// ES2015+ for the modern suite), packed in batches (many programs per packer
// run, through the several-files mode) with each option combination, and run
// before and after packing in fresh vm contexts. A difference is confirmed by
// packing the program alone, then shrunk to a small program and written to a
// file.
//   node lib/fuzz.js --print SEED INDEX [--modern]   prints one generated program
const acorn = require('acorn');
const fs = require('fs');
const path = require('path');
const { kCombinations, PackFiles } = require('./pack');
const { RunProgram } = require('./sandbox');
const { FirstDifference } = require('./programs');
const { GenerateProgram } = require('./generator');
const { GenerateModernProgram } = require('./generator_modern');

const kBatch = 100;
const kTimeout = 3000;
const kMaxShrunk = 5;
// Failures reported one by one; past these a run only counts them.
const kMaxListed = 20;
// Packer runs one shrink may spend; a modern program has many statements.
const kMaxShrinkChecks = 800;

// The suites: which generator, the language level a shrunk program must
// parse at, and the name that prefixes reports, work folders and files.
const kKinds = {
  es5: { suite: 'fuzz', generate: GenerateProgram, ecmaVersion: 5, files: '' },
  modern: { suite: 'modern-fuzz', generate: GenerateModernProgram, ecmaVersion: 'latest', files: 'modern-' },
};

// Program `index` of run `seed`.
function ProgramSeed(seed, index) {
  return (Math.imul(seed >>> 0, 2654435761) + index) >>> 0;
}

// Each program's file starts with a marker declaration, a global that no
// stage renames, so the batch output can be cut back into programs.
function Marker(index) {
  return 'var __trimlet_fuzz_' + index + '__;';
}

function SplitBatch(packed, indexes) {
  const pieces = packed.split(/var __trimlet_fuzz_(\d+)__;?/);
  if (pieces.length !== 2 * indexes.length + 1 || pieces[0].trim() !== '') return null;
  const result = new Map();
  for (let k = 0; k < indexes.length; ++k) {
    if (Number(pieces[1 + 2 * k]) !== indexes[k]) return null;
    result.set(indexes[k], pieces[2 + 2 * k]);
  }
  return result;
}

function Parse(text, ecmaVersion) {
  try {
    return acorn.parse(text, { ecmaVersion, sourceType: 'script' });
  } catch (error) {
    return null;
  }
}

// Packs `text` alone; returns null when it behaves the same, else the
// difference, and whether the unpacked program ends by throwing. `known` is
// what the unpacked program does, when that is known already.
function DifferenceAlone(trimlet, dir, text, combination, known) {
  const input = path.join(dir, 'alone.js');
  const output = path.join(dir, 'alone.packed.js');
  fs.writeFileSync(input, text);
  const expected = known || RunProgram(text, input, kTimeout);
  const throws = expected.length > 0 && expected[expected.length - 1].startsWith('!! ');
  const packError = PackFiles(trimlet, [input], output, combination.args);
  if (packError) return { problem: packError, packed: '', throws };
  const packed = fs.readFileSync(output, 'utf8');
  const problem = FirstDifference(expected, RunProgram(packed, output, kTimeout));
  return problem ? { problem, packed, throws } : null;
}

// Whether a shrink candidate is worth keeping: it parses, still differs after
// packing, and does not start throwing where the program it came from did not
// (cutting a declaration makes every later use throw, a different program).
// An empty text is no program: the packer refuses it, which is no difference.
function Differs(trimlet, dir, combination, ecmaVersion, throwsBefore) {
  let budget = kMaxShrinkChecks;
  return (text) => {
    if (text.trim() === '' || budget <= 0 || !Parse(text, ecmaVersion)) return false;
    --budget;
    const found = DifferenceAlone(trimlet, dir, text, combination);
    return found !== null && (throwsBefore || !found.throws);
  };
}

// The line that closes the block opened at the end of line `open`: the next
// line at the same indentation that starts with "}" (the generator indents so).
function BlockEnd(lines, open) {
  const indent = /^\s*/.exec(lines[open])[0];
  for (let k = open + 1; k < lines.length; ++k) {
    if (lines[k].startsWith(indent + '}')) return k;
    if (lines[k].trim() !== '' && !lines[k].startsWith(indent + ' ') && !lines[k].startsWith(indent + '}')) return -1;
  }
  return -1;
}

// Removes whole blocks, then unwraps them, then chunks of lines, while the
// program stays valid and still differs after packing.
function ShrinkLines(text, differsText) {
  let lines = text.split('\n');
  const differs = (candidate) => differsText(candidate.join('\n'));
  const tryEach = (makeCandidate) => {
    let changed = false;
    for (let i = 0; i < lines.length; ++i) {
      const candidate = makeCandidate(i);
      if (candidate && differs(candidate)) {
        lines = candidate;
        changed = true;
        --i;
      }
    }
    return changed;
  };
  const blocks = (i, keepBody) => {
    if (!/\{\s*$/.test(lines[i])) return null;
    const end = BlockEnd(lines, i);
    if (end < 0) return null;
    const body = keepBody ? lines.slice(i + 1, end) : [];
    return lines.slice(0, i).concat(body, lines.slice(end + 1));
  };
  for (let round = 0; round < 4; ++round) {
    let changed = tryEach((i) => blocks(i, false));
    changed = tryEach((i) => blocks(i, true)) || changed;
    for (let size = Math.max(1, lines.length >> 1); size >= 1; size = size >> 1) {
      changed = tryEach((i) => (i % size === 0 ? lines.slice(0, i).concat(lines.slice(i + size)) : null)) || changed;
    }
    if (!changed) break;
  }
  return lines.join('\n');
}

// A block's or compound statement's body, as text that can stand in its place.
function BodyText(text, node) {
  const body = node.type === 'BlockStatement' || node.type === 'StaticBlock' ? node
    : node.type === 'TryStatement' ? node.block
      : node.type === 'IfStatement' ? node.consequent : node.body;
  if (!body || typeof body.type !== 'string') return null;
  return body.type === 'BlockStatement' ? text.slice(body.start + 1, body.end - 1) : text.slice(body.start, body.end);
}

const kUnwrapped = new Set(['BlockStatement', 'IfStatement', 'ForStatement', 'ForInStatement', 'ForOfStatement',
  'WhileStatement', 'DoWhileStatement', 'LabeledStatement', 'TryStatement']);

// What one syntax-aware shrink step may do to `text`, outermost first: cut a
// statement out of its list (program, block, function body, static block,
// switch case) or an element out of a class body, or put a block or compound
// statement's body in its place. Works where lines do not: in multi-line
// templates, and on statements that share a line.
function ShrinkSteps(text, ecmaVersion) {
  const ast = Parse(text, ecmaVersion);
  if (!ast) return [];
  const cuts = [];
  const unwraps = [];
  const visit = (node) => {
    const list = node.type === 'SwitchCase' ? node.consequent : Array.isArray(node.body) ? node.body : null;
    for (const child of list || []) {
      cuts.push({ start: child.start, end: child.end, text: '' });
      const body = kUnwrapped.has(child.type) ? BodyText(text, child) : null;
      if (body !== null) unwraps.push({ start: child.start, end: child.end, text: body });
    }
    for (const key of Object.keys(node)) {
      const value = node[key];
      for (const item of Array.isArray(value) ? value : [value]) {
        if (item && typeof item.type === 'string') visit(item);
      }
    }
  };
  visit(ast);
  return cuts.concat(unwraps);
}

function ShrinkSyntax(text, ecmaVersion, differs) {
  for (let round = 0; round < 4; ++round) {
    let changed = false;
    for (let k = 0; ; ++k) {
      const steps = ShrinkSteps(text, ecmaVersion);
      if (k >= steps.length) break;
      const step = steps[k];
      const candidate = text.slice(0, step.start) + step.text + text.slice(step.end);
      if (differs(candidate)) {
        text = candidate;
        changed = true;
        --k;
      }
    }
    if (!changed) break;
  }
  return text;
}

// Shrinks a program that differs after packing: ES5 programs by lines and the
// blocks their indentation shows, modern ones by syntax first, then by lines.
function Shrink(trimlet, dir, text, combination, kind) {
  const start = DifferenceAlone(trimlet, dir, text, combination);
  const differs = Differs(trimlet, dir, combination, kind.ecmaVersion, start !== null && start.throws);
  if (kind.ecmaVersion !== 5) text = ShrinkSyntax(text, kind.ecmaVersion, differs);
  return ShrinkLines(text, differs);
}

function WriteFailure(dir, name, text, combination, found) {
  const file = path.join(dir, name + '.js');
  fs.writeFileSync(file, text);
  fs.writeFileSync(path.join(dir, name + '.packed.js'), found.packed);
  fs.writeFileSync(path.join(dir, name + '.txt'), 'options: ' + combination.label + '\n' + found.problem + '\n');
  return file;
}

// Packs one batch with one combination; returns index -> packed text, or
// null when the batch output cannot be cut back into programs.
function PackBatch(trimlet, dir, files, indexes, combination, tag) {
  const output = path.join(dir, 'batch.' + tag + '.packed.js');
  if (PackFiles(trimlet, files, output, combination.args)) return null;
  return SplitBatch(fs.readFileSync(output, 'utf8'), indexes);
}

// A program that goes wrong after packing may leave a rejected promise no one
// handles; it shows in what the program prints, and must not end this process.
function IgnoreStrayRejections() {
  if (!process.listeners('unhandledRejection').includes(IgnoreRejection)) process.on('unhandledRejection', IgnoreRejection);
}

function IgnoreRejection() {}

// Writes programs first..first+kBatch-1 to files (each after its marker) and
// runs each unpacked.
function WriteBatch(kind, dir, seed, first, count) {
  const batch = { indexes: [], files: [], texts: new Map(), expected: new Map() };
  for (let i = first; i < Math.min(count, first + kBatch); ++i) {
    const text = kind.generate(ProgramSeed(seed, i));
    const file = path.join(dir, 'p' + i + '.js');
    fs.writeFileSync(file, Marker(i) + '\n' + text);
    batch.indexes.push(i);
    batch.files.push(file);
    batch.texts.set(i, text);
    batch.expected.set(i, RunProgram(text, 'p' + i + '.js', kTimeout));
  }
  return batch;
}

// Confirms a difference of program `i` by packing it alone, then reports it
// (up to kMaxListed): shrunk (the first kMaxShrunk) and written to a file. A
// difference that only shows in the batch is reported as such; when the batch
// could not be cut apart (`problem` is null), packing alone decides.
function ConfirmFailure(run, batch, i, combination, problem) {
  const { trimlet, work, dir, kind, seed, counts } = run;
  const label = 'FAIL ' + kind.suite + ' seed ' + seed + ' program ' + i + ' [' + combination.label + '] ';
  const alone = DifferenceAlone(trimlet, dir, batch.texts.get(i), combination, batch.expected.get(i));
  if (!alone && !problem) {
    ++counts.passed;
    return;
  }
  ++counts.failed;
  if (run.listed >= kMaxListed) {
    ++run.unlisted;
    return;
  }
  if (!alone) {
    ++run.listed;
    run.report(label + 'differs only when packed with others: ' + problem);
    return;
  }
  if (batch.failed.has(i)) {
    ++run.unlisted;
    return;
  }
  batch.failed.add(i);
  ++run.listed;
  let text = batch.texts.get(i);
  let found = alone;
  const shrinking = run.shrunk < kMaxShrunk;
  if (shrinking) {
    ++run.shrunk;
    text = Shrink(trimlet, dir, text, combination, kind);
    found = DifferenceAlone(trimlet, dir, text, combination) || alone;
  }
  const tag = combination.label.replace(/[ -]+/g, '_');
  const file = WriteFailure(work, 'failure-' + kind.files + 'seed' + seed + '-program' + i + '-' + tag, text, combination, found);
  run.report(label + found.problem + ' (' + (shrinking ? 'shrunk' : 'whole') + ' program: ' + file + ')');
}

// Runs `count` programs of the generator `kindName` ('es5' or 'modern') with
// each option combination. Past kMaxListed reported failures, a difference
// seen in a batch is only counted: a packer that breaks every program would
// otherwise spend minutes packing each alone to show what the first ones did.
function RunFuzz(trimlet, work, count, seed, report, kindName = 'es5') {
  const kind = kKinds[kindName];
  const dir = path.join(work, kind.suite);
  fs.mkdirSync(dir, { recursive: true });
  if (kindName === 'modern') IgnoreStrayRejections();
  const run = { trimlet, work, dir, kind, seed, report, counts: { passed: 0, failed: 0 }, listed: 0, unlisted: 0, shrunk: 0 };
  for (let first = 0; first < count; first += kBatch) {
    const batch = WriteBatch(kind, dir, seed, first, count);
    batch.failed = new Set();
    for (const combination of kCombinations) {
      const tag = combination.label.replace(/[ -]+/g, '_');
      const packed = PackBatch(trimlet, dir, batch.files, batch.indexes, combination, tag);
      for (const i of batch.indexes) {
        const problem = packed ? FirstDifference(batch.expected.get(i), RunProgram(packed.get(i), 'p' + i + '.packed.js', kTimeout)) : null;
        if (packed && !problem) {
          ++run.counts.passed;
        } else if (packed && run.listed >= kMaxListed) {
          ++run.counts.failed;
          ++run.unlisted;
        } else {
          ConfirmFailure(run, batch, i, combination, problem);
        }
      }
    }
    for (const file of batch.files) fs.unlinkSync(file);
  }
  if (run.unlisted) report('FAIL ' + kind.suite + ' seed ' + seed + ': ' + run.unlisted + ' more differences, not listed');
  return run.counts;
}

if (require.main === module) {
  const args = process.argv.slice(2);
  const modern = args[3] === '--modern';
  if (args[0] === '--print' && (args.length === 3 || (args.length === 4 && modern))) {
    process.stdout.write(kKinds[modern ? 'modern' : 'es5'].generate(ProgramSeed(Number(args[1]), Number(args[2]))));
  } else {
    console.error('usage: node lib/fuzz.js --print SEED INDEX [--modern]');
    process.exitCode = 2;
  }
}

module.exports = { RunFuzz, ProgramSeed };
