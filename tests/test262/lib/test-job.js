'use strict';
// Everything done for one test file, in each of its modes (sloppy, strict,
// module, raw):
//  1. parse phase: pack the file as the suite gives it; a parse-negative test
//     must be refused, any other accepted;
//  2. run phase: run the original in node; if it does what the test asks, pack
//     it under each option combination and run that too: it must do the same.
// The harness files are run before the test, never packed; only the test's own
// text (and the fixtures it imports) goes through the packer.
const fs = require('fs');
const path = require('path');
const vm = require('vm');
const { PackFile, COMBOS } = require('./pack');
const { Execute } = require('./execute');
const { Judge } = require('./verdict');
const { MissingHostHook } = require('./realm');
const { FixtureClosure, IsScriptFile } = require('./fixtures');

const STRICT_PREFIX = '"use strict";\n';

const harnessCache = new Map();

function HarnessScript(suiteRoot, name) {
  if (!harnessCache.has(name)) {
    const file = path.join(suiteRoot, 'harness', name);
    harnessCache.set(name, new vm.Script(fs.readFileSync(file, 'utf8'), { filename: file }));
  }
  return harnessCache.get(name);
}

function HarnessFor(suiteRoot, meta, mode) {
  if (mode === 'raw') return [];
  const names = ['assert.js', 'sta.js'];
  if (meta.flags.includes('async')) names.push('doneprintHandle.js');
  names.push(...meta.includes);
  return names.map((name) => HarnessScript(suiteRoot, name));
}

function ComboDir(combo) {
  return combo.name === 'none' ? 'plain' : combo.flags.join('').replace(/-/g, '');
}

// Parse-phase verdict of the "none" packing.
function ParseVerdict(expectRefusal, outcome) {
  if (outcome === 'accepted') return expectRefusal ? 'wrongly accepted' : 'accepted as expected';
  if (outcome === 'refused') return expectRefusal ? 'refused as expected' : 'wrongly refused';
  return 'packer broke: ' + outcome;
}

class TestJob {
  constructor(settings, test, step) {
    this.settings = settings;
    this.test = test;
    this.step = step;
    this.file = path.join(settings.suiteRoot, test.file);
    this.bytes = fs.readFileSync(this.file);
    this.text = this.bytes.toString('utf8');
    // kept files stay laid out as in the suite; others go to one folder per worker
    this.work = path.join(settings.work, settings.keepWork ? path.dirname(test.file) : 'w' + process.pid);
    this.fixtures = FixtureClosure(this.file, this.text);
    this.fixturePacks = new Map();
  }

  Pack(input, output, combo, kind) {
    this.step('pack ' + path.basename(input) + ' ' + combo.name, this.settings.packTimeoutMs + 5000);
    return PackFile(this.settings.packer, { input, output, combo, kind, timeoutMs: this.settings.packTimeoutMs, inProcess: this.settings.inProcess });
  }

  // Packs a fixture once per combination for the whole job.
  PackedFixture(file, combo) {
    const key = combo.name + '\n' + file;
    if (!this.fixturePacks.has(key)) {
      const output = path.join(this.work, 'fixtures', ComboDir(combo), path.basename(file));
      const packed = this.Pack(file, output, combo, 'module');
      if (packed.outcome === 'accepted') packed.text = fs.readFileSync(output, 'utf8');
      this.fixturePacks.set(key, packed);
    }
    return this.fixturePacks.get(key);
  }

  OriginalSources(mode, text) {
    const sources = new Map();
    for (const file of this.fixtures) sources.set(file, { text: fs.readFileSync(file, 'utf8'), json: file.endsWith('.json') });
    if (mode === 'module') sources.set(this.file, { text, json: false });
    return sources;
  }

  // The fixtures as packed under a combination. A fixture node could compile in
  // the original run must be accepted, one it could not must be refused (and is
  // then run as it is, to fail the same way). Returns {sources} or {problem}.
  PackedSources(mode, text, combo, original, originalSources) {
    const sources = new Map(originalSources);
    if (mode === 'module') sources.set(this.file, { text, json: false });
    for (const file of this.fixtures) {
      if (!IsScriptFile(file) || (mode === 'module' && file === this.file)) continue;
      const packed = this.PackedFixture(file, combo);
      const name = path.basename(file);
      if (packed.outcome === 'accepted') {
        if (original.failed.has(file)) return { problem: 'fixture ' + name + ' wrongly accepted' };
        sources.set(file, { text: packed.text, json: false });
      } else if (packed.outcome === 'refused') {
        if (original.compiled.has(file)) return { problem: 'fixture ' + name + ' wrongly refused: ' + packed.message };
      } else {
        return { problem: 'fixture ' + name + ': packer ' + packed.outcome + ' ' + packed.message };
      }
    }
    return { sources };
  }

  // `form` is "original" or "packed COMBO"; the pool names it if the run hangs.
  Execute(form, mode, text, sources) {
    this.step('run ' + form + ' ' + mode, this.settings.runTimeoutMs);
    return Execute({
      testPath: this.file,
      mode,
      text,
      sources,
      harness: HarnessFor(this.settings.suiteRoot, this.test.meta, mode),
      isAsync: this.test.meta.flags.includes('async'),
      asyncWaitMs: this.settings.asyncWaitMs,
    });
  }

  async RunCombo(unit, combo, firstPack, original, originalSources) {
    const kind = unit.mode === 'module' ? 'module' : 'script';
    const output = path.join(this.work, unit.mode, ComboDir(combo), path.basename(this.file));
    const packed = combo.name === 'none' ? firstPack : { ...this.Pack(unit.input, output, combo, kind), output };
    if (packed.outcome !== 'accepted') return { equal: false, detail: 'packer ' + packed.outcome + ': ' + packed.message };
    const text = fs.readFileSync(packed.output, 'utf8');
    const built = this.PackedSources(unit.mode, text, combo, original, originalSources);
    if (built.problem) return { equal: false, detail: built.problem };
    // Packings that came out byte for byte the same (often: no string to encode,
    // no name to shorten) behave the same; they are run once.
    const key = [text, ...this.fixtures.map((file) => built.sources.get(file).text)].join('\0');
    const earlier = unit.verdicts.get(key);
    if (earlier) return { ...earlier, sameOutputAs: earlier.combo };
    const judged = Judge(this.test.meta, await this.Execute('packed ' + combo.name, unit.mode, text, built.sources));
    const verdict = { equal: judged.ok, detail: judged.detail };
    unit.verdicts.set(key, { ...verdict, combo: combo.name });
    return verdict;
  }

  async RunMode(mode) {
    const meta = this.test.meta;
    const kind = mode === 'module' ? 'module' : 'script';
    const prefix = mode === 'strict' ? STRICT_PREFIX : '';
    const input = path.join(this.work, mode, path.basename(this.file));
    fs.mkdirSync(path.dirname(input), { recursive: true });
    fs.writeFileSync(input, Buffer.concat([Buffer.from(prefix), this.bytes]));
    const output = path.join(this.work, mode, ComboDir(COMBOS[0]), path.basename(this.file));
    const first = { ...this.Pack(input, output, COMBOS[0], kind), output };
    const expectRefusal = Boolean(meta.negative && meta.negative.phase === 'parse');
    const unit = { file: this.test.file, mode, input, parse: ParseVerdict(expectRefusal, first.outcome), packer: first.outcome, message: first.message };
    if (expectRefusal || first.outcome !== 'accepted') return unit;
    const missing = MissingHostHook(meta, this.text);
    if (missing) return { ...unit, run: 'not runnable', reason: missing };
    const text = prefix + this.text;
    const originalSources = this.OriginalSources(mode, text);
    const original = await this.Execute('original', mode, text, originalSources);
    const judged = Judge(meta, original);
    if (!judged.ok) return { ...unit, run: 'node fails', reason: judged.detail };
    unit.run = 'compared';
    unit.combos = {};
    unit.verdicts = new Map();
    for (const combo of this.settings.combos) unit.combos[combo.name] = await this.RunCombo(unit, combo, first, original, originalSources);
    delete unit.verdicts;
    return unit;
  }

  // The packed files of a job are removed when it ends (unless kept), so that
  // the work folder never holds more than one job's files per worker.
  async Run() {
    const units = [];
    try {
      for (const mode of this.test.modes) units.push(await this.RunMode(mode));
    } finally {
      if (!this.settings.keepWork) fs.rmSync(this.work, { recursive: true, force: true });
    }
    for (const unit of units) delete unit.input;
    return units;
  }
}

module.exports = { TestJob, STRICT_PREFIX };
