'use strict';
// Turns an exerciser's calls into comparable lines, awaiting the calls that
// return promises. Error messages that quote a renamable name are compared
// without it, on top of what sandbox.js already normalises.
const { Serialise, NormaliseMessage } = require('./sandbox');

const kCallTimeout = 10000;

// Messages of the modern language that quote a binding, class or private
// name ("Cannot access 'total' before initialization"); renaming changes the
// name and nothing else.
const kQuotingMessages = [
  [/^Cannot access '[^']*' before initialization$/, "Cannot access '<name>' before initialization"],
  [/^Class constructor \S+ cannot be invoked without 'new'$/, "Class constructor <name> cannot be invoked without 'new'"],
  [/^Cannot (read|write) private member #\S+ (from|to) an object whose class did not declare it$/,
    'Cannot $1 private member <name> $2 an object whose class did not declare it'],
  [/^Private (field|method|accessor) '#[^']*' /, 'Private $1 <name> '],
  [/^Cannot destructure '[^']*' as it is (\w+)\.$/, 'Cannot destructure <expr> as it is $1.'],
  [/^Cannot destructure property '([^']*)' of '[^']*' as it is (\w+)\.$/, "Cannot destructure property '$1' of <expr> as it is $2."],
  [/^Identifier '[^']*' has already been declared$/, "Identifier '<name>' has already been declared"],
];

function NormaliseModernMessage(message) {
  let text = NormaliseMessage(message);
  for (const [pattern, replacement] of kQuotingMessages) text = text.replace(pattern, replacement);
  return text;
}

function DescribeError(error) {
  if (error === null || (typeof error !== 'object' && typeof error !== 'function')) {
    return 'throws ' + Serialise(error);
  }
  try {
    return 'throws ' + String(error.name) + ': ' + NormaliseModernMessage(error.message);
  } catch (e) {
    return 'throws <unreadable error>';
  }
}

function LineOf(value) {
  return typeof value === 'string' ? JSON.stringify(value) : Serialise(value);
}

// A revoked proxy (a finished draft, say) throws on any property read.
function IsThenable(value) {
  try {
    return Boolean(value) && typeof value.then === 'function';
  } catch (error) {
    return false;
  }
}

function WithTimeout(promise, ms) {
  let timer;
  const late = new Promise((resolve) => { timer = setTimeout(() => resolve({ late: true }), ms); });
  return Promise.race([promise.then((value) => ({ value }), (error) => ({ error })), late])
    .finally(() => clearTimeout(timer));
}

// A recorder keeps one slot per call in call order; `record(label, call)`
// fills its slot at once for a plain value and later for a promise, and
// returns a promise that settles when the slot is filled. `Lines()` waits for
// every slot.
function NewRecorder() {
  const slots = [];
  const pending = [];
  const record = (label, call) => {
    const index = slots.length;
    const head = label + ' => ';
    slots.push(head + '<pending>');
    let value;
    try {
      value = call();
    } catch (error) {
      slots[index] = head + DescribeError(error);
      return Promise.resolve();
    }
    if (!IsThenable(value)) {
      slots[index] = head + LineOf(value);
      return Promise.resolve();
    }
    const settled = WithTimeout(Promise.resolve(value), kCallTimeout).then((outcome) => {
      if (outcome.late) slots[index] = head + 'timeout';
      else if ('error' in outcome) slots[index] = head + 'rejects ' + DescribeError(outcome.error).slice(7);
      else slots[index] = head + 'resolves ' + LineOf(outcome.value);
    });
    pending.push(settled);
    return settled;
  };
  const note = (line) => { slots.push(line); };
  const Lines = async () => {
    await Promise.all(pending);
    return slots.slice();
  };
  return { record, note, Lines };
}

module.exports = { NewRecorder, DescribeError };
