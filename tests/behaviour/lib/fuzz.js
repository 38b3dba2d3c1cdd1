'use strict';
// The differential fuzzer: random programs from the seeded generator, packed
// in batches (many programs per packer run, through the several-files mode)
// with each option combination, and run before and after packing in fresh
// vm contexts. A difference is confirmed by packing the program alone, then
// shrunk to a small program and written to a file.
//   node lib/fuzz.js --print SEED INDEX   prints one generated program
const acorn = require('acorn');
const fs = require('fs');
const path = require('path');
const { kCombinations, PackFiles } = require('./pack');
const { RunProgram } = require('./sandbox');
const { FirstDifference } = require('./programs');
const { GenerateProgram } = require('./generator');

const kBatch = 100;
const kTimeout = 3000;
const kMaxShrunk = 5;

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

function IsValidProgram(text) {
  try {
    acorn.parse(text, { ecmaVersion: 5 });
    return true;
  } catch (error) {
    return false;
  }
}

// Packs `text` alone; returns null when it behaves the same, else the difference.
function DifferenceAlone(trimlet, dir, text, combination) {
  const input = path.join(dir, 'alone.js');
  const output = path.join(dir, 'alone.packed.js');
  fs.writeFileSync(input, text);
  const expected = RunProgram(text, input, kTimeout);
  const packError = PackFiles(trimlet, [input], output, combination.args);
  if (packError) return { problem: packError, packed: '' };
  const packed = fs.readFileSync(output, 'utf8');
  const problem = FirstDifference(expected, RunProgram(packed, output, kTimeout));
  return problem ? { problem, packed } : null;
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
function Shrink(trimlet, dir, text, combination) {
  let lines = text.split('\n');
  const differs = (candidate) => {
    const joined = candidate.join('\n');
    // An empty text is no program: the packer refuses it, which is no difference.
    return joined.trim() !== '' && IsValidProgram(joined) && DifferenceAlone(trimlet, dir, joined, combination) !== null;
  };
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

function RunFuzz(trimlet, work, count, seed, report) {
  const dir = path.join(work, 'fuzz');
  fs.mkdirSync(dir, { recursive: true });
  const counts = { passed: 0, failed: 0 };
  let shrunk = 0;
  for (let first = 0; first < count; first += kBatch) {
    const indexes = [];
    const files = [];
    const texts = new Map();
    for (let i = first; i < Math.min(count, first + kBatch); ++i) {
      const text = GenerateProgram(ProgramSeed(seed, i));
      const file = path.join(dir, 'p' + i + '.js');
      fs.writeFileSync(file, Marker(i) + '\n' + text);
      indexes.push(i);
      files.push(file);
      texts.set(i, text);
    }
    const expected = new Map(indexes.map((i) => [i, RunProgram(texts.get(i), 'p' + i + '.js', kTimeout)]));
    const failedPrograms = new Set();
    for (const combination of kCombinations) {
      const tag = combination.label.replace(/[ -]+/g, '_');
      const packed = PackBatch(trimlet, dir, files, indexes, combination, tag);
      for (const i of indexes) {
        let problem = null;
        if (packed) {
          problem = FirstDifference(expected.get(i), RunProgram(packed.get(i), 'p' + i + '.packed.js', kTimeout));
        }
        if (!problem && packed) {
          ++counts.passed;
          continue;
        }
        // Confirm alone: a batch that cannot be cut apart, or a difference
        // that only shows in the batch, is reported as such.
        const alone = DifferenceAlone(trimlet, dir, texts.get(i), combination);
        if (!alone && packed) {
          ++counts.failed;
          report('FAIL fuzz seed ' + seed + ' program ' + i + ' [' + combination.label + '] differs only when packed with others: ' + problem);
          continue;
        }
        if (!alone) {
          ++counts.passed;
          continue;
        }
        ++counts.failed;
        if (failedPrograms.has(i)) continue;
        failedPrograms.add(i);
        const name = 'failure-seed' + seed + '-program' + i + '-' + tag;
        let text = texts.get(i);
        let found = alone;
        const shrinking = shrunk < kMaxShrunk;
        if (shrinking) {
          ++shrunk;
          text = Shrink(trimlet, dir, text, combination);
          found = DifferenceAlone(trimlet, dir, text, combination) || alone;
        }
        const file = WriteFailure(work, name, text, combination, found);
        report('FAIL fuzz seed ' + seed + ' program ' + i + ' [' + combination.label + '] ' + found.problem + ' (' + (shrinking ? 'shrunk' : 'whole') + ' program: ' + file + ')');
      }
    }
    for (const file of files) fs.unlinkSync(file);
  }
  return counts;
}

if (require.main === module) {
  const args = process.argv.slice(2);
  if (args[0] === '--print' && args.length === 3) {
    process.stdout.write(GenerateProgram(ProgramSeed(Number(args[1]), Number(args[2]))));
  } else {
    console.error('usage: node lib/fuzz.js --print SEED INDEX');
    process.exitCode = 2;
  }
}

module.exports = { RunFuzz, ProgramSeed };
