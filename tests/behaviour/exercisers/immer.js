'use strict';
// immer: drafts of objects, arrays, Maps and Sets, structural sharing,
// patches and their inverses, freezing, curried producers, manual drafts,
// `current`/`original`, returning `nothing`, and the errors it reports.
// The same exerciser serves the CommonJS build and the module build.
const kBase = () => ({ todos: [{ id: 1, text: 'a', done: false }, { id: 2, text: 'b', done: true }], meta: { count: 2, tags: ['x'] }, untouched: { deep: [1] } });

const Entries = (value) => (value instanceof Object && typeof value.entries === 'function' && !Array.isArray(value) ? Array.from(value.entries()) : value);

function Recipes(immer) {
  return [
    ['toggle', (d) => { d.todos[0].done = !d.todos[0].done; }],
    ['push', (d) => { d.todos.push({ id: 3, text: 'c', done: false }); d.meta.count += 1; }],
    ['splice', (d) => { d.todos.splice(0, 1); d.meta.tags.unshift('y', 'z'); }],
    ['delete', (d) => { delete d.meta.tags; d.meta.added = { nested: true }; }],
    ['replace', () => ({ replaced: true })],
    ['nothing', () => immer.nothing],
    ['no change', (d) => { d.meta.count = 2; }],
    ['reverse and sort', (d) => { d.todos.reverse(); d.todos.sort((a, b) => a.id - b.id); d.todos.length = 1; }],
    ['assign spread', (d) => { Object.assign(d.meta, { count: 9, ...d.untouched }); }],
    ['throws', (d) => { d.meta.count = 5; throw new RangeError('inside recipe'); }],
  ];
}

function Patches(immer, record) {
  immer.enablePatches();
  for (const [name, recipe] of Recipes(immer)) {
    record('patches ' + name, () => {
      const base = kBase();
      const [next, patches, inverse] = immer.produceWithPatches(base, recipe);
      const back = next === undefined ? undefined : immer.applyPatches(next, inverse);
      return [next, patches, inverse, next === base, next && next.untouched === base.untouched, JSON.stringify(back) === JSON.stringify(base),
        Object.isFrozen(next), next && Object.isFrozen(next.todos)];
    });
  }
  record('apply patches', () => immer.applyPatches({ a: [1, 2], m: { k: 1 } },
    [{ op: 'add', path: ['a', '-'], value: 3 }, { op: 'replace', path: ['m', 'k'], value: 2 }, { op: 'remove', path: ['a', 0] }]));
  record('bad patch', () => immer.applyPatches({}, [{ op: 'move', path: ['x'] }]));
}

function MapsAndSets(immer, record) {
  immer.enableMapSet();
  record('map draft', () => {
    const base = new Map([['a', { v: 1 }], ['b', { v: 2 }]]);
    const next = immer.produce(base, (d) => { d.get('a').v = 10; d.delete('b'); d.set('c', { v: 3 }); });
    return [Entries(next), Entries(base), next.get('c').v, next === base];
  });
  record('set draft', () => {
    const base = new Set([1, 2, { o: 1 }]);
    const next = immer.produce(base, (d) => { d.add(4); d.delete(1); for (const item of d) if (typeof item === 'object') item.o = 2; });
    return [Array.from(next), Array.from(base)];
  });
  record('map patches', () => immer.produceWithPatches({ m: new Map([['k', 1]]) }, (d) => { d.m.set('k', 2); d.m.set('n', 3); }).slice(1));
}

function Drafts(immer, record) {
  record('curried', () => { const add = immer.produce((d, n) => { d.total += n; }); return [add({ total: 1 }, 4), add({ total: -1 }, 1)]; });
  record('curried with initial', () => immer.produce((d) => { d.push(d.length); }, [])(undefined));
  record('current and original', () => immer.produce({ a: { b: 1 } }, (d) => { d.a.b = 2; const snap = immer.current(d); const orig = immer.original(d.a); d.seen = [snap.a.b, orig.b, immer.isDraft(d), immer.isDraft(snap)]; }));
  record('manual draft', () => { const draft = immer.createDraft({ list: [1] }); draft.list.push(2); return [immer.isDraft(draft), immer.finishDraft(draft)]; });
  record('freeze', () => { const o = immer.freeze({ a: { b: [1] } }, true); return [Object.isFrozen(o), Object.isFrozen(o.a.b), immer.isDraftable(o), immer.isDraftable(new Date(0))]; });
  record('auto freeze off', () => { const im = new immer.Immer({ autoFreeze: false }); const next = im.produce({ a: 1 }, (d) => { d.a = 2; }); return [next, Object.isFrozen(next)]; });
  record('class instance', () => {
    class Point { constructor(x) { this.x = x; } get double() { return this.x * 2; } }
    Point[immer.immerable] = true;
    const next = immer.produce(new Point(2), (d) => { d.x = 5; });
    return [next.x, next.double, Object.getPrototypeOf(next) === Point.prototype];
  });
  record('errors', () => [() => immer.produce({ a: 1 }, (d) => { d.a = 2; return { b: 1 }; }), () => immer.original({}),
    () => immer.produce(Object.freeze({ a: 1 }), () => {}), () => immer.current(1)]
    .map((f) => { try { return f(); } catch (e) { return e.message; } }));
}

module.exports = function (immer, record) {
  Patches(immer, record);
  MapsAndSets(immer, record);
  Drafts(immer, record);
  for (const [name, recipe] of Recipes(immer)) record('produce ' + name, () => immer.produce(kBase(), recipe));
};
