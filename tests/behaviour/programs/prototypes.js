// Constructors, prototypes and inheritance in ES5 style.
function Animal(name) {
  this.name = name
}
Animal.prototype.speak = function () {
  return this.name + " makes a sound"
}
function Dog(name) {
  Animal.call(this, name)
}
Dog.prototype = Object.create(Animal.prototype)
Dog.prototype.constructor = Dog
Dog.prototype.speak = function () {
  return Animal.prototype.speak.call(this) + " (woof)"
}
var d = new Dog("Rex")
console.log(d.speak(), d instanceof Dog, d instanceof Animal, Object.getPrototypeOf(d) === Dog.prototype)
var proto = {greet: function () { return "hi " + this.who }}
var obj = Object.create(proto, {who: {value: "there", enumerable: true}})
console.log(obj.greet(), Object.keys(obj))
Object.defineProperty(obj, "computed", {
  get: function () { return this.who.toUpperCase() },
  enumerable: false
})
console.log(obj.computed, JSON.stringify(obj))
function Point(x, y) {
  if (!(this instanceof Point)) return new Point(x, y)
  this.x = x
  this.y = y
}
Point.prototype = {
  constructor: Point,
  add: function (p) { return Point(this.x + p.x, this.y + p.y) },
  toString: function () { return "(" + this.x + ", " + this.y + ")" }
}
console.log(String(Point(1, 2).add(new Point(3, 4))))
console.log(Object.prototype.toString.call([]), Object.prototype.hasOwnProperty.call(d, "name"))
