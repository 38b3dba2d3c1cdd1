#!/usr/bin/env node
// Runs trimlet and its peers side by side on the same inputs and writes a
// markdown report. Every figure is the median of whole-process runs taken in
// turn within one invocation (trimlet, then each peer, then trimlet again...),
// so the ratios hold on a busy machine even when the absolute times do not.
//
//   node bench.js --trimlet build/bench-release/cli/trimlet [--inputs corpus,10mb,50mb,modern,...]
//                 [--runs 5] [--warmup 1] [--modes ws,rename,full] [--tools trimlet,esbuild,...]
//                 [--out bench/results] [--no-check]
//   node bench.js --from-json bench/results/results.json     the report again, from saved results
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const vm = require('vm');

const benchDir = __dirname;
const modulesDir = path.join(benchDir, 'node_modules');
const MB = 1e6;

// Each mode pairs one trimlet configuration with the peers' nearest equivalents.
const MODES = [
  {
    id: 'ws', title: 'whitespace only', trimlet: ['-nse', '-nvc'],
    peers: [
      {tool: 'esbuild', args: ['--minify-whitespace']},
      {tool: 'terser', args: []},
      {tool: 'uglify-js', args: []},
      {tool: 'jsmin', args: []},
    ],
  },
  {
    id: 'rename', title: 'renaming', trimlet: ['-nse'],
    peers: [
      {tool: 'esbuild', args: ['--minify-whitespace', '--minify-identifiers']},
      {tool: 'terser', args: ['-m']},
      {tool: 'uglify-js', args: ['-m']},
    ],
  },
  {
    id: 'full', title: 'defaults', trimlet: [],
    peers: [{tool: 'esbuild', args: ['--minify']}],
  },
];

const TOOLS = ['trimlet', 'esbuild', 'terser', 'uglify-js', 'jsmin'];

function usage(message) {
  if (message) process.stderr.write(`bench.js: ${message}\n`);
  process.stderr.write(
      'usage: node bench.js --trimlet PATH [--inputs corpus,10mb,50mb,modern,modern10mb,modern50mb,FILE...]\n' +
      '       [--runs N] [--warmup N] [--modes ws,rename,full] [--tools trimlet,esbuild,terser,uglify-js,jsmin]\n' +
      '       [--out DIR] [--no-check]\n' +
      '       node bench.js --from-json results.json [--out DIR]   (the report again from saved results)\n');
  process.exit(2);
}

function parseArguments(argv) {
  const options = {
    trimlet: null, inputs: ['corpus', '10mb', '50mb'], runs: 5, warmup: 1,
    modes: MODES.map((m) => m.id), tools: TOOLS.slice(), out: path.join(benchDir, 'results'),
    check: true, fromJson: null,
  };
  const list = (text) => text.split(',').map((s) => s.trim()).filter(Boolean);
  for (let i = 0; i < argv.length; ++i) {
    const word = argv[i];
    const value = () => {
      if (i + 1 >= argv.length) usage(`${word} needs a value`);
      return argv[++i];
    };
    const count = (min) => {
      const text = value();
      const n = Number(text);
      if (!Number.isInteger(n) || n < min) usage(`${word} needs a whole number >= ${min}, not "${text}"`);
      return n;
    };
    switch (word) {
      case '--trimlet': options.trimlet = path.resolve(value()); break;
      case '--inputs': options.inputs = list(value()); break;
      case '--runs': options.runs = count(1); break;
      case '--warmup': options.warmup = count(0); break;
      case '--modes': options.modes = list(value()); break;
      case '--tools': options.tools = list(value()); break;
      case '--out': options.out = path.resolve(value()); break;
      case '--no-check': options.check = false; break;
      case '--from-json': options.fromJson = path.resolve(value()); break;
      case '-h': case '--help': usage(); break;
      default: usage(`unknown argument "${word}"`);
    }
  }
  if (options.fromJson) return options;
  if (!options.trimlet) usage('--trimlet is required');
  if (!fs.existsSync(options.trimlet)) usage(`no trimlet program at ${options.trimlet}`);
  for (const m of options.modes) {
    if (!MODES.some((mode) => mode.id === m)) usage(`unknown mode "${m}"`);
  }
  for (const t of options.tools) {
    if (!TOOLS.includes(t)) usage(`unknown tool "${t}"`);
  }
  if (!options.tools.includes('trimlet')) usage('the tools must include trimlet: ratios are taken against it');
  return options;
}

// ---- inputs -------------------------------------------------------------

// Two corpora of real libraries: ES5 ones, and ES2015+ ones as shipped. Each is
// measured file by file (`corpus`, `modern`) and as joined files of ~10 MB and
// ~50 MB (`10mb`, `50mb`, `modern10mb`, `modern50mb`).
//
// ES5 files are joined with ";" on a line of its own, so that a file ending
// without a semicolon cannot run into the next one:  a = 1  +  (function(){})()
// Modern files each go into a function of their own, because two copies of
//   const version = '3.5.47';  class Emitter {}
// side by side at the top level would declare the same names twice. The line
// break before "})();" ends a last line that is a // comment.
const CORPORA = [
  {
    id: 'es5', title: 'ES5 corpus', list: 'corpus.txt', perFile: 'corpus', joined: {'10mb': 1, '50mb': 5},
    separator: Buffer.from('\n;\n'), wrap: (content) => content,
  },
  {
    id: 'modern', title: 'Modern corpus (ES2015+)', list: 'corpus-modern.txt', perFile: 'modern',
    joined: {modern10mb: 1, modern50mb: 5}, separator: Buffer.alloc(0),
    wrap: (content) => Buffer.concat([Buffer.from('(function(){\n'), content, Buffer.from('\n})();\n')]),
  },
];

const OTHER_FILES = {id: 'files', title: 'Other files'};

function readCorpusList(corpus) {
  return fs.readFileSync(path.join(benchDir, corpus.list), 'utf8')
      .split('\n').map((line) => line.trim())
      .filter((line) => line && !line.startsWith('#'))
      .map((line) => path.join(modulesDir, line));
}

// A file that node cannot compile as a script must be an ES module (it uses
// `export`, `import` or `import.meta`): it is measured alone, its outputs are
// checked as modules, and it stays out of the joined files.
function isModule(file) {
  try {
    new vm.Script(fs.readFileSync(file, 'utf8'), {filename: file});
    return false;
  } catch (error) {
    if (!(error instanceof SyntaxError)) throw error;
  }
  const check = childProcess.spawnSync(process.execPath, ['--input-type=module', '--check'], {
    input: fs.readFileSync(file), stdio: ['pipe', 'ignore', 'ignore'],
  });
  if (check.status !== 0) throw new Error(`${file} parses in node neither as a script nor as a module`);
  return true;
}

function loadCorpus(corpus) {
  const files = readCorpusList(corpus);
  const missing = files.filter((f) => !fs.existsSync(f));
  if (missing.length) throw new Error(`corpus files missing (run npm ci in bench/): ${missing.join(', ')}`);
  return files.map((file) => ({file, name: path.relative(modulesDir, file), module: isModule(file)}));
}

// The ~10 MB file: whole corpus files in list order, round and round, each
// taken only while it still fits under the target size.
function joinToSize(pieces, target, separator) {
  const parts = [];
  let total = 0;
  for (let fitted = true; fitted;) {
    fitted = false;
    for (const piece of pieces) {
      const size = piece.length + (parts.length ? separator.length : 0);
      if (total + size > target) continue;
      if (parts.length) parts.push(separator);
      parts.push(piece);
      total += size;
      fitted = true;
    }
  }
  return Buffer.concat(parts);
}

function repeat(content, times, separator) {
  const parts = [];
  for (let i = 0; i < times; ++i) {
    if (i) parts.push(separator);
    parts.push(content);
  }
  return Buffer.concat(parts);
}

// Writes the file only when its content changed; a joined file written anew
// must parse, or the corpus list holds a file that cannot be joined.
function writeIfChanged(file, content) {
  if (fs.existsSync(file) && fs.statSync(file).size === content.length &&
      fs.readFileSync(file).equals(content)) {
    return;
  }
  fs.writeFileSync(file, content);
  if (!parsesInNode(file)) {
    fs.rmSync(file);
    throw new Error(`the joined file ${path.basename(file)} does not parse in node`);
  }
}

// The 50 MB file is the 10 MB file five times over, so that the growth in time
// from one to the other is measured against exactly five times the work.
function joinedInput(corpus, key, entries, inputDir, cache) {
  if (!cache.has(corpus.id)) {
    const scripts = entries.filter((e) => !e.module).map((e) => corpus.wrap(fs.readFileSync(e.file)));
    cache.set(corpus.id, joinToSize(scripts, 10 * MB, corpus.separator));
  }
  const file = path.join(inputDir, `joined-${key}.js`);
  writeIfChanged(file, repeat(cache.get(corpus.id), corpus.joined[key], corpus.separator));
  const size = key.replace(/^modern/, '').replace('mb', ' MB');
  return {name: `joined ${corpus.id === 'modern' ? 'modern ' : ''}${size}`, file, key, group: corpus.id};
}

function prepareInputs(options) {
  const inputDir = path.join(options.out, 'inputs');
  fs.mkdirSync(inputDir, {recursive: true});
  const entries = new Map();
  const corpusEntries = (corpus) => {
    if (!entries.has(corpus.id)) entries.set(corpus.id, loadCorpus(corpus));
    return entries.get(corpus.id);
  };
  const joined = new Map();
  const inputs = [];
  for (const name of options.inputs) {
    const corpus = CORPORA.find((c) => c.perFile === name || name in c.joined);
    if (!corpus) {
      if (!fs.existsSync(name)) throw new Error(`no input file ${name}`);
      const file = path.resolve(name);
      inputs.push({name: path.basename(name), file, group: OTHER_FILES.id, module: isModule(file)});
    } else if (name === corpus.perFile) {
      for (const entry of corpusEntries(corpus)) inputs.push({...entry, group: corpus.id, corpusFile: true});
    } else {
      inputs.push(joinedInput(corpus, name, corpusEntries(corpus), inputDir, joined));
    }
  }
  for (const input of inputs) input.bytes = fs.statSync(input.file).size;
  return inputs;
}

// ---- commands -----------------------------------------------------------

function peerPaths() {
  return {
    esbuild: path.join(modulesDir, '@esbuild', `${process.platform}-${os.arch()}`, 'bin', 'esbuild'),
    terser: path.join(modulesDir, 'terser', 'bin', 'terser'),
    'uglify-js': path.join(modulesDir, 'uglify-js', 'bin', 'uglifyjs'),
    jsmin: path.join(modulesDir, 'jsmin', 'bin', 'jsmin'),
  };
}

function toolVersion(tool) {
  const manifest = path.join(modulesDir, tool, 'package.json');
  if (!fs.existsSync(manifest)) return 'not installed';
  return JSON.parse(fs.readFileSync(manifest, 'utf8')).version;
}

// The argument vector for one tool; esbuild runs as its native program (not its
// node wrapper), the others under node as their command-line scripts run.
function commandLine(config, input, output, options, paths) {
  switch (config.tool) {
    case 'trimlet': return [options.trimlet, ...config.args, input, output];
    case 'esbuild': return [paths.esbuild, input, ...config.args, `--outfile=${output}`, '--log-level=error'];
    case 'terser': return [process.execPath, paths.terser, input, ...config.args, '-o', output];
    case 'uglify-js': return [process.execPath, paths['uglify-js'], input, ...config.args, '-o', output];
    case 'jsmin': return [process.execPath, paths.jsmin, '-o', output, input];
  }
  throw new Error(`no command for ${config.tool}`);
}

function displayCommand(config) {
  const args = config.args.length ? ' ' + config.args.join(' ') : '';
  switch (config.tool) {
    case 'trimlet': return `trimlet${args} IN OUT >/dev/null`;
    case 'esbuild': return `esbuild IN${args} --outfile=OUT --log-level=error`;
    case 'terser': return `terser IN${args} -o OUT`;
    case 'uglify-js': return `uglifyjs IN${args} -o OUT`;
    case 'jsmin': return 'jsmin -o OUT IN';
  }
  return config.tool;
}

function configurations(options) {
  const configs = [];
  for (const mode of MODES) {
    if (!options.modes.includes(mode.id)) continue;
    configs.push({mode, tool: 'trimlet', args: mode.trimlet});
    for (const peer of mode.peers) {
      if (options.tools.includes(peer.tool)) configs.push({mode, tool: peer.tool, args: peer.args});
    }
  }
  return labelConfigurations(configs);
}

function labelConfigurations(configs) {
  for (const config of configs) {
    config.label = config.tool === 'trimlet'
        ? `trimlet ${config.args.join(' ') || '(defaults)'}`
        : `${config.tool} ${config.args.join(' ')}`.trim();
    config.key = `${config.mode.id}-${config.tool}`;
  }
  return configs;
}

// ---- measuring ----------------------------------------------------------

// One whole-process run under /usr/bin/time: wall time from the clock around
// the spawn, CPU time and peak resident memory from time's own report.
function timedRun(argv, timeFile) {
  const started = process.hrtime.bigint();
  const run = childProcess.spawnSync('/usr/bin/time', ['-f', '%U %S %M', '-o', timeFile, ...argv], {
    stdio: ['ignore', 'ignore', 'pipe'], maxBuffer: 64 * 1024 * 1024,
  });
  const wall = Number(process.hrtime.bigint() - started) / 1e9;
  const report = fs.existsSync(timeFile) ? fs.readFileSync(timeFile, 'utf8').trim().split('\n') : [];
  const figures = (report[report.length - 1] || '').split(' ').map(Number);
  const failed = run.error || run.status !== 0 || figures.length !== 3 || figures.some(Number.isNaN);
  if (failed) {
    const why = run.error ? run.error.message
        : `exit ${run.status}${run.signal ? ' ' + run.signal : ''}: ${String(run.stderr).trim().slice(-400)}`;
    return {ok: false, why};
  }
  return {ok: true, wall, cpu: figures[0] + figures[1], peakKb: figures[2]};
}

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

function gzipSize(file) {
  const run = childProcess.spawnSync('gzip', ['-9', '-n', '-c', file], {maxBuffer: 1 << 30});
  if (run.status !== 0) throw new Error(`gzip failed on ${file}`);
  return run.stdout.length;
}

// node reads a .mjs file as a module, any other as a CommonJS script.
function parsesInNode(file) {
  const run = childProcess.spawnSync(process.execPath, ['--check', file], {stdio: ['ignore', 'ignore', 'pipe']});
  return run.status === 0;
}

// Warm-up rounds first, then the measured rounds; each round runs every
// configuration once, in the same order.
function measureInput(input, configs, options, paths) {
  const outDir = path.join(options.out, 'out');
  fs.mkdirSync(outDir, {recursive: true});
  const timeFile = path.join(options.out, 'time.txt');
  const base = input.name.replace(/[^A-Za-z0-9.]+/g, '_');
  const results = configs.map((config) => ({
    config, output: path.join(outDir, `${base}.${config.key}.${input.module ? 'mjs' : 'js'}`), runs: [], failure: null,
  }));
  const rounds = options.warmup + options.runs;
  for (let round = 0; round < rounds; ++round) {
    for (const result of results) {
      if (result.failure) continue;
      fs.rmSync(result.output, {force: true});
      const argv = commandLine(result.config, input.file, result.output, options, paths);
      const run = timedRun(argv, timeFile);
      if (!run.ok) {
        result.failure = run.why;
        process.stderr.write(`  ${result.config.label}: failed (${run.why})\n`);
        continue;
      }
      if (round >= options.warmup) result.runs.push(run);
    }
    process.stderr.write(`  ${input.name}: round ${round + 1}/${rounds}${round < options.warmup ? ' (warm-up)' : ''}\n`);
  }
  for (const result of results) {
    if (result.failure) continue;
    if (!fs.existsSync(result.output)) {
      result.failure = 'wrote no output';
      continue;
    }
    result.wall = median(result.runs.map((r) => r.wall));
    result.cpu = median(result.runs.map((r) => r.cpu));
    result.peakBytes = median(result.runs.map((r) => r.peakKb)) * 1024;
    result.rawBytes = fs.statSync(result.output).size;
    result.gzipBytes = gzipSize(result.output);
    result.parses = options.check ? parsesInNode(result.output) : null;
  }
  return results;
}

// ---- reporting ----------------------------------------------------------

const fixed = (value, digits) => value.toFixed(digits);
const grouped = (n) => String(Math.round(n)).replace(/\B(?=(\d{3})+(?!\d))/g, ',');

function seconds(value) {
  return value < 0.1 ? fixed(value, 4) : value < 10 ? fixed(value, 3) : fixed(value, 1);
}

// "exit 1: /path/jsmin.js:231\n throw ...\n ^\nError: unterminated string literal: ..."
// shows as "exit 1: Error: unterminated string literal:".
function summarizeFailure(text) {
  const lines = text.split('\n').map((l) => l.trim()).filter(Boolean);
  const status = /^exit [^:]*/.exec(lines[0] || '');
  const error = lines.find((l) => /^[A-Za-z]*Error\b/.test(l)) || lines[lines.length - 1] || '';
  const prefix = status && !error.startsWith(status[0]) ? status[0] + ': ' : '';
  return `${prefix}${error}`.replace(/\|/g, '/').slice(0, 120);
}

function inputTable(input, results) {
  const lines = [];
  lines.push(`### ${input.name} (${grouped(input.bytes)} bytes${input.module ? ', an ES module' : ''})`, '');
  lines.push('| mode | tool | raw bytes | gzip -9 bytes | % of original | median wall s | MB/s | ' +
             'peak memory MB | bytes of memory per input byte | peer time / trimlet time | CPU s | ' +
             'peer CPU / trimlet CPU | node --check |');
  lines.push('|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|');
  for (const result of results) {
    const trimlet = results.find((r) => r.config.mode === result.config.mode && r.config.tool === 'trimlet');
    const cells = [result.config.mode.title, result.config.label];
    if (result.failure) {
      cells.push(`failed: ${summarizeFailure(result.failure)}`,
                 '', '', '', '', '', '', '', '', '', '');
    } else {
      const base = trimlet && !trimlet.failure ? trimlet : null;
      const ratio = result === trimlet ? '1 (base)' : base ? `${fixed(result.wall / base.wall, 2)}x` : 'n/a';
      // time reports CPU in hundredths of a second: too coarse below 0.05 s.
      const cpuRatio = result === trimlet ? '1 (base)'
          : base && base.cpu >= 0.05 ? `${fixed(result.cpu / base.cpu, 2)}x` : 'n/a';
      cells.push(grouped(result.rawBytes), grouped(result.gzipBytes),
                 fixed(100 * result.rawBytes / input.bytes, 2), seconds(result.wall),
                 fixed(input.bytes / MB / result.wall, 1), fixed(result.peakBytes / MB, 1),
                 fixed(result.peakBytes / input.bytes, 2), ratio, seconds(result.cpu), cpuRatio,
                 result.parses === null ? 'not run' : result.parses ? 'yes' : '**NO**');
    }
    lines.push(`| ${cells.join(' | ')} |`);
  }
  lines.push('');
  return lines;
}

// Every file of a corpus in one table: the raw and gzip -9 sizes of trimlet's
// output in each mode beside those of esbuild in its nearest mode, summed at
// the foot. A size whose output does not parse is marked, not left out.
function sizeTable(entries, configs) {
  if (!entries.length) return [];
  const columns = [];
  for (const mode of MODES) {
    for (const tool of ['trimlet', 'esbuild']) {
      if (!configs.some((c) => c.mode === mode && c.tool === tool)) continue;
      columns.push({mode, tool, field: 'rawBytes', title: `${tool} ${mode.id} raw`});
      columns.push({mode, tool, field: 'gzipBytes', title: `${tool} ${mode.id} gzip -9`});
    }
  }
  const size = (entry, column) => {
    const r = entry.results.find((x) => x.config.mode === column.mode && x.config.tool === column.tool);
    if (!r || r.failure) return {bytes: null, text: r ? 'failed' : ''};
    return {bytes: r[column.field], text: grouped(r[column.field]) + (r.parses === false ? ' *' : '')};
  };
  const lines = ['### Sizes of every file (bytes)', ''];
  lines.push(`| file | input | ${columns.map((c) => c.title).join(' | ')} |`);
  lines.push(`|---|${'---:|'.repeat(columns.length + 1)}`);
  const sums = columns.map(() => 0);
  const marks = new Set();
  for (const entry of entries) {
    const cells = columns.map((column, i) => {
      const s = size(entry, column);
      sums[i] = s.bytes === null || sums[i] === null ? null : sums[i] + s.bytes;
      if (s.text === 'failed') marks.add('failed');
      if (s.text.endsWith('*')) marks.add('*');
      return s.text;
    });
    const name = entry.input.name + (entry.input.module ? ' (module)' : '');
    lines.push(`| ${name} | ${grouped(entry.input.bytes)} | ${cells.join(' | ')} |`);
  }
  const inputSum = entries.reduce((sum, entry) => sum + entry.input.bytes, 0);
  const sumCells = sums.map((s) => s === null ? 'n/a' : `**${grouped(s)}**`);
  lines.push(`| **all ${entries.length} files** | **${grouped(inputSum)}** | ${sumCells.join(' | ')} |`);
  lines.push('');
  if (marks.has('*')) lines.push('`*` the output does not parse in node (`node --check`): its size says little.', '');
  if (marks.has('failed')) lines.push('`failed`: the tool stopped with an error; its file\'s table says which.', '');
  return lines;
}

function find(results, modeId, tool) {
  const r = results && results.find((x) => x.config.mode.id === modeId && x.config.tool === tool);
  return r && !r.failure ? r : null;
}

// The targets, read off the 10 MB and 50 MB runs of each corpus: throughput
// against esbuild's nearest mode, output size, peak memory, and growth.
const SPEED_GOALS = {ws: 5, rename: 4, full: 4};

function targetLines(byKey) {
  const lines = [];
  for (const [tenKey, fiftyKey, corpus] of [['10mb', '50mb', 'ES5'], ['modern10mb', 'modern50mb', 'modern']]) {
    const rows = targetRows(byKey[tenKey], byKey[fiftyKey]);
    if (rows.length === 0) continue;
    lines.push(`## Targets, ${corpus} corpus (10 MB file)`, '',
               '| target | goal | measured (wall time) | by CPU time | verdict (wall time) |', '|---|---|---:|---:|---|');
    for (const row of rows) lines.push(`| ${row.join(' | ')} |`);
    lines.push('');
  }
  return lines;
}

function targetRows(ten, fifty) {
  if (!ten) return [];
  const rows = [];
  const verdict = (ok) => ok === null ? 'n/a' : ok ? 'met' : '**not met**';
  const speed = (modeId, label) => {
    const goal = SPEED_GOALS[modeId];
    const t = find(ten.results, modeId, 'trimlet');
    const p = find(ten.results, modeId, 'esbuild');
    const ratio = t && p ? p.wall / t.wall : null;
    const cpuRatio = t && p && t.cpu >= 0.05 ? p.cpu / t.cpu : null;
    rows.push([label, `>= ${goal}x`, ratio === null ? 'n/a' : `${fixed(ratio, 2)}x`,
               cpuRatio === null ? 'n/a' : `${fixed(cpuRatio, 2)}x`, verdict(ratio === null ? null : ratio >= goal)]);
  };
  speed('ws', 'throughput "-nse -nvc" / esbuild --minify-whitespace');
  {
    const t = find(ten.results, 'ws', 'trimlet');
    const p = find(ten.results, 'ws', 'esbuild');
    for (const [what, field] of [['raw', 'rawBytes'], ['gzip -9', 'gzipBytes']]) {
      const excess = t && p ? 100 * (t[field] / p[field] - 1) : null;
      rows.push([`"-nse -nvc" output size over esbuild --minify-whitespace, ${what}`, '<= +3%',
                 excess === null ? 'n/a' : `${excess >= 0 ? '+' : ''}${fixed(excess, 2)}%`, '',
                 verdict(excess === null ? null : excess <= 3)]);
    }
  }
  speed('rename', 'throughput "-nse" / esbuild --minify-whitespace --minify-identifiers');
  speed('full', 'throughput defaults / esbuild --minify');
  for (const mode of MODES) {
    const t = find(ten.results, mode.id, 'trimlet');
    const p = find(ten.results, mode.id, 'esbuild');
    const share = t && p ? t.peakBytes / p.peakBytes : null;
    rows.push([`peak memory, ${mode.title}: trimlet / esbuild`, '<= 0.5',
               share === null ? 'n/a' : fixed(share, 2), '', verdict(share === null ? null : share <= 0.5)]);
    const perByte = t ? t.peakBytes / ten.input.bytes : null;
    rows.push([`peak memory, ${mode.title}: trimlet bytes per input byte`, '<= 10',
               perByte === null ? 'n/a' : fixed(perByte, 2), '', verdict(perByte === null ? null : perByte <= 10)]);
  }
  for (const mode of MODES) {
    const t10 = find(ten.results, mode.id, 'trimlet');
    const t50 = fifty && find(fifty.results, mode.id, 'trimlet');
    const growth = t10 && t50 ? t50.wall / t10.wall : null;
    const cpuGrowth = t10 && t50 && t10.cpu >= 0.05 ? t50.cpu / t10.cpu : null;
    rows.push([`growth, ${mode.title}: time 50 MB / time 10 MB`, '<= 5.5',
               growth === null ? 'n/a' : fixed(growth, 2), cpuGrowth === null ? 'n/a' : fixed(cpuGrowth, 2), verdict(growth === null ? null : growth <= 5.5)]);
  }
  return rows;
}

function gitDescription() {
  const run = childProcess.spawnSync('git', ['-C', benchDir, 'describe', '--always', '--dirty'], {encoding: 'utf8'});
  return run.status === 0 ? run.stdout.trim() : 'unknown';
}

function report(meta, measured, configs) {
  const lines = ['# trimlet benchmark', ''];
  lines.push(`- Date: ${meta.date}; source tree at ${meta.source}; trimlet program ${meta.trimlet}`);
  lines.push(`- Machine: ${meta.machine}; load average ${meta.loadBefore} before, ${meta.loadAfter} after. ` +
             'A shared machine: absolute times vary, the ratios are taken within each round.');
  lines.push(`- Each figure: median of ${meta.runs} whole-process runs after ${meta.warmup} warm-up ` +
             'round(s); every round runs all tools in turn. Peak memory: maximum resident set from /usr/bin/time.');
  lines.push(`- Cost of starting a process under /usr/bin/time (included in every time): ${meta.overhead}.`);
  lines.push(`- MB = 10^6 bytes. ${meta.versions}.`);
  lines.push('', 'Commands (IN and OUT stand for the input and output files):', '');
  for (const config of configs) lines.push(`- ${config.mode.title}: \`${displayCommand(config)}\``);
  lines.push('');
  const byKey = {};
  for (const entry of measured) if (entry.input.key) byKey[entry.input.key] = entry;
  lines.push(...targetLines(byKey));
  for (const group of [...CORPORA, OTHER_FILES]) {
    const entries = measured.filter((entry) => entry.input.group === group.id);
    if (!entries.length) continue;
    lines.push(`## Results: ${group.title}`, '');
    lines.push(...sizeTable(entries.filter((entry) => entry.input.corpusFile), configs));
    for (const entry of entries) lines.push(...inputTable(entry.input, entry.results));
  }
  return lines.join('\n');
}

function processOverhead(options) {
  const timeFile = path.join(options.out, 'time.txt');
  const walls = [];
  for (let i = 0; i < 7; ++i) walls.push(timedRun(['/bin/true'], timeFile).wall);
  return median(walls);
}

const loadAverage = () => os.loadavg().map((v) => fixed(v, 2)).join(' ');

function saveResults(file, meta, measured) {
  fs.writeFileSync(file, JSON.stringify({
    meta,
    inputs: measured.map((entry) => ({
      input: entry.input,
      results: entry.results.map((r) => ({
        mode: r.config.mode.id, tool: r.config.tool, args: r.config.args, failure: r.failure, runs: r.runs,
        wall: r.wall, cpu: r.cpu, peakBytes: r.peakBytes, rawBytes: r.rawBytes, gzipBytes: r.gzipBytes,
        parses: r.parses,
      })),
    })),
  }, null, 1) + '\n');
}

// Results saved before the modern corpus came carry no group: they hold ES5
// corpus files, the files joined from them and files named on the command line.
function savedInput(input) {
  if (input.group) return input;
  const es5 = readCorpusList(CORPORA[0]).map((file) => path.relative(modulesDir, file));
  const corpusFile = es5.includes(input.name);
  return {...input, group: input.key || corpusFile ? 'es5' : OTHER_FILES.id, corpusFile};
}

// Reads a results.json back (to render the report again after a change of
// layout); the configurations are those of the saved rows.
function loadResults(file, options) {
  const saved = JSON.parse(fs.readFileSync(file, 'utf8'));
  const entries = Array.isArray(saved) ? saved : saved.inputs;
  const meta = Object.assign({
    date: 'unknown', source: 'unknown', trimlet: 'unknown', machine: 'unknown', loadBefore: 'unknown',
    loadAfter: 'unknown', runs: options.runs, warmup: options.warmup, overhead: 'unknown', versions: '',
  }, Array.isArray(saved) ? {} : saved.meta);
  const configs = [];
  const measured = entries.map((entry) => ({
    input: savedInput(entry.input),
    results: entry.results.map((r) => {
      const mode = MODES.find((m) => m.id === r.mode);
      let config = configs.find((c) => c.mode === mode && c.tool === r.tool);
      if (!config) configs.push(config = {mode, tool: r.tool, args: r.args});
      return Object.assign({}, r, {config});
    }),
  }));
  labelConfigurations(configs);
  return {meta, measured, configs};
}

function main() {
  const options = parseArguments(process.argv.slice(2));
  fs.mkdirSync(options.out, {recursive: true});
  if (options.fromJson) {
    const {meta, measured, configs} = loadResults(options.fromJson, options);
    const text = report(meta, measured, configs);
    fs.writeFileSync(path.join(options.out, 'report.md'), text + '\n');
    process.stdout.write(text + '\n');
    return;
  }
  const paths = peerPaths();
  for (const tool of options.tools) {
    if (tool !== 'trimlet' && !fs.existsSync(paths[tool])) {
      throw new Error(`${tool} is not installed at ${paths[tool]} (run npm ci in bench/)`);
    }
  }
  const loadBefore = loadAverage();
  const inputs = prepareInputs(options);
  const configs = configurations(options);
  const overhead = processOverhead(options);
  const meta = {
    date: new Date().toISOString(), source: gitDescription(), trimlet: options.trimlet,
    machine: `${os.cpus().length} cores (${os.cpus()[0].model}), ${fixed(os.totalmem() / 2 ** 30, 1)} GiB`,
    loadBefore, loadAfter: loadBefore, runs: options.runs, warmup: options.warmup,
    overhead: `${seconds(overhead)} s`,
    versions: `node ${process.version}; ` + TOOLS.filter((t) => t !== 'trimlet' && options.tools.includes(t))
        .map((t) => `${t} ${toolVersion(t)}`).join(', '),
  };
  // The report is written again after every input, so that a long run that is
  // stopped keeps what it has measured.
  const measured = [];
  let text = '';
  for (const input of inputs) {
    process.stderr.write(`${input.name} (${grouped(input.bytes)} bytes)\n`);
    measured.push({input, results: measureInput(input, configs, options, paths)});
    meta.loadAfter = loadAverage();
    text = report(meta, measured, configs);
    fs.writeFileSync(path.join(options.out, 'report.md'), text + '\n');
    saveResults(path.join(options.out, 'results.json'), meta, measured);
  }
  process.stdout.write(text + '\n');
  const failures = measured.flatMap((e) => e.results.filter((r) => r.failure && r.config.tool === 'trimlet'));
  process.exitCode = failures.length ? 1 : 0;
}

try {
  main();
} catch (error) {
  process.stderr.write(`bench.js: ${error.message}\n`);
  process.exit(1);
}
