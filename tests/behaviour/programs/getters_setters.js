// Accessors in object literals, with keyword and string names.
var temperature = {
  _c: 0,
  get celsius() { return this._c },
  set celsius(v) { this._c = v },
  get fahrenheit() {
    return this._c * 9 / 5 + 32
  },
  set fahrenheit(f) {
    this._c = (f - 32) * 5 / 9
  },
  get "in kelvin"() { return this._c + 273.15 },
  get default() { return "default getter" },
  set if(v) { this._if = v },
  get if() { return this._if },
  get: function () { return "method named get" },
  set: function (v) { return "method named set " + v }
}
temperature.celsius = 100
console.log(temperature.fahrenheit, temperature["in kelvin"])
temperature.fahrenheit = 32
console.log(temperature.celsius, temperature.default)
temperature.if = "iffy"
console.log(temperature.if, temperature.get(), temperature.set(1))
var d = Object.getOwnPropertyDescriptor(temperature, "celsius")
console.log(typeof d.get, typeof d.set, d.enumerable)
var counter = {
  n: 0,
  get next() { return ++this.n }
}
counter.next
counter.next
console.log(counter.n)
