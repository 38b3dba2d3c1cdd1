// A var that no function encloses is a global, even inside a block.
if (true) {
  var blockGlobal = "from block"
}
for (var loopGlobal = 0; loopGlobal < 2; loopGlobal++) {
  var insideLoop = loopGlobal
}
{
  var braced = "braced"
}
try {
  var inTry = "try"
} catch (e) {
  var inCatch = "catch"
}
function reader() {
  return [blockGlobal, loopGlobal, insideLoop, braced, inTry, typeof inCatch].join(" ")
}
console.log(reader())
console.log(typeof this.blockGlobal, "braced" in this)
var viaThis = "global this"
console.log(this.viaThis)
function setsGlobal() {
  implicitGlobal = "implicit"
}
setsGlobal()
console.log(implicitGlobal)
