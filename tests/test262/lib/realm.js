'use strict';
// A fresh realm for one test run: a vm context whose global has print and $262.
// $262 is built by a script run inside the context, so its objects belong to the
// test's realm; only the hooks it calls are host functions. $262.agent and
// IsHTMLDDA cannot be built on vm and are left out (the tests that need them are
// counted as not runnable before they get here).
const vm = require('vm');

const BOOTSTRAP = new vm.Script(`(function (host) {
  var global = this;
  var $262 = {
    global: global,
    createRealm: function () { return host.createRealm(); },
    evalScript: function (code) { return host.evalScript(String(code)); },
    detachArrayBuffer: function (buffer) { host.detachArrayBuffer(buffer); return null; },
    gc: function () { return host.gc(); }
  };
  function define(name, value) {
    Object.defineProperty(global, name, { value: value, writable: true, configurable: true, enumerable: false });
  }
  define('$262', $262);
  define('print', function print(message) { host.print(String(message)); });
  return {
    errors: { SyntaxError: SyntaxError, TypeError: TypeError, ReferenceError: ReferenceError, Error: Error },
    parseJson: JSON.parse
  };
})`, { filename: 'test262-realm-bootstrap.js' });

// An error raised by host code (a compile error, a missing module) is rethrown
// as the test realm's own error, so that `e.constructor === SyntaxError` holds
// in the test as it would in an engine.
function InRealmError(realm, error) {
  const name = error && typeof error.name === 'string' ? error.name : 'Error';
  const Constructor = realm.errors[name] || realm.errors.Error;
  if (error instanceof Constructor) return error;
  return new Constructor(error && error.message !== undefined ? error.message : String(error));
}

// Returns {context, printed, listeners, errors, parseJson, dynamicImport}:
// printed collects every print() of this realm and of those it creates, and
// each listener hears them as they come; dynamicImport is set by the caller so
// that evalScript code can import modules too.
function CreateRealm(sink) {
  const context = vm.createContext();
  const realm = { context, printed: sink ? sink.printed : [], listeners: sink ? sink.listeners : [] };
  const host = {
    print(message) {
      realm.printed.push(message);
      for (const listener of realm.listeners) listener(message);
    },
    createRealm() {
      const child = CreateRealm(realm);
      child.dynamicImport = realm.dynamicImport;
      return vm.runInContext('$262', child.context);
    },
    evalScript(code) {
      let script;
      try {
        script = new vm.Script(code, { filename: 'evalScript.js', importModuleDynamically: realm.dynamicImport });
      } catch (error) {
        throw InRealmError(realm, error);
      }
      return script.runInContext(context);
    },
    detachArrayBuffer(buffer) {
      structuredClone(buffer, { transfer: [buffer] });
    },
    gc() {
      if (typeof global.gc !== 'function') throw new realm.errors.Error('gc is not exposed (run node with --expose-gc)');
      global.gc();
    },
  };
  const intrinsics = BOOTSTRAP.runInContext(context)(host);
  realm.errors = intrinsics.errors;
  realm.parseJson = intrinsics.parseJson;
  return realm;
}

// Names the host hook a test needs that these realms cannot give, or null.
function MissingHostHook(meta, text) {
  if (meta.features.includes('IsHTMLDDA')) return '$262.IsHTMLDDA';
  if (meta.flags.includes('CanBlockIsFalse')) return 'CanBlockIsFalse (node can block)';
  if (text.includes('$262.agent')) return '$262.agent';
  if (text.includes('$262.AbstractModuleSource')) return '$262.AbstractModuleSource';
  return null;
}

module.exports = { CreateRealm, InRealmError, MissingHostHook };
