'use strict';
// Writes the character tables of engine/unicode_id.cpp from the Unicode data
// of the node that runs it:
//   node scripts/make-unicode-id.js             rewrites engine/unicode_id.cpp
//   node scripts/make-unicode-id.js --out FILE  writes the result to FILE instead
// Only the part between the BEGIN TABLES and END TABLES lines is replaced; the
// lookup code around it is written by hand. The unit test runs the second form
// and compares FILE with the source, so stale tables fail the build's tests.
const fs = require('fs');
const path = require('path');

const kSource = path.join(__dirname, '..', 'engine', 'unicode_id.cpp');
const kBegin = '// BEGIN TABLES';
const kEnd = '// END TABLES';
const kLineWidth = 100;

// The inclusive ranges of code points from 0x80 up that the class `set` of a
// regular expression matches, in order. ASCII is classed by char_class.h.
function Ranges(set) {
  const pattern = new RegExp('^[' + set + ']$', 'u');
  const ranges = [];
  for (let cp = 0x80; cp <= 0x10FFFF; ++cp) {
    if (!pattern.test(String.fromCodePoint(cp))) continue;
    const last = ranges[ranges.length - 1];
    if (last && last[1] === cp - 1) last[1] = cp;
    else ranges.push([cp, cp]);
  }
  return ranges;
}

function Hex(cp) {
  return '0x' + cp.toString(16).toUpperCase().padStart(4, '0');
}

// `constexpr CodeRange name[] = {...};`, as many ranges to a line as fit.
function TableText(name, comment, ranges) {
  const lines = ['// ' + comment, 'constexpr CodeRange ' + name + '[] = {'];
  let line = '   ';
  for (const [first, last] of ranges) {
    const item = ' {' + Hex(first) + ', ' + Hex(last) + '},';
    if (line.length + item.length > kLineWidth) {
      lines.push(line);
      line = '   ';
    }
    line += item;
  }
  lines.push(line, '};');
  return lines.join('\n');
}

function TablesText() {
  return [
    kBegin + ': made by scripts/make-unicode-id.js; edit the script, not this part.',
    '// Unicode ' + process.versions.unicode + ', as node reported it (process.versions.unicode).',
    TableText('kIdStart', 'ID_Start from 0x80 up.', Ranges('\\p{ID_Start}')),
    '',
    // Unicode counts the joiners as ID_Continue only from 15.1 on.
    TableText('kIdContinue', 'ID_Continue from 0x80 up, and the joiners U+200C and U+200D.',
              Ranges('\\p{ID_Continue}\\u200C\\u200D')),
    '',
    TableText('kSpaceSeparator', 'Zs from 0x80 up.', Ranges('\\p{Zs}')),
    kEnd,
  ].join('\n');
}

// `text` with the lines from the BEGIN mark to the END mark replaced by `tables`.
function Splice(text, tables) {
  const begin = text.indexOf(kBegin);
  const endMark = text.indexOf(kEnd, begin);
  if (begin < 0 || endMark < 0) {
    throw new Error(kSource + ': no ' + kBegin + ' ... ' + kEnd + ' lines');
  }
  return text.slice(0, begin) + tables + text.slice(endMark + kEnd.length);
}

function Main() {
  const argv = process.argv.slice(2);
  let out = kSource;
  if (argv.length === 2 && argv[0] === '--out') out = argv[1];
  else if (argv.length !== 0) throw new Error('usage: make-unicode-id.js [--out FILE]');
  fs.writeFileSync(out, Splice(fs.readFileSync(kSource, 'utf8'), TablesText()));
}

Main();
