'use strict';
// Fresh realms to load library builds into: a bare vm context, a jsdom page,
// or node's own context for builds made for node. Scripts run as scripts;
// CommonJS files run inside the function node wraps them in, so their
// top-level names stay local as they do under require().
const path = require('path');
const vm = require('vm');
const { createRequire } = require('module');
const { JSDOM } = require('jsdom');
const { CapturingConsole } = require('./sandbox');
const { DescribeError } = require('./recorder');

const kPage = '<!DOCTYPE html><html><head></head><body><div id="root"></div></body></html>';
const kCommonJsParameters = ['exports', 'require', 'module', '__filename', '__dirname', 'console'];

// Timers come from the host: libraries defer work with them (promise
// schedulers, animation fallbacks) and the exercisers wait for it.
function Timers() {
  return { setTimeout, clearTimeout, setInterval, clearInterval, queueMicrotask };
}

// kind: 'plain', 'dom' or 'node'. Console output of the loaded code lands in
// `lines`.
function NewRealm(kind, lines) {
  const console = CapturingConsole(lines);
  if (kind === 'dom') {
    const page = new JSDOM(kPage, { runScripts: 'outside-only', url: 'http://localhost/', pretendToBeVisual: true });
    const context = page.getInternalVMContext();
    context.console = console;
    return { context, global: page.window, console, close: () => page.window.close() };
  }
  if (kind === 'node') return { context: null, global: globalThis, console, close: () => {} };
  const context = vm.createContext(Object.assign({ console }, Timers()));
  // The context's own global sees its built-ins (JSON, Array) as well.
  return { context, global: vm.runInContext('globalThis', context), console, close: () => {} };
}

// Runs one script ({file, text, origin, commonjs}) in the realm; `origin` is
// where the unpacked file lives, so a packed CommonJS file requires what the
// original would. Returns {exports} or {error}.
function LoadScript(realm, script) {
  try {
    if (script.commonjs) return { exports: RunCommonJs(realm, script) };
    if (!realm.context) throw new Error('a script needs a vm context');
    new vm.Script(script.text, { filename: script.file }).runInContext(realm.context, { timeout: 60000 });
    return {};
  } catch (error) {
    return { error: DescribeError(error) };
  }
}

function RunCommonJs(realm, script) {
  const module = { exports: {} };
  const options = { filename: script.file };
  if (realm.context) options.parsingContext = realm.context;
  const wrapper = vm.compileFunction(script.text, kCommonJsParameters, options);
  const origin = script.origin || script.file;
  wrapper.call(module.exports, module.exports, createRequire(origin), module, origin, path.dirname(origin), realm.console);
  return module.exports;
}

module.exports = { NewRealm, LoadScript };
