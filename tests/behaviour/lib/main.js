'use strict';
// Runs the behaviour suites against one console program:
//   node lib/main.js --trimlet PATH [--work DIR] [--only programs,libraries,fuzz]
//                    (also modern-libraries, modern-modules, modern-programs)
//                    [--fuzz-count N] [--fuzz-seed S]
const fs = require('fs');
const os = require('os');
const path = require('path');

function ParseArguments(argv) {
  const args = { only: 'programs,libraries,fuzz,modern-programs,modern-libraries,modern-modules,modern-fuzz,sourcemaps', fuzzCount: 2000, fuzzSeed: 1 };
  for (let i = 0; i < argv.length; ++i) {
    const word = argv[i];
    const value = argv[i + 1];
    if (word === '--trimlet') { args.trimlet = value; ++i; }
    else if (word === '--work') { args.work = value; ++i; }
    else if (word === '--only') { args.only = value; ++i; }
    else if (word === '--fuzz-count') { args.fuzzCount = Number(value); ++i; }
    else if (word === '--fuzz-seed') { args.fuzzSeed = Number(value); ++i; }
    else throw new Error('unknown argument ' + word);
  }
  if (!args.trimlet) throw new Error('--trimlet PATH is required');
  args.trimlet = path.resolve(args.trimlet);
  args.work = args.work || fs.mkdtempSync(path.join(os.tmpdir(), 'trimlet-behaviour-'));
  fs.mkdirSync(args.work, { recursive: true });
  return args;
}

function Main() {
  const args = ParseArguments(process.argv.slice(2));
  const suites = args.only.split(',');
  const report = (line) => console.log(line);
  let passed = 0;
  let failed = 0;
  const add = (name, result) => {
    console.log(name + ': ' + result.passed + ' passed, ' + result.failed + ' failed');
    passed += result.passed;
    failed += result.failed;
  };
  console.log('work directory: ' + args.work);
  if (suites.includes('programs')) {
    add('programs', require('./programs').RunPrograms(args.trimlet, args.work, report));
  }
  if (suites.includes('libraries')) {
    add('libraries', require('./libraries').RunLibraries(args.trimlet, args.work, report));
  }
  if (suites.includes('modern-libraries')) {
    add('modern-libraries', require('./child-suite').RunSuiteInChild('modern-libraries', args.trimlet, args.work, report));
  }
  if (suites.includes('modern-modules')) {
    add('modern-modules', require('./child-suite').RunSuiteInChild('modern-modules', args.trimlet, args.work, report));
  }
  if (suites.includes('modern-programs')) {
    add('modern-programs', require('./child-suite').RunSuiteInChild('modern-programs', args.trimlet, args.work, report));
  }
  if (suites.includes('fuzz')) {
    add('fuzz', require('./fuzz').RunFuzz(args.trimlet, args.work, args.fuzzCount, args.fuzzSeed, report));
  }
  if (suites.includes('modern-fuzz')) {
    add('modern-fuzz', require('./fuzz').RunFuzz(args.trimlet, args.work, args.fuzzCount, args.fuzzSeed, report, 'modern'));
  }
  if (suites.includes('sourcemaps')) {
    add('sourcemaps', require('./sourcemaps').RunSourceMaps(args.trimlet, args.work, report));
  }
  console.log('behaviour: ' + passed + ' passed, ' + failed + ' failed');
  process.exitCode = failed === 0 ? 0 : 1;
}

Main();
