'use strict';
// Checks the harness itself: faulty stand-in packers must be caught, each in the
// way it is faulty, on a handful of suite files chosen for what they exercise.
//   node --test tests/test262/selftest.js      (unpacks the suite if needed)
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const { ParseMetadata } = require('./lib/metadata');
const { ProposalFeatures } = require('./lib/suite');
const { EvenSample } = require('./lib/sample');

const here = __dirname;
const root = path.resolve(here, '../..');
const identity = path.join(here, 'identity-packer.js');

// onlyStrict and depends on it; parse-negative (strict); module with a fixture;
// resolution-negative module whose fixture does not parse; async script in both
// modes that imports a fixture.
const FILES = [
  'test/language/function-code/10.4.3-1-104.js',
  'test/language/statements/with/12.10.1-11gs.js',
  'test/language/module-code/instn-iee-bndng-let.js',
  'test/language/module-code/instn-resolve-err-syntax-1.js',
  'test/language/expressions/dynamic-import/await-import-evaluation.js',
];
const ONLY_STRICT = FILES[0];

// Stand-in packers, as shell scripts; $in and $out are the last two arguments.
const FAKES = {
  identity: `exec "${identity}" "$@"`,
  'accepts everything': 'cp "$in" "$out"',
  'refuses everything': 'echo "$in:1:1: error: no" >&2; exit 251',
  'drops "use strict"': `"${identity}" "$@" || exit $?; sed -i '1{/^"use strict";$/d}' "$out"`,
  'breaks -nvc': `"${identity}" "$@" || exit $?; case " $* " in *" -nvc "*) echo ';throw 1;' >> "$out";; esac`,
  'writes output when refusing': `"${identity}" "$@" && exit 0; cp "$in" "$out"; exit 251`,
  'refuses silently': `"${identity}" "$@" 2>/dev/null`,
  crashes: 'kill -SEGV $$',
  hangs: 'exec sleep 20',
  'exits 3': 'exit 3',
};

function WriteFake(dir, name, body) {
  const file = path.join(dir, name.replace(/\W+/g, '-') + '.sh');
  fs.writeFileSync(file, '#!/usr/bin/env bash\nin="${@: -2:1}"; out="${@: -1}"\n' + body + '\n', { mode: 0o755 });
  return file;
}

function RunHarness(packer, extra = []) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'test262-selftest-'));
  const build = path.join(root, 'build', 'test262-selftest');
  fs.mkdirSync(build, { recursive: true });
  const report = path.join(dir, 'report.json');
  const filters = FILES.flatMap((file) => ['--filter', file]);
  const result = spawnSync(path.join(here, 'run.sh'), [build, '--packer', WriteFake(dir, packer, FAKES[packer]), '--report', report, ...filters, ...extra], { encoding: 'utf8' });
  assert.ok(fs.existsSync(report), 'no report: ' + result.stdout + result.stderr);
  const parsed = JSON.parse(fs.readFileSync(report, 'utf8'));
  fs.rmSync(dir, { recursive: true, force: true });
  const units = parsed.results.flatMap((entry) => entry.units);
  const closing = result.stdout.trim().split('\n').pop();
  return { status: result.status, closing, counts: parsed.counts, units, results: parsed.results };
}

function DifferentRuns(counts) {
  return Object.fromEntries(Object.entries(counts.runs).map(([name, runs]) => [name, runs.different]));
}

test('the identity packer passes every chosen file in every mode and combination', () => {
  const { status, closing, counts } = RunHarness('identity');
  assert.deepStrictEqual([counts.files, counts.units, counts.parseNegative, counts.compared], [5, 6, 1, 5]);
  assert.strictEqual(closing, 'test262: ' + (6 + 5 * 4) + ' passed, 0 failed');
  assert.strictEqual(status, 0);
});

test('faulty packers are caught where they are faulty', async (t) => {
  const cases = [
    ['accepts everything', (r) => {
      // the parse-negative file, and the module whose fixture does not parse
      assert.deepStrictEqual([r.counts.parse['wrongly accepted'], r.counts.failed], [1, 1 + 4]);
      const unit = r.units.find((entry) => entry.file.endsWith('instn-resolve-err-syntax-1.js'));
      assert.match(unit.combos.none.detail, /fixture .* wrongly accepted/);
    }],
    ['refuses everything', (r) => assert.deepStrictEqual([r.counts.parse['wrongly refused'], r.counts.parse['refused as expected'], r.counts.compared], [5, 1, 0])],
    ['drops "use strict"', (r) => {
      assert.deepStrictEqual(DifferentRuns(r.counts), { none: 1, '-nse': 1, '-nvc': 1, '-nse -nvc': 1 });
      assert.ok(r.units.filter((unit) => unit.file === ONLY_STRICT).every((unit) => Object.values(unit.combos).every((run) => !run.equal)));
    }],
    ['breaks -nvc', (r) => {
      const different = DifferentRuns(r.counts);
      assert.deepStrictEqual([different.none, different['-nse']], [0, 0]);
      assert.ok(different['-nvc'] >= 3 && different['-nvc'] === different['-nse -nvc'], JSON.stringify(different));
    }],
    ['writes output when refusing', (r) => assert.strictEqual(r.counts.parse['packer broke: refused but wrote the output'], 1)],
    ['refuses silently', (r) => assert.strictEqual(r.counts.parse['packer broke: refused without FILE:LINE:COL: error: message'], 1)],
    ['crashes', (r) => assert.strictEqual(r.counts.parse['packer broke: crashed (SIGSEGV)'], 6)],
    ['hangs', (r) => assert.strictEqual(r.counts.parse['packer broke: timeout'], 6), ['--pack-timeout', '300']],
    ['exits 3', (r) => assert.strictEqual(r.counts.parse['packer broke: exit 3'], 6)],
  ];
  for (const [packer, check, extra] of cases) {
    await t.test(packer, () => {
      const result = RunHarness(packer, extra);
      check(result);
      assert.notStrictEqual(result.status, 0);
      assert.match(result.closing, /^test262: \d+ passed, [1-9]\d* failed$/);
    });
  }
});

test('frontmatter lists, inline or dashed, and negative blocks', () => {
  const cases = [
    ['flags: [onlyStrict, async]\nincludes: [a.js]', { flags: ['onlyStrict', 'async'], includes: ['a.js'], features: [], negative: null }],
    ['features:\n  - class\n  - decorators\nflags: [raw]', { flags: ['raw'], includes: [], features: ['class', 'decorators'], negative: null }],
    ['negative:\n  phase: parse\n  type: SyntaxError\nflags: [module]', { flags: ['module'], includes: [], features: [], negative: { phase: 'parse', type: 'SyntaxError' } }],
  ];
  for (const [block, expected] of cases) assert.deepStrictEqual(ParseMetadata('/*---\ndescription: x\n' + block + '\n---*/\n'), expected);
});

test('proposal features end where the next section title begins', () => {
  const text = '## Proposed language features\n#\n# note\n\n# Decorators\n## https://example\ndecorators\n## sub-note\nsource-phase\n\n## Standard language features\n#\nclass\n';
  assert.deepStrictEqual([...ProposalFeatures(text)], ['decorators', 'source-phase']);
});

test('the sample is stable, one file per stretch, and moves with the seed', () => {
  const items = Array.from({ length: 1000 }, (_, i) => 'f' + String(i).padStart(4, '0'));
  const first = EvenSample(items, 10, 'a', (item) => item);
  assert.deepStrictEqual(EvenSample(items, 10, 'a', (item) => item), first);
  assert.deepStrictEqual(first.map((item) => Math.floor(Number(item.slice(1)) / 100)), [0, 1, 2, 3, 4, 5, 6, 7, 8, 9]);
  assert.notDeepStrictEqual(EvenSample(items, 10, 'b', (item) => item), first);
});
