'use strict';
// Runs scripts in fresh vm contexts and turns what they do into comparable
// text: every console.log line, every recorded call result, and the error a
// script throws.
const vm = require('vm');

const kMaxDepth = 4;
const kMaxKeys = 60;
const kMaxText = 2000;

// V8 writes source text into some messages ("a.b is not a function"); after
// renaming, that text names other variables while the behaviour is the same.
function NormaliseMessage(message) {
  return String(message)
    .replace(/^.* is not (a function|a constructor|iterable|defined|an object)\b.*$/s, '<expr> is not $1')
    .replace(/^Cannot read properties of (\w+) \(reading .*\)$/s, 'Cannot read properties of $1')
    .replace(/^Cannot set properties of (\w+) \(setting .*\)$/s, 'Cannot set properties of $1');
}

function TypeTag(value) {
  return Object.prototype.toString.call(value).slice(8, -1);
}

function DescribeError(error) {
  if (error === null || (typeof error !== 'object' && typeof error !== 'function')) {
    return 'throws ' + Serialise(error);
  }
  let name;
  let message;
  try {
    name = String(error.name);
    message = NormaliseMessage(error.message);
  } catch (e) {
    return 'throws <unreadable error>';
  }
  return 'throws ' + name + ': ' + message;
}

function SerialiseNode(node) {
  let text;
  try {
    text = node.outerHTML !== undefined ? node.outerHTML : node.nodeName + ':' + node.textContent;
  } catch (e) {
    text = String(node.nodeName);
  }
  return '<' + node.nodeType + ' ' + String(text).slice(0, 300) + '>';
}

function SerialiseNumber(n) {
  return Object.is(n, -0) ? '-0' : String(n);
}

// Turns any value into deterministic text that does not depend on names the
// packer may change (no function source, no constructor names).
function Serialise(value, depth = 0, seen = new Set()) {
  switch (typeof value) {
    case 'undefined': return 'undefined';
    case 'number': return SerialiseNumber(value);
    case 'bigint': return String(value) + 'n';
    case 'boolean': return String(value);
    case 'string': return JSON.stringify(value.length > kMaxText ? value.slice(0, kMaxText) + '…' : value);
    case 'symbol': return 'Symbol(' + String(value.description) + ')';
    case 'function': return '[Function/' + SafeLength(value) + ']';
    default: break;
  }
  if (value === null) return 'null';
  if (seen.has(value)) return '[Circular]';
  if (depth >= kMaxDepth) return '[' + TypeTag(value) + ' …]';
  seen.add(value);
  try {
    return SerialiseObject(value, depth, seen);
  } catch (error) {
    return '[unserialisable ' + DescribeError(error) + ']';
  } finally {
    seen.delete(value);
  }
}

function SafeLength(fn) {
  try { return fn.length; } catch (e) { return '?'; }
}

function SerialiseObject(value, depth, seen) {
  const tag = TypeTag(value);
  if (typeof value.nodeType === 'number' && typeof value.nodeName === 'string') return SerialiseNode(value);
  if (value.window === value) return '[Window]';
  switch (tag) {
    case 'Date': return 'Date(' + (isNaN(value.getTime()) ? 'Invalid' : value.toISOString()) + ')';
    case 'RegExp': return String(value);
    case 'Error': return '[' + DescribeError(value).slice(7) + ']';
    case 'Number': case 'String': case 'Boolean':
      return tag + '(' + Serialise(value.valueOf(), depth + 1, seen) + ')';
    case 'Map': case 'Set': case 'WeakMap': case 'WeakSet': case 'Promise':
      return '[' + tag + ' size=' + value.size + ']';
    default: break;
  }
  if (Array.isArray(value)) {
    const items = [];
    for (let i = 0; i < value.length && i < kMaxKeys; ++i) items.push(Serialise(value[i], depth + 1, seen));
    if (value.length > kMaxKeys) items.push('…' + value.length);
    return '[' + items.join(',') + ']';
  }
  const keys = Object.keys(value);
  const parts = [];
  for (let i = 0; i < keys.length && i < kMaxKeys; ++i) {
    let item;
    try {
      item = Serialise(value[keys[i]], depth + 1, seen);
    } catch (error) {
      item = DescribeError(error);
    }
    parts.push(JSON.stringify(keys[i]) + ':' + item);
  }
  if (keys.length > kMaxKeys) parts.push('…' + keys.length);
  return (tag === 'Object' ? '' : tag) + '{' + parts.join(',') + '}';
}

// A console whose log lines land in `lines`; strings print as they are.
function CapturingConsole(lines) {
  const log = function () {
    const parts = [];
    for (let i = 0; i < arguments.length; ++i) {
      const arg = arguments[i];
      parts.push(typeof arg === 'string' ? arg : Serialise(arg));
    }
    lines.push(parts.join(' '));
  };
  return { log: log, info: log, warn: log, error: log };
}

// Runs one script text in `context`; returns null or the text of the error.
function RunInContext(context, code, filename, timeout) {
  try {
    const script = new vm.Script(code, { filename: filename });
    script.runInContext(context, { timeout: timeout || 5000 });
    return null;
  } catch (error) {
    if (error && error.code === 'ERR_SCRIPT_EXECUTION_TIMEOUT') return 'timeout';
    return DescribeError(error);
  }
}

// Runs a whole program in a fresh context; its result lists each console
// line and ends with the error it threw, if any. The context has its own
// promise job queue, run to the end (within the timeout) before the script
// returns, so what async code prints is in the result too.
function RunProgram(code, filename, timeout) {
  const lines = [];
  const context = vm.createContext({ console: CapturingConsole(lines) }, { microtaskMode: 'afterEvaluate' });
  const error = RunInContext(context, code, filename, timeout);
  if (error) lines.push('!! ' + error);
  return lines;
}

module.exports = { Serialise, DescribeError, CapturingConsole, RunInContext, RunProgram, NormaliseMessage };
