'use strict';
// Whether an observed run is what the test asks for: no error (and, for async
// tests, Test262:AsyncTestComplete printed), or for a runtime or resolution
// negative test an error of the named type thrown in that phase.
const { ASYNC_DONE } = require('./execute');

function Outcome(observed) {
  if (observed.error) return observed.error.phase + ' ' + observed.error.type + ': ' + observed.error.message;
  if (observed.asyncResult) return observed.asyncResult;
  return 'completed';
}

function Judge(meta, observed) {
  const negative = meta.negative;
  const isAsync = meta.flags.includes('async');
  let ok;
  let wanted;
  if (negative) {
    wanted = negative.phase + ' ' + negative.type;
    ok = observed.error !== null && observed.error.phase === negative.phase && observed.error.type === negative.type;
  } else if (isAsync) {
    wanted = ASYNC_DONE;
    ok = observed.error === null && observed.asyncResult === ASYNC_DONE;
  } else {
    wanted = 'completed';
    ok = observed.error === null;
  }
  return { ok, detail: ok ? '' : 'wanted ' + wanted + ', got ' + (isAsync && !observed.error && !observed.asyncResult ? 'no async result' : Outcome(observed)) };
}

module.exports = { Judge };
