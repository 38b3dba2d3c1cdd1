/*
 * A small script to try trimlet on: ./trimlet.sh packs it into example.packed.js.
 */
function countWords(text) {
  var counts = {}
  var words = text.toLowerCase().split(/\W+/)
  for (var index = 0; index < words.length; index++) {
    var word = words[index]
    if (!word) continue
    counts[word] = (counts[word] || 0) + 1
  }
  return counts
}

function topWords(text, limit) {
  var counts = countWords(text)
  var ranked = Object.keys(counts).sort(function (a, b) {
    return counts[b] - counts[a] || (a < b ? -1 : 1)
  })
  return ranked.slice(0, limit).map(function (word) {
    return word + ": " + counts[word]
  })
}

var sample = "The quick brown fox jumps over the lazy dog. The dog sleeps; the fox runs."
console.log(topWords(sample, 3).join("\n"))
