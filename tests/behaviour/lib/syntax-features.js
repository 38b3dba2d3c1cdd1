'use strict';
// Lists the syntax newer than ES5 that a source text uses, so a suite can
// check that the file it packs really exercises the modern language (a
// pinned build that turned out transpiled to ES5 would test nothing new).
//   node lib/syntax-features.js FILE [module]   prints the list
const acorn = require('acorn');

// Node type (or a test on a node) -> feature name.
const kByType = {
  ArrowFunctionExpression: 'arrow',
  ClassDeclaration: 'class',
  ClassExpression: 'class',
  PropertyDefinition: 'class field',
  PrivateIdentifier: 'private #name',
  StaticBlock: 'static block',
  TemplateLiteral: 'template',
  TaggedTemplateExpression: 'tagged template',
  SpreadElement: 'spread',
  RestElement: 'rest',
  ObjectPattern: 'destructuring',
  ArrayPattern: 'destructuring',
  AssignmentPattern: 'default value',
  ForOfStatement: 'for-of',
  AwaitExpression: 'await',
  YieldExpression: 'yield',
  ChainExpression: 'optional chaining',
  ImportDeclaration: 'import',
  ExportNamedDeclaration: 'export',
  ExportDefaultDeclaration: 'export',
  ExportAllDeclaration: 'export',
  ImportExpression: 'dynamic import',
  Super: 'super',
};

function FeaturesOfNode(node, found) {
  const byType = kByType[node.type];
  if (byType) found.add(byType);
  switch (node.type) {
    case 'VariableDeclaration':
      if (node.kind !== 'var') found.add(node.kind);
      break;
    case 'FunctionDeclaration': case 'FunctionExpression':
      if (node.generator) found.add('generator');
      if (node.async) found.add('async function');
      break;
    case 'ArrowFunctionExpression':
      if (node.async) found.add('async function');
      break;
    case 'Property':
      if (node.computed) found.add('computed key');
      if (node.shorthand) found.add('shorthand property');
      if (node.method) found.add('method shorthand');
      break;
    case 'ForOfStatement':
      if (node.await) found.add('for-await');
      break;
    case 'LogicalExpression':
      if (node.operator === '??') found.add('??');
      break;
    case 'AssignmentExpression':
      if (node.operator === '**=') found.add('**');
      if (['&&=', '||=', '??='].includes(node.operator)) found.add('logical assignment');
      break;
    case 'BinaryExpression':
      if (node.operator === '**') found.add('**');
      if (node.left.type === 'PrivateIdentifier') found.add('#x in o');
      break;
    case 'MetaProperty':
      found.add(node.meta.name + '.' + node.property.name);
      break;
    case 'Literal':
      FeaturesOfLiteral(node, found);
      break;
    default:
      break;
  }
}

function FeaturesOfLiteral(node, found) {
  if (typeof node.bigint === 'string') found.add('BigInt');
  if (typeof node.value === 'number' && /_/.test(node.raw)) found.add('numeric separator');
  if (typeof node.value === 'number' && /^0[bBoO]/.test(node.raw)) found.add('binary/octal literal');
  if (node.regex && /[uysdv]/.test(node.regex.flags)) found.add('regex flag ' + node.regex.flags.replace(/[gim]/g, ''));
}

function Walk(node, found) {
  if (Array.isArray(node)) {
    for (const item of node) Walk(item, found);
    return;
  }
  if (!node || typeof node.type !== 'string') return;
  FeaturesOfNode(node, found);
  for (const key of Object.keys(node)) {
    const value = node[key];
    if (value && typeof value === 'object') Walk(value, found);
  }
}

// Returns the sorted feature names; throws a SyntaxError if acorn cannot
// parse the text with that goal.
function SyntaxFeatures(text, isModule) {
  const tree = acorn.parse(text, {
    ecmaVersion: 'latest',
    sourceType: isModule ? 'module' : 'script',
    allowHashBang: true,
    allowReturnOutsideFunction: !isModule,
  });
  const found = new Set();
  Walk(tree, found);
  return Array.from(found).sort();
}

// The names that ES5 lacks and that almost every modern build has; a file
// with none of them is no test of the new syntax.
const kCoreModern = ['let', 'const', 'class', 'arrow', 'template', 'spread', 'rest', 'destructuring', 'import', 'export'];

function UsesModernSyntax(features) {
  return features.some((f) => kCoreModern.includes(f));
}

if (require.main === module) {
  const text = require('fs').readFileSync(process.argv[2], 'utf8');
  console.log(SyntaxFeatures(text, process.argv[3] === 'module').join(', '));
}

module.exports = { SyntaxFeatures, UsesModernSyntax };
