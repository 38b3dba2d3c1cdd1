'use strict';
// The real-library suite: each library is loaded, original and packed, into a
// fresh context and its exerciser makes the same calls on both; every call's
// serialised result or error must agree. Forms: one library per file, several
// libraries packed into one output, and a library inside an HTML page.
const fs = require('fs');
const path = require('path');
const vm = require('vm');
const { JSDOM } = require('jsdom');
const { kCombinations, PackFiles } = require('./pack');
const { Serialise, DescribeError, CapturingConsole, RunInContext } = require('./sandbox');

const kRoot = path.join(__dirname, '..');
const kModules = path.join(kRoot, 'node_modules');

// name, the files loaded in order, whether it needs a DOM, and whether it can
// stand inline in a page (a "</script" in its text would end the block).
const kLibraries = [
  { name: 'lodash', files: ['lodash/lodash.js'] },
  { name: 'underscore', files: ['underscore/underscore-umd.js'] },
  { name: 'moment', files: ['moment/moment.js'] },
  { name: 'd3', files: ['d3/d3.js'] },
  { name: 'esprima', files: ['esprima/dist/esprima.js'] },
  { name: 'js-yaml', files: ['js-yaml/dist/js-yaml.js'] },
  { name: 'handlebars', files: ['handlebars/dist/handlebars.js'] },
  { name: 'jquery', files: ['jquery/dist/jquery.js'], dom: true },
  { name: 'angular', files: ['angular/angular.js'], dom: true, noPage: true },
  { name: 'vue', files: ['vue/dist/vue.js'], dom: true },
];

// Libraries packed together into one output, each group loaded into one
// context; the names they define do not collide within a group.
const kGroups = [
  { name: 'lodash+moment+esprima+js-yaml+handlebars', members: ['lodash', 'moment', 'esprima', 'js-yaml', 'handlebars'] },
  { name: 'underscore+d3', members: ['underscore', 'd3'] },
  { name: 'jquery+vue', members: ['jquery', 'vue'], dom: true },
];

function NewContext(dom) {
  const lines = [];
  if (dom) {
    const page = new JSDOM('<!DOCTYPE html><html><head></head><body><div id="root"></div></body></html>', {
      runScripts: 'outside-only',
      url: 'http://localhost/',
    });
    const context = page.getInternalVMContext();
    context.console = CapturingConsole(lines);
    return { context, lines, close: () => page.window.close() };
  }
  const context = vm.createContext({ console: CapturingConsole(lines) });
  return { context, lines, close: () => {} };
}

// Loads `scripts` (texts) into a fresh context and runs the exercisers of
// `names`; returns one line per call.
function Exercise(names, scripts, dom) {
  const sandbox = NewContext(dom);
  const results = [];
  for (const script of scripts) {
    const error = RunInContext(sandbox.context, script.text, script.file, 60000);
    if (error) results.push('load ' + path.basename(script.file) + ' ' + error);
  }
  for (const name of names) {
    const exerciser = require(path.join(kRoot, 'exercisers', name + '.js'));
    const record = (label, call) => {
      let line;
      try {
        const value = call();
        line = typeof value === 'string' ? JSON.stringify(value) : Serialise(value);
      } catch (error) {
        line = DescribeError(error);
      }
      results.push(name + ' ' + label + ' => ' + line);
    };
    try {
      exerciser(sandbox.context, record);
    } catch (error) {
      results.push(name + ' exerciser stopped: ' + DescribeError(error));
    }
  }
  sandbox.close();
  return results;
}

function Compare(expected, actual) {
  let differing = 0;
  let first = null;
  const n = Math.max(expected.length, actual.length);
  for (let i = 0; i < n; ++i) {
    if (expected[i] !== actual[i]) {
      ++differing;
      if (!first) first = 'call ' + (i + 1) + ': expected ' + String(expected[i]).slice(0, 300) +
          ' | got ' + String(actual[i]).slice(0, 300);
    }
  }
  return differing === 0 ? null : differing + ' of ' + n + ' calls differ; first at ' + first;
}

// Wraps a script in a page; ScriptOfPage takes the packed block back out.
function PageOf(text) {
  return '<!DOCTYPE html>\n<html><head><title>page</title>\n<script type="text/javascript">\n' + text +
      '\n</script>\n</head><body><p>text</p></body></html>\n';
}

function ScriptOfPage(page) {
  const match = /<script[^>]*>([\s\S]*?)<\/script>/i.exec(page);
  return match ? match[1] : null;
}

// The page around the script block must come out as it went in.
function SurroundingsOf(page) {
  const match = /<script[^>]*>([\s\S]*?)<\/script>/i.exec(page);
  return match ? page.slice(0, match.index) + '\u0000' + page.slice(match.index + match[0].length) : null;
}

function FileOf(name) {
  return kLibraries.find((l) => l.name === name);
}

function ReadScripts(files) {
  return files.map((file) => ({ file, text: fs.readFileSync(file, 'utf8') }));
}

// One comparison: `forms` packs with the combination and returns the scripts
// to load, or a text saying why it could not.
function CompareForm(label, names, originals, dom, pack, report, counts) {
  const expected = Exercise(names, originals, dom);
  for (const combination of kCombinations) {
    const packed = pack(combination);
    const problem = typeof packed === 'string' ? packed : Compare(expected, Exercise(names, packed, dom));
    if (problem) {
      ++counts.failed;
      report('FAIL library ' + label + ' [' + combination.label + '] ' + problem);
    } else {
      ++counts.passed;
    }
  }
  return expected.length;
}

function RunLibraries(trimlet, work, report) {
  const counts = { passed: 0, failed: 0 };
  const outName = (label, combination, ext) =>
    path.join(work, label.replace(/[^\w]+/g, '_') + '.' + combination.label.replace(/[ -]+/g, '_') + ext);
  for (const library of kLibraries) {
    const files = library.files.map((f) => path.join(kModules, f));
    const originals = ReadScripts(files);
    const calls = CompareForm(library.name, [library.name], originals, library.dom, (combination) => {
      const out = outName(library.name, combination, '.packed.js');
      return PackFiles(trimlet, files, out, combination.args) || ReadScripts([out]);
    }, report, counts);
    console.log('library ' + library.name + ': ' + calls + ' calls compared');
    if (library.noPage) continue;
    const page = path.join(work, library.name + '.page.html');
    fs.writeFileSync(page, PageOf(originals.map((s) => s.text).join('\n')));
    CompareForm(library.name + ' in a page', [library.name], originals, library.dom, (combination) => {
      const out = outName(library.name, combination, '.packed.html');
      const error = PackFiles(trimlet, [page], out, combination.args);
      if (error) return error;
      const packedPage = fs.readFileSync(out, 'utf8');
      const script = ScriptOfPage(packedPage);
      if (script === null) return 'no script block in the packed page';
      if (SurroundingsOf(packedPage) !== SurroundingsOf(fs.readFileSync(page, 'utf8'))) {
        return 'the page around the script block changed';
      }
      return [{ file: out, text: script }];
    }, report, counts);
  }
  for (const group of kGroups) {
    const files = [].concat(...group.members.map((m) => FileOf(m).files.map((f) => path.join(kModules, f))));
    CompareForm(group.name + ' packed together', group.members, ReadScripts(files), group.dom, (combination) => {
      const out = outName(group.name, combination, '.packed.js');
      return PackFiles(trimlet, files, out, combination.args) || ReadScripts([out]);
    }, report, counts);
  }
  return counts;
}

module.exports = { RunLibraries, kLibraries, Exercise, Compare };
