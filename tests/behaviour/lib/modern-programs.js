'use strict';
// The modern-program suite: every program under programs-modern/ is packed
// with each option combination and run, original and packed, by a fresh
// node (lib/host.js): scripts in a new vm context, modules (.mjs, or .js with
// top-level import/export) imported as modules. Each combination's files go
// to a folder of their own under their own names, so a module can import
// itself. The packed program must print what the original prints and throw
// what it throws.
const fs = require('fs');
const path = require('path');
const { kCombinations } = require('./pack');
const { PackFilesAsync, MapParallel, RunInHost } = require('./pack-async');
const { FirstDifference } = require('./programs');
const { SyntaxFeatures } = require('./syntax-features');

const kSource = path.join(__dirname, '..', 'programs-modern');

function GoalOf(name, text) {
  if (name.endsWith('.mjs')) return 'module';
  try {
    const features = SyntaxFeatures(text, true);
    return features.includes('import') || features.includes('export') ? 'module' : 'script';
  } catch (error) {
    return 'script';  // sloppy-only syntax: not a module
  }
}

// A folder per combination; its package.json makes .js modules load as
// modules (scripts run from their text, whatever the folder says). It is
// written once: the programs run in parallel, and node reading it while it
// is written again would find it empty.
function FolderFor(root, label) {
  const dir = path.join(root, label.replace(/[ -]+/g, '_'));
  fs.mkdirSync(dir, { recursive: true });
  const json = path.join(dir, 'package.json');
  if (!fs.existsSync(json)) fs.writeFileSync(json, '{"type": "module"}\n');
  return dir;
}

// The original must run: a program node rejects tests nothing.
function OriginalProblem(run, goal) {
  if (run.problem) return run.problem;
  const first = run.lines[0] || '';
  if (first.startsWith('!! does not compile') || (goal === 'module' && first.startsWith('!! throws SyntaxError'))) return first;
  return null;
}

async function CompareProgram(trimlet, name, root, report, counts) {
  const source = path.join(kSource, name);
  const goal = GoalOf(name, fs.readFileSync(source, 'utf8'));
  const original = path.join(FolderFor(root, 'original'), name);
  fs.copyFileSync(source, original);
  const expected = await RunInHost(['program', original, goal]);
  const broken = OriginalProblem(expected, goal);
  if (broken) {
    ++counts.failed;
    report('FAIL modern program ' + name + ': the original does not run: ' + broken);
    return;
  }
  for (const combination of kCombinations) {
    const output = path.join(FolderFor(root, combination.label), name);
    let problem = await PackFilesAsync(trimlet, [source], output, combination.args);
    if (!problem) {
      const actual = await RunInHost(['program', output, goal]);
      problem = actual.problem || FirstDifference(expected.lines, actual.lines);
    }
    if (problem) {
      ++counts.failed;
      report('FAIL modern program ' + name + ' (' + goal + ') [' + combination.label + '] ' + problem + ' (packed: ' + output + ')');
    } else {
      ++counts.passed;
    }
  }
}

async function RunModernPrograms(trimlet, work, report) {
  const counts = { passed: 0, failed: 0 };
  const root = path.join(work, 'modern-programs');
  const names = fs.readdirSync(kSource).filter((n) => /\.m?js$/.test(n)).sort();
  const started = Date.now();
  await MapParallel(names, (name) => CompareProgram(trimlet, name, root, report, counts));
  console.log('modern programs: ' + names.length + ' programs in ' + ((Date.now() - started) / 1000).toFixed(1) + ' s');
  return counts;
}

module.exports = { RunModernPrograms };
