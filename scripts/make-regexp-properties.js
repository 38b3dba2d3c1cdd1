'use strict';
// Writes the tables of Unicode property names of engine/regexp_syntax.cpp from
// the property tests of the test262 suite, which hold one file per property
// (or property and value) trying each name and alias a pattern may use:
//   node scripts/make-regexp-properties.js [--test262 DIR] [--out FILE]
// DIR is the unpacked suite (build/test262/test262 by default); FILE defaults
// to engine/regexp_syntax.cpp. Only the part between the BEGIN TABLES and END
// TABLES lines is replaced. The names are then tried in the RegExp of the node
// that runs the script, and those it refuses are listed on stderr: an older
// node may not know the newest scripts.
const fs = require('fs');
const path = require('path');

const kRoot = path.join(__dirname, '..');
const kSource = path.join(kRoot, 'engine', 'regexp_syntax.cpp');
const kBegin = '// BEGIN TABLES';
const kEnd = '// END TABLES';
const kLineWidth = 100;
const kGeneralCategory = ['General_Category', 'gc'];
const kScript = ['Script', 'sc'];
const kScriptExtensions = ['Script_Extensions', 'scx'];

// The names inside `/^\p{…}+$/flag` in every file of `dir`.
function NamesIn(dir, flag) {
  const pattern = new RegExp('/\\^\\\\p\\{([A-Za-z0-9_=]+)\\}\\+\\$/' + flag, 'g');
  const names = new Set();
  for (const file of fs.readdirSync(dir)) {
    if (!file.endsWith('.js')) continue;
    for (const match of fs.readFileSync(path.join(dir, file), 'utf8').matchAll(pattern)) {
      names.add(match[1]);
    }
  }
  return names;
}

function UnicodeVersion(dir) {
  for (const file of fs.readdirSync(dir)) {
    const match = /Unicode v(\d+\.\d+\.\d+)/.exec(
        file.endsWith('.js') ? fs.readFileSync(path.join(dir, file), 'utf8') : '');
    if (match) return match[1];
  }
  throw new Error(dir + ': no Unicode version');
}

function Sorted(set) {
  return [...set].sort((a, b) => (a < b ? -1 : a > b ? 1 : 0));
}

// The values named after one of `names` in `name=value` entries.
function ValuesOf(entries, names) {
  return new Set(entries.filter(([name]) => names.includes(name)).map(([, value]) => value));
}

function SameSets(a, b) {
  return a.size === b.size && [...a].every((x) => b.has(x));
}

// The four lists: General_Category values, Script values (the same list
// serves Script_Extensions), binary properties and properties of strings.
function Collect(test262) {
  const generated = path.join(test262, 'test', 'built-ins', 'RegExp', 'property-escapes',
                              'generated');
  const all = [...NamesIn(generated, 'u')];
  const entries = all.filter((n) => n.includes('=')).map((n) => n.split('='));
  const known = [...kGeneralCategory, ...kScript, ...kScriptExtensions];
  const stranger = entries.find(([name]) => !known.includes(name));
  if (stranger) throw new Error('unknown property with values: ' + stranger[0]);
  const categories = ValuesOf(entries, kGeneralCategory);
  const scripts = ValuesOf(entries, kScript);
  if (!SameSets(scripts, ValuesOf(entries, kScriptExtensions))) {
    throw new Error('Script and Script_Extensions take different values: make two tables');
  }
  const binary = new Set(all.filter((n) => !n.includes('=') && !categories.has(n)));
  const strings = NamesIn(path.join(generated, 'strings'), 'v');
  return {version: UnicodeVersion(generated), categories, scripts, binary, strings};
}

// `constexpr std::string_view name[] = {...};`, as many names to a line as fit.
function TableText(name, comment, names) {
  const lines = ['// ' + comment, 'constexpr std::string_view ' + name + '[] = {'];
  let line = '   ';
  for (const item of Sorted(names).map((n) => ' "' + n + '",')) {
    if (line.length + item.length > kLineWidth) {
      lines.push(line);
      line = '   ';
    }
    line += item;
  }
  lines.push(line, '};');
  return lines.join('\n');
}

function TablesText(lists) {
  return [
    kBegin + ': made by scripts/make-regexp-properties.js; edit the script, not this part.',
    '// Unicode ' + lists.version + ', from the property tests of test262.',
    TableText('kGeneralCategoryValues',
              'Values of General_Category (gc), alone or after `gc=`: \\p{Lu}, \\p{gc=Letter}.',
              lists.categories),
    TableText('kScriptValues', 'Values of Script (sc) and Script_Extensions (scx).',
              lists.scripts),
    TableText('kBinaryProperties', 'Binary properties, alone: \\p{Alpha}.', lists.binary),
    TableText('kStringProperties', 'Properties of strings, alone and with v only.',
              lists.strings),
    kEnd,
  ].join('\n');
}

// The names the running node refuses, as `\p{…}` texts.
function RefusedByNode(lists) {
  const tries = [
    ...Sorted(lists.categories).map((v) => ['gc=' + v, 'u']),
    ...Sorted(lists.scripts).flatMap((v) => [['sc=' + v, 'u'], ['scx=' + v, 'u']]),
    ...Sorted(lists.binary).map((v) => [v, 'u']),
    ...Sorted(lists.strings).map((v) => [v, 'v']),
  ];
  return tries.filter(([name, flag]) => {
    try {
      new RegExp('\\p{' + name + '}', flag);
      return false;
    } catch (e) {
      return true;
    }
  }).map(([name]) => '\\p{' + name + '}');
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
  let test262 = path.join(kRoot, 'build', 'test262', 'test262');
  let out = kSource;
  for (let i = 0; i < argv.length; i += 2) {
    if (argv[i] === '--test262' && i + 1 < argv.length) test262 = argv[i + 1];
    else if (argv[i] === '--out' && i + 1 < argv.length) out = argv[i + 1];
    else throw new Error('usage: make-regexp-properties.js [--test262 DIR] [--out FILE]');
  }
  const lists = Collect(test262);
  fs.writeFileSync(out, Splice(fs.readFileSync(kSource, 'utf8'), TablesText(lists)));
  const refused = RefusedByNode(lists);
  if (refused.length > 0) {
    process.stderr.write('node ' + process.version + ' refuses: ' + refused.join(' ') + '\n');
  }
}

Main();
