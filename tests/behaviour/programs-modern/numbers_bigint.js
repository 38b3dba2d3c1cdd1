// BigInt literals in every base and their arithmetic, numeric separators,
// number forms whose member access needs care, and the errors mixing types.
const big = 1_000_000_000_000_000_000n
console.log(String(big * big), typeof big, 0x1fn, 0o17n, 0b101n, 10n ** 20n, -7n / 2n, -7n % 2n, 2n ** 64n - 1n)
console.log(BigInt.asUintN(8, 257n), BigInt.asIntN(8, 255n), BigInt('0x10'), 5n > 4, 2n == 2, 2n === 2, [3n, 1n, 2n].sort().join(','))
try { big + 1 } catch (e) { console.log(e.name) }
try { BigInt(1.5) } catch (e) { console.log(e.name) }
console.log(1_000, 1_0.0_1, 1e1_0, 0b1010_1010, 0o7_7, 0xFF_FF, .5_5, 5_5e-1)
console.log(.5, 5., 0.0, -0, 1e21, 1e-7, 123456789012345680000, 0.1 + 0.2, 2 ** 53 + 1, Number.MAX_SAFE_INTEGER)
console.log(1..toString(), 1 .toString(2), 1.0.toFixed(2), (1).constructor === Number, 0x10.toString(), 1e3.toExponential())
console.log(5..toFixed(1), 0.5.toFixed(0), 1.5.toFixed(0), 2.5.toFixed(0), (25).toString(36), Number('0b11'), Number('1_0'))
console.log(Object.is(-0, 0), 1 / -0, Math.round(-0.5), (-0).toString(), String(-0), JSON.stringify(-0), `${-0}`)
console.log(0.000001, 0.0000001, 1e300 * 1e10, -1e300 * 1e10, 9007199254740993, 123e-20, 0xffffffffffffffff)
