'use strict';
// Adds up the outcomes of every test file and prints them: the parse phase,
// the run phase, what was left out and why, and the failures grouped by folder.
// passed = parse outcomes right + packed runs that did what the original did;
// failed = every other parse outcome, packed run, and file the harness lost.

const TOP_GROUPS = 12;

function Increment(table, key, by = 1) {
  table[key] = (table[key] || 0) + by;
}

function Tally(results, comboNames) {
  const counts = {
    files: results.length, units: 0, parseNegative: 0, parse: {}, notRunnable: {}, nodeFails: 0,
    compared: 0, runs: {}, brokenFiles: 0, passed: 0, failed: 0,
  };
  for (const name of comboNames) counts.runs[name] = { equal: 0, different: 0 };
  const failures = [];
  const nodeFailures = [];
  for (const result of results) {
    if (result.broken && result.step.startsWith('run original')) {
      ++counts.nodeFails;
      nodeFailures.push({ file: result.file, kind: 'whole file', detail: result.broken });
    } else if (result.broken) {
      ++counts.brokenFiles;
      ++counts.failed;
      failures.push({ file: result.file, kind: 'harness', detail: result.broken });
    }
    for (const unit of result.units) {
      ++counts.units;
      if (unit.parse === 'refused as expected' || unit.parse === 'wrongly accepted') ++counts.parseNegative;
      Increment(counts.parse, unit.parse);
      if (unit.parse.endsWith('as expected')) ++counts.passed;
      else {
        ++counts.failed;
        failures.push({ file: unit.file, kind: unit.parse + ' (' + unit.mode + ')', detail: unit.message });
      }
      if (unit.run === 'not runnable') Increment(counts.notRunnable, unit.reason);
      if (unit.run === 'node fails') {
        ++counts.nodeFails;
        nodeFailures.push({ file: unit.file, kind: unit.mode, detail: unit.reason });
      }
      if (unit.run !== 'compared') continue;
      ++counts.compared;
      for (const [name, outcome] of Object.entries(unit.combos)) {
        if (outcome.equal) { ++counts.runs[name].equal; ++counts.passed; continue; }
        ++counts.runs[name].different;
        ++counts.failed;
        failures.push({ file: unit.file, kind: 'run differs (' + unit.mode + ', ' + name + ')', detail: outcome.detail });
      }
    }
  }
  return { counts, failures, nodeFailures };
}

function Folder(file) {
  return file.slice(0, file.lastIndexOf('/'));
}

function TopGroups(entries) {
  const groups = new Map();
  for (const entry of entries) {
    const folder = Folder(entry.file);
    if (!groups.has(folder)) groups.set(folder, { folder, count: 0, example: entry });
    ++groups.get(folder).count;
  }
  return [...groups.values()].sort((a, b) => b.count - a.count || a.folder.localeCompare(b.folder)).slice(0, TOP_GROUPS);
}

function Listing(table) {
  return Object.entries(table).sort((a, b) => b[1] - a[1]).map(([key, count]) => key + ' ' + count).join(', ');
}

function Sum(table) {
  return Object.values(table).reduce((total, count) => total + count, 0);
}

function PrintGroups(title, entries, print) {
  if (!entries.length) return;
  print(title);
  for (const group of TopGroups(entries)) {
    const example = group.example;
    print('    ' + String(group.count).padStart(6) + '  ' + group.folder);
    print('            e.g. ' + example.file.slice(group.folder.length + 1) + ' [' + example.kind + '] ' + String(example.detail || '').slice(0, 240));
  }
}

function PrintSummary({ scope, plan, tally, elapsedMs }, print) {
  const { counts, failures, nodeFailures } = tally;
  const parse = counts.parse;
  const broke = Object.fromEntries(Object.entries(parse).filter(([key]) => key.startsWith('packer broke')));
  print('== test262 summary');
  print('  packer: ' + plan.packer + '; option combinations run: ' + plan.comboNames.join(', '));
  print('  in scope: ' + scope.inScope + ' files of test/language and test/annexB/language' + (scope.filtered ? ' that match the filter' : ''));
  print('  left out, proposal features: ' + Sum(scope.leftOut) + ' files (' + (Listing(scope.leftOut) || 'none') + ')');
  print('  this run: ' + counts.files + ' files' + plan.selection + ', ' + counts.units + ' modes (sloppy/strict/module/raw)');
  print('  parse phase, packing with no option (' + counts.parseNegative + ' parse-negative):');
  print('    accepted as expected   ' + (parse['accepted as expected'] || 0));
  print('    refused as expected    ' + (parse['refused as expected'] || 0));
  print('    wrongly refused        ' + (parse['wrongly refused'] || 0));
  print('    wrongly accepted       ' + (parse['wrongly accepted'] || 0));
  print('    packer broke contract  ' + Sum(broke) + (Sum(broke) ? ' (' + Listing(broke) + ')' : ''));
  print('  run phase:');
  print('    not runnable here      ' + Sum(counts.notRunnable) + (Sum(counts.notRunnable) ? ' (' + Listing(counts.notRunnable) + ')' : ''));
  print('    node 20 fails original ' + counts.nodeFails + ' (left out; a file whose original hangs or kills node counts once)');
  print('    compared               ' + counts.compared);
  for (const [name, runs] of Object.entries(counts.runs)) {
    print('      ' + ('combo ' + name).padEnd(20) + ' same ' + runs.equal + ', different ' + runs.different);
  }
  print('  files lost by the harness (timeout, worker died): ' + counts.brokenFiles);
  PrintGroups('  failures, top folders:', failures, print);
  PrintGroups('  left out because node 20 fails the original, top folders:', nodeFailures, print);
  print('  elapsed: ' + (elapsedMs / 1000).toFixed(1) + ' s');
  print('test262: ' + counts.passed + ' passed, ' + counts.failed + ' failed');
}

module.exports = { Tally, PrintSummary };
