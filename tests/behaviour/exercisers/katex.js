'use strict';
// KaTeX: formulas rendered to HTML and MathML strings in inline and display
// mode, macros (given and defined), environments, error reporting with and
// without throwing, and the parse tree.
const kFormulas = [
  'x^2 + y_1 = \\frac{a}{b}',
  '\\sum_{i=0}^{\\infty} \\frac{1}{2^i} = 2',
  '\\int_0^1 f(x)\\,dx \\approx \\sqrt[3]{\\pi}',
  '\\begin{pmatrix} a & b \\\\ c & d \\end{pmatrix}^{-1}',
  '\\begin{aligned} f(x) &= (x+1)^2 \\\\ &= x^2 + 2x + 1 \\end{aligned}',
  '\\left( \\binom{n}{k} \\right) \\cdot \\overbrace{1+\\cdots+1}^{n}',
  '\\mathbb{R} \\to \\mathcal{C}, \\quad \\text{für alle } \\alpha \\in \\Omega',
  'f(x) = \\begin{cases} 0 & x < 0 \\\\ x & \\text{otherwise} \\end{cases}',
  '\\color{red}{a} \\boxed{b} \\cancel{c} \\underline{d} \\vec{v} \\hat{\\theta}',
  '\\RR + \\half',
  '\\def\\sq#1{#1^2} \\sq{x} + \\sq{y}',
  'a \\over b \\atop c',
  '\\frac{1}{',
  '\\unknowncommand{x}',
  '',
];

module.exports = function (katex, record) {
  const macros = { '\\RR': '\\mathbb{R}', '\\half': '\\frac{1}{2}' };
  kFormulas.forEach((tex, i) => {
    record('html#' + i, () => katex.renderToString(tex, { output: 'html', macros: Object.assign({}, macros), throwOnError: true }));
    record('mathml display#' + i, () => katex.renderToString(tex, { output: 'mathml', displayMode: true, macros: Object.assign({}, macros), throwOnError: false, errorColor: '#c00' }));
  });
  record('both outputs', () => katex.renderToString('e^{i\\pi} + 1 = 0', { output: 'htmlAndMathml', fleqn: true, leqno: true }));
  record('global macros', () => {
    const shared = {};
    katex.renderToString('\\gdef\\twice#1{#1#1} \\twice{a}', { macros: shared });
    return [Object.keys(shared), katex.renderToString('\\twice{z}', { macros: shared, output: 'mathml' })];
  });
  record('parse error', () => {
    try {
      return katex.renderToString('\\frac{1}{', { throwOnError: true });
    } catch (error) {
      return [error instanceof katex.ParseError, error.position, error.rawMessage, error.message];
    }
  });
  record('strict and trust', () => [katex.renderToString('\\href{http://x.test}{link}', { trust: false, output: 'mathml' }),
    katex.renderToString('\\href{http://x.test}{link}', { trust: (context) => context.command === '\\href', output: 'mathml' }),
    katex.renderToString('\\text{é}', { strict: 'ignore', output: 'mathml' })]);
  record('parse tree', () => JSON.stringify(katex.__parse('\\frac{a}{b^2}', {}), (key, value) => (key === 'loc' ? undefined : value)));
  record('version', () => katex.version);
};
