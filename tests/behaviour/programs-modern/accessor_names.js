// Members named get, set, static, async and constructor-like words in
// objects and classes, accessors whose names are those words, and line
// breaks after get/set/static (an accessor or static member still follows).
const obj = {
  get: 1,
  set() { return 'method named set' },
  get get() { return 'getter named get' },
  static: 'static key',
  async() { return 'method named async' },
  async await() { return 'async method named await' },
  get
  split() { return 'getter across a line break' },
  *gen() { yield 'generator method' },
  async *agen() { yield 'async generator method' },
  'quoted-name'() { return 'quoted method' },
  123() { return 'numeric method' },
  [`comp${'uted'}`]: 'computed',
}
console.log(obj.get, obj.set(), obj.static, obj.async(), obj.split, obj.gen().next().value, obj['quoted-name'](), obj[123](), obj.computed)
obj.await().then((v) => console.log(v))
obj.agen().next().then((r) => console.log(r.value))
console.log(Object.keys(obj).join(','))

class Words {
  static
  staticAcrossLines() { return 'static across a line break' }
  get() { return 'method named get' }
  set(v) { return 'method named set ' + v }
  static() { return 'method named static' }
  static static() { return 'static method named static' }
  get static() { return 'getter named static' }
  static get get() { return 'static getter named get' }
  static set set(v) { Words.stored = v }
  async() { return 'method named async' }
  'constructor'() { this.built = true }
  ['constructor']() { return 'computed constructor is a plain method' }
}
const w = new Words()
Words.set = 'stored value'
console.log(Words.staticAcrossLines(), w.get(), w.set(1), w.static, Words.static(), Words.get, Words.stored, w.async(), w.built)
console.log(Object.getOwnPropertyNames(Words.prototype).sort().join(','))

// new.target tells construction from calls, through Reflect.construct too.
function Probe() { return new.target === undefined ? 'called' : new.target === Probe ? 'constructed' : 'other target' }
class Parent { constructor() { this.kind = new.target === Child ? 'child' : 'parent' } }
class Child extends Parent {}
function Other() {}
console.log(Probe(), new Probe() instanceof Probe, Reflect.construct(Probe, [], Other) instanceof Other, new Child().kind, new Parent().kind)
const viaArrow = function () { return (() => new.target)() !== undefined }
console.log(viaArrow(), new viaArrow() instanceof viaArrow)

// super in object literal methods follows the object's prototype.
const proto = { hello() { return 'proto hello' }, name: 'proto' }
const child = { __proto__: proto, hello() { return 'child > ' + super.hello() + ' ' + super.name } }
console.log(child.hello(), Object.getPrototypeOf(child) === proto)
const ownProto = { ['__proto__']: 'own property' }
const __proto__ = 'shorthand value'
const shorthandProto = { __proto__ }
console.log(Object.getPrototypeOf(ownProto) === Object.prototype, ownProto.__proto__ === 'own property' || Object.keys(ownProto).join(), Object.keys(shorthandProto).join())
