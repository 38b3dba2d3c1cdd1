'use strict';
// The modern-library suite: builds of libraries written in the current
// language, as their packages ship them, are loaded original and packed into
// fresh realms, and their exercisers' calls (awaited when they return
// promises) must agree call for call. Forms: each library alone, and a group
// of scripts packed into one output by the several-files mode.
const { Compare } = require('./libraries');
const fs = require('fs');
const path = require('path');
const { kCombinations } = require('./pack');
const { PackFilesAsync, MapParallel } = require('./pack-async');
const { NewRealm, LoadScript } = require('./realm');
const { NewRecorder, DescribeError } = require('./recorder');
const { SyntaxFeatures, UsesModernSyntax } = require('./syntax-features');

const kRoot = path.join(__dirname, '..');
const kModules = path.join(kRoot, 'node_modules');

// name (also the exerciser's file name), the file as shipped, how it
// publishes its API (a global name, or module.exports for CommonJS) and the
// realm it runs in: 'plain' vm context, 'dom' page, or 'node' itself.
const kLibraries = [
  { name: 'vue3', file: 'vue3/dist/vue.global.js', global: 'Vue', realm: 'dom' },
  { name: 'd3-7', file: 'd3-7/dist/d3.js', global: 'd3', realm: 'dom' },
  { name: 'three', file: 'three/build/three.cjs', commonjs: true, realm: 'plain' },
  { name: 'immer', file: 'immer/dist/cjs/immer.cjs.development.js', commonjs: true, realm: 'node' },
  { name: 'marked', file: 'marked/lib/marked.umd.js', global: 'marked', realm: 'plain' },
  { name: 'chartjs', file: 'chart.js/dist/chart.umd.js', global: 'Chart', realm: 'plain' },
  { name: 'highlightjs', file: '@highlightjs/cdn-assets/highlight.js', global: 'hljs', realm: 'plain' },
  { name: 'axios', file: 'axios/dist/node/axios.cjs', commonjs: true, realm: 'node' },
  { name: 'zod', file: 'zod/lib/index.umd.js', commonjs: true, realm: 'node' },
  { name: 'katex', file: 'katex/dist/katex.js', global: 'katex', realm: 'plain' },
];

// Scripts packed together into one output and loaded into one realm; their
// globals do not collide.
const kGroups = [['d3-7', 'marked', 'highlightjs']];

function LibraryNamed(name) {
  return kLibraries.find((l) => l.name === name);
}

function ExerciserOf(name) {
  return require(path.join(kRoot, 'exercisers', name + '.js'));
}

// Loads `scripts` into one fresh realm and runs the exercisers of `members`;
// resolves one line per call, then the console lines the code wrote.
async function Exercise(members, scripts, realmKind) {
  const consoleLines = [];
  const realm = NewRealm(realmKind, consoleLines);
  const recorder = NewRecorder();
  const loaded = scripts.map((script) => {
    const outcome = LoadScript(realm, script);
    if (outcome.error) recorder.note('load ' + path.basename(script.file) + ' ' + outcome.error);
    return outcome;
  });
  for (let i = 0; i < members.length; ++i) {
    const member = members[i];
    const record = (label, call) => recorder.record(member.name + ' ' + label, call);
    try {
      const api = member.commonjs ? loaded[i].exports : realm.global[member.global];
      await ExerciserOf(member.name)(api, record, realm.global);
    } catch (error) {
      recorder.note(member.name + ' exerciser stopped: ' + DescribeError(error));
    }
  }
  const lines = await recorder.Lines();
  realm.close();
  return lines.concat(consoleLines.map((line) => 'console: ' + line));
}

// Puts a packed file's load error ahead of the differing calls it causes.
function LoadProblem(actual) {
  const load = actual.find((line) => line.startsWith('load '));
  return load ? load.slice(0, 300) + '; ' : '';
}

function ScriptOf(library, file) {
  const origin = path.join(kModules, library.file);
  return { file, origin, text: fs.readFileSync(file, 'utf8'), commonjs: library.commonjs };
}

// Compares the original members with each packed form; `outputFor` names
// the packed file of a combination.
async function CompareForm(label, members, outputFor, trimlet, report, counts) {
  const inputs = members.map((m) => path.join(kModules, m.file));
  const realmKind = members[0].realm;
  const expected = await Exercise(members, members.map((m, i) => ScriptOf(m, inputs[i])), realmKind);
  const broken = expected.find((line) => line.startsWith('load ') || / exerciser stopped: /.test(line));
  if (broken) {
    ++counts.failed;
    report('FAIL modern library ' + label + ': the original does not run: ' + broken.slice(0, 300));
    return expected.length;
  }
  const packErrors = await MapParallel(kCombinations, (combination) =>
    PackFilesAsync(trimlet, inputs, outputFor(combination), combination.args));
  for (let c = 0; c < kCombinations.length; ++c) {
    let problem = packErrors[c];
    if (!problem) {
      const packed = { file: outputFor(kCombinations[c]), origin: inputs[0], commonjs: members[0].commonjs };
      packed.text = fs.readFileSync(packed.file, 'utf8');
      const actual = await Exercise(members, [packed], realmKind);
      problem = Compare(expected, actual);
      if (problem) problem = LoadProblem(actual) + problem;
    }
    if (problem) {
      ++counts.failed;
      report('FAIL modern library ' + label + ' [' + kCombinations[c].label + '] ' + problem);
    } else {
      ++counts.passed;
    }
  }
  return expected.length;
}

// A pinned build that turned out to be ES5 would test nothing new.
function CheckModernSyntax(library, report, counts) {
  const file = path.join(kModules, library.file);
  try {
    const features = SyntaxFeatures(fs.readFileSync(file, 'utf8'), false);
    if (UsesModernSyntax(features)) return features.join(', ');
    report('FAIL modern library ' + library.name + ': ' + library.file + ' uses no syntax newer than ES5');
  } catch (error) {
    report('FAIL modern library ' + library.name + ': ' + library.file + ' does not parse: ' + error.message);
  }
  ++counts.failed;
  return 'none';
}

async function RunModernLibraries(trimlet, work, report) {
  const counts = { passed: 0, failed: 0 };
  const dir = path.join(work, 'modern-libraries');
  fs.mkdirSync(dir, { recursive: true });
  const outName = (label, combination, ext) =>
    path.join(dir, label.replace(/[^\w]+/g, '_') + '.' + combination.label.replace(/[ -]+/g, '_') + '.packed' + ext);
  for (const library of kLibraries) {
    const started = Date.now();
    const features = CheckModernSyntax(library, report, counts);
    const ext = path.extname(library.file);
    const calls = await CompareForm(library.name, [library], (c) => outName(library.name, c, ext), trimlet, report, counts);
    console.log('modern library ' + library.name + ': ' + calls + ' calls compared in ' +
        ((Date.now() - started) / 1000).toFixed(1) + ' s; uses ' + features);
  }
  for (const names of kGroups) {
    const label = names.join('+');
    await CompareForm(label + ' packed together', names.map(LibraryNamed), (c) => outName(label, c, '.js'), trimlet, report, counts);
  }
  return counts;
}

module.exports = { RunModernLibraries, Exercise, Compare, kLibraries };
