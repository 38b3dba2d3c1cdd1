// Labels and catch parameters keep working after renaming.
function search(grid, target) {
  var found = null
  rows: for (var r = 0; r < grid.length; r++) {
    var row = grid[r]
    cols: for (var c = 0; c < row.length; c++) {
      if (row[c] < 0) continue rows
      if (row[c] === 0) continue cols
      if (row[c] === target) {
        found = r + ":" + c
        break rows
      }
    }
  }
  return found
}
console.log(search([[1, 2], [-1, 7], [0, 7]], 7))
function catcher(fn) {
  var e = "outer"
  try {
    fn()
  } catch (e) {
    var inner = e
    e = "reassigned"
  }
  return e + "/" + inner
}
console.log(catcher(function () { throw "boom" }))
function catchShadow() {
  var err = 1
  try { throw 2 } catch (err) { err = err + 10 }
  return err
}
console.log(catchShadow())
function labelledBlock(x) {
  var out = "start"
  done: {
    if (x) break done
    out = "not broken"
  }
  return out
}
console.log(labelledBlock(true), labelledBlock(false))
function sameNameLabel() {
  var loop = 0
  loop: while (true) {
    loop++
    if (loop > 3) break loop
  }
  return loop
}
console.log(sameNameLabel())
