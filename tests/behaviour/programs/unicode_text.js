// Non-Latin text in strings, comments and identifiers (UTF-8 file).
var привет = "мир"
var 名前 = "日本語のテキスト"
var ελληνικά = "Ελληνικά κείμενα"
// комментарий: ünïcödé
console.log(привет, 名前, ελληνικά)
console.log("emoji: 🚀 and 𝄞", "🚀".length, "𝄞".charCodeAt(1))
var words = ["ä", "ö", "ü", "ß", "ñ", "ç", "ø", "å", "€", "£", "¥"]
console.log(words.join(""), words.join("").length)
function длина(строка) { var итог = строка.length; return итог }
console.log(длина("тест"))
var o = {ключ: "значение", "ключ два": 2}
console.log(o.ключ, o["ключ два"])
console.log("Ёё Ўў Ђђ".toUpperCase(), "ЁЁ".toLowerCase())
console.log(/[а-я]+/.exec("abc где")[0])
var nbsp = "a b"
console.log(nbsp.charCodeAt(1))
