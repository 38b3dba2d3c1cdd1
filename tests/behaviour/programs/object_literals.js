// Object literals with methods, accessors and keyword-named keys.
var o = {
  if: 1,
  default: 2,
  "class": 3,
  new: 4,
  in: 5,
  get: 6,
  set: 7,
  7: "seven",
  0x10: "sixteen",
  1.5: "one and a half",
  method: function (a) { return a * 2 },
  get value() { return this._v || 0 },
  set value(v) { this._v = v * 10 },
  get "quoted"() { return "q" },
  get 9() { return "nine" }
}
o.value = 3
console.log(o.if, o.default, o.class, o.new, o.in, o.get, o.set)
console.log(o[7], o[16], o["1.5"], o.method(21), o.value, o.quoted, o[9])
var p = {
  delete: function () { return "del" },
  catch: function () { return "catch" },
  typeof: "t",
  instanceof: "i",
  var: "v",
  function: "f",
  return: "r",
  this: "th",
  null: "n",
  true: "tr"
}
console.log(p.delete(), p.catch(), p.typeof, p.instanceof, p.var, p.function, p.return, p.this, p.null, p.true)
var q = {a: {b: {c: [1, {d: 2}]}}}
console.log(q.a.b.c[1].d)
var empty = {}
console.log(typeof empty, Object.keys(empty).length)
var methods = {
  one: function () { return 1 },
  two: function () { return 2 }
}
var r = methods.one() + methods.two()
console.log(r)
var s = {f: function () { return this.g() }, g: function () { return "g" }}.f()
console.log(s)
var t = {a: 1}.a
console.log(t)
var u = {x: 1}
["x"]
console.log(u)
var keys = []
for (var k in {z: 1, y: 2, x: 3}) keys.push(k)
console.log(keys.join(""))
