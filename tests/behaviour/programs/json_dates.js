// JSON, Math and dates with fixed values.
var data = {name: "x", list: [1, 2, {deep: true}], nothing: null, when: new Date(Date.UTC(2020, 1, 29))}
var text = JSON.stringify(data)
console.log(text)
var back = JSON.parse(text, function (k, v) { return k === "deep" ? !v : v })
console.log(back.list[2].deep, back.when)
console.log(JSON.stringify({a: [1, 2]}, null, 2))
console.log(JSON.stringify("\u2028\n\"quoted\""))
var d = new Date(Date.UTC(1999, 11, 31, 23, 59, 59))
console.log(d.toISOString(), d.getUTCDay(), d.getTime() % 1000)
console.log(Math.max(), Math.min(1, -1), Math.pow(2, 10), Math.sqrt(2).toFixed(5), Math.floor(-1.5))
console.log(parseInt("08"), parseInt("0x1A"), parseFloat("3.14abc"), Number("  12  "), +"1e3")
console.log(isNaN("x"), isFinite("12"), (123.456).toPrecision(4), (0.000123).toExponential(2))
console.log(encodeURIComponent("a b&c/ü"), decodeURIComponent("%E2%82%AC"), escape("ä+"), unescape("%u20AC"))
