// Classes: fields, static fields and blocks, private names (fields,
// methods, accessors, static ones, `#x in o`), accessors, computed keys
// evaluated in order, extends/super, and field lines whose ends need a
// semicolon (a next line starting with `[`, `*` or `in`) or need none.
const order = []
const key = (k) => { order.push(k); return k }

class Base {
  static created = 0
  static #secret = 'base secret'
  static { Base.created = 10; order.push('static block') }
  #count = 0
  label = 'base'
  constructor(start) { this.#count = start; Base.created++ }
  get count() { return this.#count }
  set count(v) { this.#count = v * 2 }
  #bump() { return ++this.#count }
  bump() { return this.#bump() }
  static hasCount(o) { return #count in o }
  static reveal() { return Base.#secret }
  describe() { return `${this.label}:${this.#count}` }
}

class Derived extends Base {
  extra = this.label + '+';
  [key('computed')] = 'field'
  static [key('staticMethod')]() { return 'static computed' }
  [key('method')]() { return super.describe() + '/derived' }
  constructor() { super(5); this.label = 'derived' }
  get #hidden() { return 'private getter' }
  peek() { return this.#hidden }
  describe() { return 'override ' + super.describe() }
}

const d = new Derived()
d.count = 4
console.log(d.count, d.bump(), d.describe(), d.method(), d.peek())
console.log(Base.hasCount(d), Base.hasCount({}), Base.reveal(), Base.created, Derived.staticMethod())
console.log(d.extra, d.computed, order.join(','))
try { Base.prototype.bump.call({}) } catch (e) { console.log(e.name) }

// Field lines: a semicolon is needed before a line starting with `[`, `*`
// or `in`, and after `set` (else `set` starts an accessor); a field with no
// initialiser before `*`, and `async` before a line break, end by ASI.
class Fields {
  a = 1;
  ['b'] = 2
  c = 'c';
  *gen() { yield this.a; yield this.b }
  d
  *[Symbol.iterator]() { yield* this.gen() }
  e = 3;
  in = 'field named in'
  static = 'field named static'
  get = 'field named get'
  set;
  async
  method() { return 'method after async field' }
  'quoted key' = 4
  42 = 'numeric key'
}
const f = new Fields()
console.log([...f].join(','), f.c, f.d, f.in, f.static, f.get, f.set, f.async, f.method(), f['quoted key'], f[42])
console.log(Object.keys(f).join('|'))

// Fields initialise in order, after super() returns, with `this` bound;
// arrows in fields capture the instance.
class Counter {
  count = 0
  increment = () => ++this.count
  double = this.count + 2
}
const counter = new Counter()
const inc = counter.increment
inc(); inc()
console.log(counter.count, counter.double)

// Anonymous class expressions, classes as values, and instance checks.
const make = (base) => class extends base { who() { return 'mixin:' + super.who() } }
class Root { who() { return 'root' } }
const Mixed = make(make(Root))
console.log(new Mixed().who(), new Mixed() instanceof Root, typeof Mixed)
try { Mixed() } catch (e) { console.log(e.name) }
