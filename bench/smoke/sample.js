/* A small script for the benchmark's smoke run: comments, regular
   expressions, strings, statements ended by line breaks and local variables. */
(function (global) {
  "use strict";

  var VERSION = '1.0.0'   // no semicolon: the line break ends the statement
  var words = /\b([A-Za-z_$][\w$]*)\b/g, slashes = /\/\//;

  function countWords(text) {
    var counts = {}, match, word;
    words.lastIndex = 0;
    while ((match = words.exec(text)) !== null) {
      word = match[1].toLowerCase();
      counts[word] = (counts[word] || 0) + 1;
    }
    return counts
  }

  function topWords(text, limit) {
    var counts = countWords(text), list = [], key;
    for (key in counts) {
      if (Object.prototype.hasOwnProperty.call(counts, key)) list.push({ word: key, count: counts[key] });
    }
    list.sort(function (a, b) { return b.count - a.count || (a.word < b.word ? -1 : 1); });
    return list.slice(0, limit || 10);
  }

  function describe(text) {
    var total = 0, i, top = topWords(text, 3);
    for (i = 0; i < top.length; i++) total += top[i].count;
    return 'top ' + top.length + " words cover " + total + ' of them; url-like: ' + slashes.test(text)
  }

  var a = 1, b = 2
  var c = a + +b, d = a - -b, e = a++ + ++b
  var ratio = c / d / e

  global.sample = {
    version: VERSION,
    countWords: countWords,
    topWords: topWords,
    describe: describe,
    check: function () { return [c, d, e, ratio.toFixed(3)].join(','); }
  };
})(typeof globalThis !== 'undefined' ? globalThis : this);
