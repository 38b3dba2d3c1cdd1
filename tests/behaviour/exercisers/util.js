'use strict';
// Helpers shared by the exercisers: deterministic argument sets and a loop
// that calls every function of an API with each of them.

// Each entry builds fresh arguments, since some functions change their input.
function ArgumentSets() {
  const double = function (x) { return typeof x === 'number' ? x * 2 : String(x) + '!'; };
  const isOdd = function (x) { return typeof x === 'number' && x % 2 === 1; };
  const byLength = function (a, b) { return String(a).length - String(b).length; };
  return [
    () => [],
    () => [[3, 1, 2, 3]],
    () => [[1, 2, 3, 4, 5], 2],
    () => [[5, 6, 7], double],
    () => [[1, 2, 3, 4], isOdd],
    () => [{ a: 1, b: 'x', c: [1, 2], d: { e: null } }, 'a'],
    () => [{ a: 1, b: 2 }, { b: 3, c: 4 }],
    () => ['Hello World foo-bar_baz', 3],
    () => ['  padded  ', ' '],
    () => [[{ n: 'a', v: 2 }, { n: 'b', v: 1 }, { n: 'a', v: 3 }], 'n'],
    () => [[1, [2, [3, [4]]]], 1],
    () => [[1, 2, 3], [2, 3, 4]],
    () => [null, undefined],
    () => [42, 7],
    () => [-3.75, 1],
    () => [{ x: { y: { z: 1 } } }, 'x.y.z', 'fallback'],
    () => [['b', 'a', 'c'], byLength],
    () => ['a,b,,c', ','],
    () => [true],
  ];
}

// Calls obj[name](...args) for every function name and argument set. A
// function result is also called once, so returned closures run too.
function CallAll(record, prefix, obj, names, sets) {
  const argumentSets = sets || ArgumentSets();
  for (const name of names) {
    if (typeof obj[name] !== 'function') continue;
    argumentSets.forEach((make, i) => {
      let made;
      record(prefix + name + '#' + i, () => {
        made = obj[name].apply(obj, make());
        return made;
      });
      if (typeof made === 'function') record(prefix + name + '#' + i + '()', () => made(3, 4));
    });
  }
}

function FunctionNames(obj, skip) {
  return Object.keys(obj).filter((k) => typeof obj[k] === 'function' && skip.indexOf(k) < 0).sort();
}

module.exports = { ArgumentSets, CallAll, FunctionNames };
