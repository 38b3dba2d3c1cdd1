'use strict';
// The conformance run: picks the test files in scope, hands them to a pool of
// workers that pack and run them, prints the summary and writes the report.
//   node lib/main.js --suite DIR --packer PATH [--sample N] [--seed S]
//     [--filter SUBSTR]... [--combos all|none] [--jobs N] [--report FILE]
//     [--pack-timeout MS] [--run-timeout MS] [--keep-work] [--in-process]
const fs = require('fs');
const os = require('os');
const path = require('path');
const { LoadScope } = require('./suite');
const { EvenSample } = require('./sample');
const { COMBOS } = require('./pack');
const { RunPool } = require('./pool');
const { Tally, PrintSummary } = require('./summary');

const USAGE = 'usage: run.sh BUILD_DIR [--sample N] [--seed S] [--filter SUBSTR] [--combos all|none] ' +
  '[--packer PATH [--in-process]] [--jobs N] [--report FILE] [--pack-timeout MS] [--run-timeout MS] [--keep-work]';

function ParseArguments(argv) {
  const args = {
    sample: 0, seed: '262', filters: [], combos: 'all', jobs: os.availableParallelism ? os.availableParallelism() : os.cpus().length,
    packTimeoutMs: 20000, runTimeoutMs: 20000, asyncWaitMs: 3000, keepWork: false, inProcess: false,
  };
  const numeric = { '--sample': 'sample', '--jobs': 'jobs', '--pack-timeout': 'packTimeoutMs', '--run-timeout': 'runTimeoutMs' };
  const text = { '--seed': 'seed', '--combos': 'combos', '--packer': 'packer', '--report': 'report', '--suite': 'suite' };
  for (let i = 0; i < argv.length; ++i) {
    const word = argv[i];
    if (word === '--keep-work') args.keepWork = true;
    else if (word === '--in-process') args.inProcess = true;
    else if (word === '--filter' && i + 1 < argv.length) args.filters.push(argv[++i]);
    else if (numeric[word] && /^\d+$/.test(argv[i + 1] || '')) args[numeric[word]] = Number(argv[++i]);
    else if (text[word] && i + 1 < argv.length) args[text[word]] = argv[++i];
    else throw new Error('bad argument ' + word + '\n' + USAGE);
  }
  if (!['all', 'none'].includes(args.combos)) throw new Error('--combos takes all or none\n' + USAGE);
  if (!args.suite || !args.packer) throw new Error('--suite and --packer are required\n' + USAGE);
  args.jobs = Math.max(1, args.jobs);
  return args;
}

function CheckPacker(packer) {
  try {
    fs.accessSync(packer, fs.constants.X_OK);
  } catch (error) {
    throw new Error('no executable packer at ' + packer);
  }
}

function Matches(args) {
  return (file) => !args.filters.length || args.filters.some((filter) => file.includes(filter));
}

function SelectTests(tests, args) {
  let chosen = tests;
  const selection = [];
  if (args.filters.length) selection.push('matching ' + args.filters.join(' or '));
  if (args.sample && args.sample < chosen.length) {
    selection.push('sample of ' + args.sample + ' of ' + chosen.length + ', seed ' + args.seed);
    chosen = EvenSample(chosen, args.sample, args.seed, (test) => test.file);
  }
  return { chosen, selection: selection.length ? ' (' + selection.join(', ') + ')' : '' };
}

function Progress(total) {
  let done = 0;
  let last = Date.now();
  return () => {
    ++done;
    if (Date.now() - last > 15000 || done === total) {
      last = Date.now();
      process.stderr.write('test262: ' + done + '/' + total + ' files\n');
    }
  };
}

async function Main() {
  const started = Date.now();
  const args = ParseArguments(process.argv.slice(2));
  args.packer = path.resolve(args.packer);
  CheckPacker(args.packer);
  const suiteRoot = path.resolve(args.suite);
  const scope = LoadScope(suiteRoot, Matches(args));
  const { chosen, selection } = SelectTests(scope.tests, args);
  const combos = args.combos === 'all' ? COMBOS : COMBOS.slice(0, 1);
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'trimlet-test262-'));
  const settings = {
    suiteRoot, packer: args.packer, work, combos, inProcess: args.inProcess, keepWork: args.keepWork,
    packTimeoutMs: args.packTimeoutMs, runTimeoutMs: args.runTimeoutMs, asyncWaitMs: args.asyncWaitMs,
  };
  const results = [];
  const tick = Progress(chosen.length);
  await RunPool({
    tests: chosen, jobs: args.jobs, settings,
    onResult: (file, units, broken, step) => { results.push({ file, units, broken, step }); tick(); },
  });
  results.sort((a, b) => (a.file < b.file ? -1 : a.file > b.file ? 1 : 0));
  const comboNames = combos.map((combo) => combo.name);
  const tally = Tally(results, comboNames);
  const plan = { packer: args.packer + (args.inProcess ? ' (in process)' : ''), comboNames, selection };
  const inScope = { inScope: scope.tests.length, leftOut: scope.leftOut, filtered: args.filters.length > 0 };
  if (args.report) {
    fs.writeFileSync(args.report, JSON.stringify({ plan, scope: inScope, counts: tally.counts, results }, null, 1));
    console.log('report: ' + path.resolve(args.report));
  }
  if (args.keepWork) console.log('packed files kept in ' + work);
  else fs.rmSync(work, { recursive: true, force: true });
  PrintSummary({ scope: inScope, plan, tally, elapsedMs: Date.now() - started }, console.log);
  process.exitCode = tally.counts.failed === 0 ? 0 : 1;
}

Main().catch((error) => {
  console.error('test262: ' + error.message);
  process.exitCode = 2;
});
