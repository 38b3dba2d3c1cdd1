'use strict';
// The module suite: packages shipped as ES modules are laid out as module
// trees in the work directory, once as shipped and once per option
// combination with every file packed on its own with --module, and each tree
// is imported natively by a fresh node (lib/host.js) and exercised through
// its exports. The packed trees must answer call for call as the original.
// lodash-es, 644 files, is packed once, the combination changing from file
// to file: each combination still packs a quarter of it, and an importer
// packed one way must still find the names a module packed another way
// exports.
const fs = require('fs');
const path = require('path');
const { kCombinations } = require('./pack');
const { PackFilesAsync, MapParallel, RunInHost } = require('./pack-async');
const { Compare } = require('./modern-libraries');
const { SyntaxFeatures } = require('./syntax-features');

const kModules = path.join(__dirname, '..', 'node_modules');

// package folder, the files of the tree (relative to it), the entry module
// (or several, by key), the exerciser and whether it needs a page.
const kTrees = [
  { name: 'lodash-es', package: 'lodash-es', files: 'every .js', entry: 'lodash.js', exerciser: 'lodash-es', rotate: true },
  { name: 'preact+hooks', package: 'preact', files: ['dist/preact.mjs', 'hooks/dist/hooks.mjs', 'jsx-runtime/dist/jsxRuntime.mjs', 'test-utils/dist/testUtils.mjs'],
    entries: { preact: 'dist/preact.mjs', hooks: 'hooks/dist/hooks.mjs', jsx: 'jsx-runtime/dist/jsxRuntime.mjs', utils: 'test-utils/dist/testUtils.mjs' },
    exerciser: 'preact', dom: true },
  { name: 'immer', package: 'immer', files: ['dist/immer.mjs'], entry: 'dist/immer.mjs', exerciser: 'immer' },
  { name: 'marked', package: 'marked', files: ['lib/marked.esm.js'], entry: 'lib/marked.esm.js', exerciser: 'marked' },
  { name: 'zod', package: 'zod', files: ['lib/index.mjs'], entry: 'lib/index.mjs', exerciser: 'zod' },
  { name: 'vue3', package: 'vue3', files: ['dist/vue.esm-browser.js'], entry: 'dist/vue.esm-browser.js', exerciser: 'vue3', dom: true },
  { name: 'three', package: 'three', files: ['build/three.module.js', 'build/three.core.js'], entry: 'build/three.module.js', exerciser: 'three' },
];

function FilesOf(tree) {
  if (Array.isArray(tree.files)) return tree.files;
  return fs.readdirSync(path.join(kModules, tree.package)).filter((name) => name.endsWith('.js')).sort();
}

// The package's own package.json goes along (its "exports" resolve bare
// imports such as "preact" from the hooks), marked as modules throughout.
function WritePackageJson(tree, dir) {
  const json = JSON.parse(fs.readFileSync(path.join(kModules, tree.package, 'package.json'), 'utf8'));
  json.type = 'module';
  fs.writeFileSync(path.join(dir, 'package.json'), JSON.stringify(json, null, 2));
}

function CopyTree(tree, files, dir) {
  for (const file of files) {
    fs.mkdirSync(path.dirname(path.join(dir, file)), { recursive: true });
    fs.copyFileSync(path.join(kModules, tree.package, file), path.join(dir, file));
  }
  WritePackageJson(tree, dir);
}

// Packs every file of the tree into `dir`, file i with combinations[i mod
// their count]; resolves null or what failed.
async function PackTree(trimlet, tree, files, dir, combinations) {
  const errors = await MapParallel(files, (file, i) => {
    fs.mkdirSync(path.dirname(path.join(dir, file)), { recursive: true });
    const combination = combinations[i % combinations.length];
    return PackFilesAsync(trimlet, [path.join(kModules, tree.package, file)], path.join(dir, file), ['--module'].concat(combination.args));
  });
  WritePackageJson(tree, dir);
  const failed = files.map((file, i) => [file + ' [' + combinations[i % combinations.length].label + ']', errors[i]]).filter(([, error]) => error);
  if (failed.length === 0) return null;
  return failed.length + ' of ' + files.length + ' files did not pack; first ' + failed[0][0] + ': ' + failed[0][1];
}

async function ExerciseTree(tree, dir, work) {
  const job = { exerciser: tree.exerciser, dom: Boolean(tree.dom) };
  if (tree.entry) job.entry = path.join(dir, tree.entry);
  else job.entries = Object.fromEntries(Object.entries(tree.entries).map(([key, file]) => [key, path.join(dir, file)]));
  const jobFile = path.join(work, 'job.' + path.basename(path.dirname(path.dirname(dir))) + '.' + tree.name.replace(/\W+/g, '_') + '.json');
  fs.writeFileSync(jobFile, JSON.stringify(job));
  return RunInHost(['modules', jobFile]);
}

function FeaturesOf(tree, files) {
  const found = new Set();
  for (const file of files) {
    for (const feature of SyntaxFeatures(fs.readFileSync(path.join(kModules, tree.package, file), 'utf8'), true)) found.add(feature);
  }
  return Array.from(found).sort().join(', ');
}

async function CompareTree(trimlet, tree, root, report, counts) {
  const files = FilesOf(tree);
  const treeDir = (label) => path.join(root, label.replace(/[ -]+/g, '_'), 'node_modules', tree.package);
  const originalDir = treeDir('original');
  CopyTree(tree, files, originalDir);
  const expected = await ExerciseTree(tree, originalDir, root);
  const broken = expected.problem || expected.lines.find((line) => line.startsWith('stopped: ') || line.startsWith('!! '));
  if (broken) {
    ++counts.failed;
    report('FAIL modern module ' + tree.name + ': the original does not run: ' + broken.slice(0, 300));
    return 0;
  }
  const forms = tree.rotate ? [{ label: 'rotating', combinations: kCombinations }]
    : kCombinations.map((combination) => ({ label: combination.label, combinations: [combination] }));
  // Two forms at a time, each packing two files at a time.
  const problems = await MapParallel(forms, async (form) => {
    const dir = treeDir(form.label);
    const problem = await PackTree(trimlet, tree, files, dir, form.combinations);
    if (problem) return problem;
    const actual = await ExerciseTree(tree, dir, root);
    return actual.problem || Compare(expected.lines, actual.lines);
  });
  forms.forEach((form, c) => {
    if (problems[c]) {
      ++counts.failed;
      report('FAIL modern module ' + tree.name + ' [--module ' + form.label + '] ' + problems[c] + ' (tree: ' + treeDir(form.label) + ')');
    } else {
      ++counts.passed;
    }
  });
  return expected.lines.length;
}

async function RunModernModules(trimlet, work, report) {
  const counts = { passed: 0, failed: 0 };
  const root = path.join(work, 'modern-modules');
  for (const tree of kTrees) {
    const started = Date.now();
    const calls = await CompareTree(trimlet, tree, root, report, counts);
    console.log('modern module ' + tree.name + ': ' + FilesOf(tree).length + ' files, ' + calls + ' calls compared in ' +
        ((Date.now() - started) / 1000).toFixed(1) + ' s; uses ' + FeaturesOf(tree, FilesOf(tree)));
  }
  return counts;
}

module.exports = { RunModernModules };
