'use strict';
// Runs one form of a test (the original or a packed one) in a fresh realm and
// records what happened: the first error and the phase it came in (harness,
// parse, resolution, runtime), what was printed, and for async tests the first
// Test262:AsyncTest... line. Modules are vm.SourceTextModule objects linked by
// file name within the test's folder, so a test importing itself gets itself.
const path = require('path');
const vm = require('vm');
const { CreateRealm, InRealmError } = require('./realm');

const ASYNC_DONE = 'Test262:AsyncTestComplete';
const ASYNC_FAILED = 'Test262:AsyncTestFailure';

function Describe(value) {
  try {
    if (value !== null && (typeof value === 'object' || typeof value === 'function')) {
      const constructor = value.constructor;
      const type = typeof constructor === 'function' && constructor.name ? constructor.name : 'Object';
      return { type, message: String(value.message).slice(0, 300) };
    }
    return { type: typeof value, message: String(value).slice(0, 300) };
  } catch (error) {
    return { type: 'unknown', message: 'the thrown value could not be described' };
  }
}

// Loads the modules a run may reach: `sources` maps a file path to
// {text, json}. Every module is made once per run, so cycles and repeated
// imports see one instance.
function ModuleLoader(realm, sources, testPath) {
  const made = new Map();
  const ready = new Map();
  const compiled = new Set();
  const failed = new Set();
  const referrerPath = (referrer) => (referrer && referrer.identifier) || testPath;
  const resolve = (specifier, referrer) => path.posix.join(path.posix.dirname(referrerPath(referrer)), specifier);

  function Make(file) {
    const source = sources.get(file);
    if (!source) throw new Error('Cannot find module ' + file);
    if (source.json) {
      // Parsed now, while linking, so bad JSON fails in the resolution phase.
      const value = realm.parseJson(source.text);
      return new vm.SyntheticModule(['default'], function () { this.setExport('default', value); }, { context: realm.context, identifier: file });
    }
    try {
      const module = new vm.SourceTextModule(source.text, { context: realm.context, identifier: file, importModuleDynamically: DynamicImport });
      compiled.add(file);
      return module;
    } catch (error) {
      failed.add(file);
      throw error;
    }
  }

  function Load(file) {
    if (!made.has(file)) made.set(file, Make(file));
    return made.get(file);
  }

  function Linker(specifier, referrer) {
    return Load(resolve(specifier, referrer));
  }

  function LinkAndEvaluate(file) {
    if (!ready.has(file)) {
      ready.set(file, (async () => {
        const module = Load(file);
        if (module.status === 'unlinked') await module.link(Linker);
        return module;
      })().catch((error) => { throw InRealmError(realm, error); }));
    }
    return ready.get(file).then(async (module) => {
      await module.evaluate();
      return module;
    });
  }

  function DynamicImport(specifier, referrer) {
    return LinkAndEvaluate(resolve(specifier, referrer));
  }

  return { Load, Linker, DynamicImport, compiled, failed };
}

function WaitForAsyncResult(realm, waitMs) {
  return new Promise((resolve) => {
    let timer = null;
    const check = (message) => {
      if (message.startsWith(ASYNC_DONE) || message.startsWith(ASYNC_FAILED)) {
        clearTimeout(timer);
        resolve(message);
      }
    };
    realm.listeners.push(check);
    timer = setTimeout(() => resolve(null), waitMs);
  });
}

async function RunModule(loader, testPath, observe) {
  let module;
  try {
    module = loader.Load(testPath);
  } catch (error) {
    return observe('parse', error);
  }
  try {
    await module.link(loader.Linker);
  } catch (error) {
    return observe('resolution', error);
  }
  try {
    await module.evaluate();
  } catch (error) {
    return observe('runtime', error);
  }
  return null;
}

function RunScript(realm, loader, testPath, text, observe) {
  let script;
  try {
    script = new vm.Script(text, { filename: testPath, importModuleDynamically: loader.DynamicImport });
  } catch (error) {
    return observe('parse', error);
  }
  try {
    script.runInContext(realm.context);
  } catch (error) {
    return observe('runtime', error);
  }
  return null;
}

// run: {testPath, mode, text, sources, harness (compiled vm.Script list),
// isAsync, asyncWaitMs}. Returns {error, asyncResult, printed, compiled, failed}.
async function Execute(run) {
  const realm = CreateRealm();
  const loader = ModuleLoader(realm, run.sources, run.testPath);
  realm.dynamicImport = loader.DynamicImport;
  const observed = { error: null, asyncResult: null, printed: realm.printed, compiled: loader.compiled, failed: loader.failed };
  const observe = (phase, error) => { observed.error = { phase, ...Describe(error) }; return observed; };
  const asyncResult = run.isAsync ? WaitForAsyncResult(realm, run.asyncWaitMs) : null;
  try {
    for (const script of run.harness) script.runInContext(realm.context);
  } catch (error) {
    return observe('harness', error);
  }
  const stopped = run.mode === 'module'
    ? await RunModule(loader, run.testPath, observe)
    : RunScript(realm, loader, run.testPath, run.text, observe);
  if (!stopped && asyncResult) observed.asyncResult = await asyncResult;
  return observed;
}

module.exports = { Execute, ASYNC_DONE };
