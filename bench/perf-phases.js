#!/usr/bin/env node
// Sums `perf script` samples of one trimlet run by pipeline phase: each sample
// goes to the first phase whose function stands anywhere in its call chain, and
// inside a phase by the function the sample was taken in (its leaf).
//   perf script -i perf.data | node perf-phases.js [TITLE]
'use strict';

const PHASES = [
  ['read the file', /ReadWholeFile|ReadSourceFile/],
  ['decode to UTF-16 (DecodeSource)', /DecodeSource/],
  ['scan (AddSource)', /AddSource/],
  ['statement ends (Process)', /trimlet::Process\b/],
  ['rename (ChangeVars)', /ChangeVars/],
  ['encode strings (EncodeStrings)', /EncodeStrings/],
  ['emit (Output)', /trimlet::Output\b/],
  ['encode the output (EncodeOutput)', /EncodeOutput/],
  ['write the file', /WriteWholeFile|WriteOutputFile/],
  ['rest of PackDocument (frames perf could not place)', /PackDocument/],
  ['rest of main', /\bmain\b/],
];
const OUTSIDE = 'start-up and exit (outside main)';

function parseSamples(text) {
  const samples = [];
  let frames = null;
  for (const line of text.split('\n')) {
    if (!line.trim()) {
      if (frames) samples.push(frames);
      frames = null;
    } else if (!/^\s/.test(line)) {
      frames = [];
    } else if (frames) {
      // "    55d5 pack::TextTable::Intern+0x45 (/path/trimlet)"
      const match = /^\s*[0-9a-f]+\s+(.*?)(\+0x[0-9a-f]+)?\s+\(([^)]*)\)\s*$/.exec(line);
      if (match) frames.push(match[1].replace(/\[abi:cxx11\]/g, '') + (match[3].includes('kernel') ? ' [kernel]' : ''));
    }
  }
  if (frames) samples.push(frames);
  return samples;
}

function percent(n, total) {
  return `${(100 * n / total).toFixed(1)}%`;
}

function main() {
  const title = process.argv[2] || 'trimlet';
  const samples = parseSamples(require('fs').readFileSync(0, 'utf8'));
  const total = samples.length;
  const byPhase = new Map();
  const bySelf = new Map();
  for (const frames of samples) {
    const phase = (PHASES.find(([, pattern]) => frames.some((f) => pattern.test(f))) || [OUTSIDE])[0];
    const leaf = frames[0] || '[unknown]';
    if (!byPhase.has(phase)) byPhase.set(phase, {count: 0, leaves: new Map()});
    const entry = byPhase.get(phase);
    entry.count++;
    entry.leaves.set(leaf, (entry.leaves.get(leaf) || 0) + 1);
    bySelf.set(leaf, (bySelf.get(leaf) || 0) + 1);
  }
  const top = (map, n) => [...map.entries()].sort((a, b) => b[1] - a[1]).slice(0, n);
  const lines = [`#### ${title}: ${total} samples`, '', '| phase | share | where, by leaf function (share of the whole run) |',
                 '|---|---:|---|'];
  const order = [...PHASES.map(([name]) => name), OUTSIDE].filter((name) => byPhase.has(name));
  for (const name of order) {
    const entry = byPhase.get(name);
    const leaves = top(entry.leaves, 4).map(([leaf, n]) => `${leaf} ${percent(n, total)}`).join(', ');
    lines.push(`| ${name} | ${percent(entry.count, total)} | ${leaves.replace(/\|/g, '/')} |`);
  }
  lines.push('', 'Top functions by own time: ' +
             top(bySelf, 12).map(([leaf, n]) => `${leaf} ${percent(n, total)}`).join(', ') + '.', '');
  process.stdout.write(lines.join('\n') + '\n');
}

main();
