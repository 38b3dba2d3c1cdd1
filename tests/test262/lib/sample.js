'use strict';
// A deterministic sample spread evenly over the sorted list of test files: the
// list is cut into N runs of equal length and each run gives the file whose
// seeded hash is smallest. The same seed and suite give the same sample on any
// machine, and a file added to the suite moves the choice of at most a few runs.

// FNV-1a, 32 bits: small and stable across node versions.
function Hash(text) {
  let hash = 0x811c9dc5;
  for (let i = 0; i < text.length; ++i) {
    hash ^= text.charCodeAt(i);
    hash = Math.imul(hash, 0x01000193) >>> 0;
  }
  return hash;
}

function EvenSample(items, count, seed, keyOf) {
  if (!(count > 0) || count >= items.length) return items.slice();
  const chosen = [];
  for (let run = 0; run < count; ++run) {
    const from = Math.floor((run * items.length) / count);
    const to = Math.floor(((run + 1) * items.length) / count);
    let best = from;
    let bestHash = Infinity;
    for (let i = from; i < to; ++i) {
      const hash = Hash(seed + ':' + keyOf(items[i]));
      if (hash < bestHash) { best = i; bestHash = hash; }
    }
    chosen.push(items[best]);
  }
  return chosen;
}

module.exports = { EvenSample, Hash };
