'use strict';
// Runs one program, or one set of modules, in this fresh process and prints
// what it did as one JSON line: {"lines": [...]}. A fresh process gives each
// run its own module map and globals; waiting for the event loop to empty
// lets promises, timers and top-level await finish.
//   node lib/host.js program FILE script|module
//   node lib/host.js modules JOB.json   job: {exerciser, dom, entry | entries}
// In program lines, "!! " starts what the program threw; "!! does not
// compile" means the script was rejected before it ran.
const fs = require('fs');
const path = require('path');
const vm = require('vm');
const { pathToFileURL } = require('url');
const { CapturingConsole } = require('./sandbox');
const { NewRecorder, DescribeError } = require('./recorder');

const kDomGlobals = ['window', 'document', 'navigator', 'Node', 'Element', 'HTMLElement', 'SVGElement', 'Text', 'Comment', 'Event',
  'MouseEvent', 'CustomEvent', 'KeyboardEvent', 'MutationObserver', 'requestAnimationFrame', 'cancelAnimationFrame', 'getComputedStyle'];

const lines = [];
let finish = () => lines;

process.on('uncaughtException', (error) => { lines.push('!! uncaught ' + DescribeError(error)); });
process.on('unhandledRejection', (reason) => { lines.push('!! unhandled rejection ' + DescribeError(reason)); });
process.once('beforeExit', async () => {
  const result = await finish();
  process.stdout.write(JSON.stringify({ lines: result }) + '\n');
});

function RunScript(file) {
  const context = vm.createContext({ console: CapturingConsole(lines), setTimeout, clearTimeout, setInterval, clearInterval, queueMicrotask });
  let script;
  try {
    script = new vm.Script(fs.readFileSync(file, 'utf8'), { filename: file });
  } catch (error) {
    lines.push('!! does not compile: ' + DescribeError(error));
    return;
  }
  try {
    script.runInContext(context, { timeout: 5000 });
  } catch (error) {
    lines.push('!! ' + DescribeError(error));
  }
}

async function RunModule(file) {
  globalThis.console = CapturingConsole(lines);
  try {
    await import(pathToFileURL(file).href);
  } catch (error) {
    lines.push('!! ' + DescribeError(error));
  }
}

// A jsdom page whose window stands in for the browser's globals.
function InstallPage() {
  const { JSDOM } = require('jsdom');
  const page = new JSDOM('<!DOCTYPE html><html><head></head><body><div id="root"></div></body></html>', { url: 'http://localhost/', pretendToBeVisual: true });
  for (const name of kDomGlobals) {
    if (!(name in globalThis) || name === 'window' || name === 'document') {
      const value = name === 'window' ? page.window : page.window[name];
      globalThis[name] = typeof value === 'function' && /^[a-z]/.test(name) ? value.bind(page.window) : value;
    }
  }
  return page.window;
}

// Imports the job's modules and hands their namespaces to its exerciser; the
// console lines the modules write follow the calls.
async function ExerciseModules(job) {
  const consoleLines = [];
  const g = job.dom ? InstallPage() : globalThis;
  globalThis.console = CapturingConsole(consoleLines);
  const recorder = NewRecorder();
  const load = async (file) => import(pathToFileURL(file).href);
  try {
    let api;
    if (job.entry) {
      api = await load(job.entry);
    } else {
      api = {};
      for (const key of Object.keys(job.entries)) api[key] = await load(job.entries[key]);
    }
    await require(path.join(__dirname, '..', 'exercisers', job.exerciser + '.js'))(api, recorder.record, g);
  } catch (error) {
    recorder.note('stopped: ' + DescribeError(error));
  }
  finish = async () => (await recorder.Lines()).concat(consoleLines.map((line) => 'console: ' + line), lines);
}

function Main() {
  const [mode, file, goal] = process.argv.slice(2);
  if (mode === 'program' && goal === 'module') RunModule(file);
  else if (mode === 'program') RunScript(file);
  else if (mode === 'modules') ExerciseModules(JSON.parse(fs.readFileSync(file, 'utf8')));
  else throw new Error('unknown mode ' + mode);
}

Main();
