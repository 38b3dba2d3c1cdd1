// Labels, switch with fall-through, break and continue by label.
var out = []
loop1:
for (var i = 0; i < 4; i++) {
  loop2: for (var j = 0; j < 4; j++) {
    if (j === 1) continue loop2
    if (j === 3) continue loop1
    if (i === 3) break loop1
    out.push(i + "" + j)
  }
}
console.log(out.join(" "))
block: {
  out.push("in block")
  if (out.length) break block
  out.push("never")
}
console.log(out[out.length - 1])
function kind(x) {
  switch (typeof x) {
    case "number":
      if (x < 0) return "negative"
    case "bigint":
      return "number-ish"
    case "string": {
      return "string"
    }
    default:
      return "other"
    case "boolean":
      return "bool"
  }
}
console.log(kind(1), kind(-1), kind("s"), kind(true), kind(null))
var r = ""
switch (3) {
  case 1: r += "1"
  case 3: r += "3"
  case 4: r += "4"; break
  case 5: r += "5"
}
console.log(r)
var w = 0
lbl: while (true) {
  w++
  do {
    w++
    if (w > 5) break lbl
  } while (true)
}
console.log(w)
var default_ = {default: 1}
switch (default_.default) { case 1: console.log("default key") }
