'use strict';
// A seeded generator of random valid ES5 programs that print what they
// compute. The same seed always gives the same program, so a failure can be
// replayed. Programs always end: loops are bounded by counters the body never
// assigns, and a function only calls functions made before it.

function Random(seed) {
  let state = seed >>> 0;
  const next = () => {
    state = (state + 0x6D2B79F5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return {
    int: (n) => Math.floor(next() * n),
    chance: (p) => next() < p,
    pick: (list) => list[Math.floor(next() * list.length)],
  };
}

const kStringPieces = ['abc', 'x y', '\\n', '\\t', '\\\\', '\\"', "\\'", '\\x41', '\\xe9', '\\u00e9', '\\u4e2d',
  '\\uD83D\\uDE80', '\\0 ', '\\v', '\\b', '\\f', '\\r', '\\/', 'привет', '日本', 'é', '🚀', '%', '%41', '100%',
  '//', '/*', '*/', '<!--', '</script>', 'line\\\ncontinued', 'use strict', '\\a'];
const kRegExps = ['/a+b/g', '/[/]x/', '/\\d+/', '/[a-z]*/i', '/=x/', '/x\\/y/', '/(\\w)\\1/', '/[\\]/]/', '/^\\s*$/m',
  '/./g', '/й+/'];
const kNumbers = ['0', '1', '2', '7', '42', '0x1F', '.5', '1e-3', '2.5e2', '1000', '3.75', '0.1'];
const kKeys = ['if', 'default', 'in', 'new', 'class', 'var', 'get', 'set', 'a', 'b', 'length', 'delete', 'typeof',
  'catch', 'function', 'this', 'null', 'true'];

class Generator {
  constructor(seed) {
    this.r = Random(seed);
    this.counter = 0;
    this.lines = [];
    this.indent = '';
  }

  Name(prefix) { return prefix + (++this.counter); }

  // A scope holds assignable variables, callable functions and labels.
  NewScope(parent, strict) {
    return {
      vars: parent ? parent.vars.slice() : [],
      fns: parent ? parent.fns.slice() : [],
      objects: parent ? parent.objects.slice() : [],
      labels: parent ? parent.labels.slice() : [],
      own: parent ? parent.own : [],
      inFunction: parent ? parent.inFunction : false,
      inLoop: parent ? parent.inLoop : false,
      strict: strict || (parent ? parent.strict : false),
    };
  }

  Emit(text) { this.lines.push(this.indent + text); }

  // Ends a simple statement: ";" or only the line break.
  End() { return this.r.chance(0.5) ? ';' : ''; }

  Comment() {
    switch (this.r.int(6)) {
      case 0: return ' /* c */ ';
      case 1: return '/**/';
      case 2: return ' /*\n*/ ';
      default: return ' ';
    }
  }

  String() {
    const quote = this.r.chance(0.5) ? '"' : "'";
    let text = '';
    for (let n = this.r.int(4); n > 0; --n) text += this.r.pick(kStringPieces);
    return quote + text + quote;
  }

  Number() {
    const n = this.r.pick(kNumbers);
    return this.r.chance(0.1) ? '(' + n + ')' : n;
  }

  Leaf(scope) {
    switch (this.r.int(8)) {
      case 0: case 1: return this.Number();
      case 2: return this.String();
      case 3: return this.r.pick(['true', 'false', 'null', 'undefined']);
      default:
        return scope.vars.length ? this.r.pick(scope.vars) : this.Number();
    }
  }

  Expression(scope, depth) {
    if (depth <= 0 || this.r.chance(0.25)) return this.Leaf(scope);
    const e = () => this.Expression(scope, depth - 1);
    switch (this.r.int(25)) {
      case 0: return e() + ' ' + this.r.pick(['+', '-', '*', '/', '%', '<', '>=', '==', '!==', '&&', '||', '&', '|', '^', '<<', '>>>']) + ' ' + e();
      case 1: {
        const right = e();
        return e() + this.r.pick([' - -', ' + +', '- -', '+ +', ' - +', '+-']) + (/^[-+]/.test(right) ? '(' + right + ')' : right);
      }
      case 2: return this.r.pick(['!', '-', '+', '~', 'typeof ', 'void ', '!!', '- -']) + '(' + e() + ')';
      case 3: return '(' + e() + ' ? ' + e() + ' : ' + e() + ')';
      case 4: return '(' + e() + ', ' + e() + ')';
      case 5: return scope.fns.length ? this.r.pick(scope.fns) + '(' + e() + ', ' + e() + ')' : e();
      case 6: return '[' + e() + ', ' + e() + ']' + (this.r.chance(0.5) ? '[' + this.r.int(3) + ']' : '.length');
      case 7: return this.r.pick(kRegExps) + '.test(' + this.String() + ')';
      case 8: return 'String(' + e() + ').replace(' + this.r.pick(kRegExps) + ', ' + this.String() + ')';
      case 9: {
        // A key may hold a method: call it rather than print its source.
        if (!scope.objects.length) return e();
        const member = this.r.pick(scope.objects) + '.' + this.r.pick(kKeys);
        return '(typeof ' + member + ' == "function" ? ' + member + '(' + this.Number() + ') : ' + member + ')';
      }
      case 10: return '(' + this.String() + ' in ' + (scope.objects.length ? this.r.pick(scope.objects) : '{a: 1}') + ')';
      case 11: return '(' + e() + ' instanceof ' + this.r.pick(['Object', 'Array', 'Function', 'RegExp']) + ')';
      case 12: return '(function (p) { return ' + this.r.pick(['p + 1', 'p * 2', 'p', 'String(p).length']) + ' }(' + e() + '))';
      case 13: return e() + ' / ' + this.Comment() + this.Number() + ' / ' + this.Number();
      case 14: return 'typeof ' + this.r.pick(kRegExps);
      case 15: return this.r.pick(['1 .toString()', '1..toString()', '0x1F.toString(2)', '.5.toFixed(1)', '1e-5.toString()', '(1).toFixed(2)']);
      case 16: return '{' + this.r.pick(kKeys) + ': ' + e() + '}.' + this.r.pick(kKeys);
      case 17: return 'String(' + e() + ').length';
      case 18: return '"k" + ' + e();
      case 19: return scope.vars.length ? '(' + this.r.pick(scope.vars) + this.r.pick(['++', '--']) + ')' : e();
      case 20: return scope.vars.length ? '(' + this.r.pick(['++', '--']) + this.r.pick(scope.vars) + ')' : e();
      case 22:
        // "a < !--b" must not become the comment opener "<!--".
        return scope.vars.length ? '(' + e() + ' < !--' + this.r.pick(scope.vars) + ')' : e();
      case 23: return scope.vars.length ? '(' + this.r.pick(scope.vars) + '-- > ' + e() + ')' : e();
      case 24: return '(' + e() + ' in ' + this.r.pick(['{a: 1, b: 2}', '[1, 2]', '{"in": 0}']) + ')';
      default: return e() + ' + ' + e();
    }
  }

  Print(scope) {
    const args = [];
    for (let n = 1 + this.r.int(3); n > 0; --n) args.push(this.Expression(scope, 3));
    this.Emit('console.log(' + args.join(',' + this.Comment()) + ')' + this.End());
  }

  // A new variable name, or inside a function sometimes the name of an outer
  // variable, which the declaration then shadows for the whole function.
  VarName(scope, prefix) {
    if (scope.inFunction && this.r.chance(0.35)) {
      const outer = scope.vars.filter((v) => scope.own.indexOf(v) < 0);
      if (outer.length) {
        const name = this.r.pick(outer);
        scope.own.push(name);
        return name;
      }
    }
    const name = this.Name(prefix);
    scope.own.push(name);
    return name;
  }

  Var(scope) {
    const name = this.VarName(scope, this.r.chance(0.3) ? 'item' : 'v');
    const forms = this.r.int(6);
    if (forms === 0) {
      this.Emit('var ' + name + this.End());
    } else if (forms === 1) {
      const second = this.VarName(scope, 'w');
      this.Emit('var ' + name + ' = ' + this.Expression(scope, 2) + ',');
      this.Emit('    ' + second + ' = ' + this.Expression(scope, 2) + this.End());
      scope.vars.push(second);
    } else if (forms === 2) {
      this.Emit('var ' + name + ' = ' + this.Expression(scope, 2));
      this.Emit(this.r.pick(['+', '-', '*', '/', '+ +', '- -']) + ' ' + this.Expression(scope, 1) + this.End());
    } else {
      this.Emit('var ' + name + ' = ' + this.Expression(scope, 3) + this.End());
    }
    scope.vars.push(name);
  }

  Assign(scope) {
    if (!scope.vars.length) return this.Var(scope);
    const target = this.r.pick(scope.vars);
    switch (this.r.int(5)) {
      case 0: this.Emit(target + ' ' + this.r.pick(['+=', '-=', '*=', '/=', '|=', '%=']) + ' ' + this.Expression(scope, 2) + this.End()); break;
      case 1: {
        // "a" then "++b" on the next line: two statements.
        const other = this.r.pick(scope.vars);
        this.Emit(target);
        this.Emit(this.r.pick(['++', '--']) + other + this.End());
        break;
      }
      case 2: this.Emit(target + this.r.pick(['++', '--']) + this.End()); break;
      default: this.Emit(target + ' = ' + this.Expression(scope, 3) + this.End());
    }
  }

  Object(scope) {
    const name = this.Name('o');
    const keys = [];
    const count = 1 + this.r.int(4);
    const used = {};
    for (let i = 0; i < count; ++i) {
      const key = this.r.pick(kKeys);
      if (used[key]) continue;
      used[key] = true;
      const value = this.r.int(5);
      if (value === 0) keys.push(key + ': function (q) { return q + ' + this.Expression(scope, 1) + ' }');
      else if (value === 1) keys.push('get ' + key + '() { return ' + this.Expression(scope, 1) + ' }');
      else if (value === 2) keys.push(JSON.stringify(key + ' s') + ': ' + this.Expression(scope, 1));
      else keys.push(key + ': ' + this.Expression(scope, 2));
    }
    if (scope.vars.length) { const v = this.r.pick(scope.vars); keys.push(v + ': ' + v); }
    const layout = this.r.chance(0.5) ? ',\n' + this.indent + '  ' : ', ';
    this.Emit('var ' + name + ' = {' + keys.join(layout) + '}' + this.End());
    scope.objects.push(name);
    this.Emit('console.log(' + name + '.' + this.r.pick(kKeys) + ', Object.keys(' + name + ').join())' + this.End());
  }

  Block(scope, count) {
    const saved = this.indent;
    this.indent += '  ';
    for (let i = 0; i < count; ++i) this.Statement(scope);
    this.indent = saved;
  }

  Function(scope, depth) {
    const name = this.Name('f');
    const inner = this.NewScope(scope, this.r.chance(0.2));
    inner.inFunction = true;
    inner.labels = [];
    inner.inLoop = false;
    inner.own = [];
    const params = [this.VarName(inner, 'p'), this.VarName(inner, 'p')];
    if (params[0] === params[1]) params[1] = this.Name('p');
    inner.vars.push(...params);
    if (this.r.chance(0.3)) params.push(params[0]);
    const asExpression = this.r.chance(0.4);
    const uniqueParams = inner.strict ? params.slice(0, 2) : params;
    this.Emit((asExpression ? 'var ' + name + ' = function ' : 'function ' + name) + '(' + uniqueParams.join(', ') + ') {');
    if (inner.strict) this.Emit('  "use strict"' + this.End());
    if (this.r.chance(0.3)) this.Emit('  var ' + params[0] + ' = ' + params[0] + ' || ' + this.Number() + this.End());
    this.Block(inner, 1 + this.r.int(depth > 1 ? 4 : 2));
    if (this.r.chance(0.2)) {
      this.Emit('  return');
      this.Emit('  ' + this.Leaf(inner));
    } else {
      this.Emit('  return ' + this.Expression(inner, 3) + this.End());
    }
    this.Emit('}' + (asExpression ? this.End() : ''));
    scope.fns.push(name);
    this.Emit('console.log(' + name + '(' + this.Expression(scope, 2) + ', ' + this.Expression(scope, 2) + '))' + this.End());
  }

  Closure(scope) {
    const maker = this.Name('make');
    const count = this.Name('n');
    this.Emit('function ' + maker + '(' + count + ') {');
    this.Emit('  return function () { return ' + count + ' += ' + this.Number() + ' }');
    this.Emit('}');
    const instance = this.Name('c');
    this.Emit('var ' + instance + ' = ' + maker + '(' + this.Number() + ')' + this.End());
    this.Emit('console.log(' + instance + '(), ' + instance + '(), ' + maker + '(0)())' + this.End());
  }

  Loop(scope) {
    const i = this.Name('i');
    const bound = 1 + this.r.int(4);
    const label = this.r.chance(0.4) ? this.Name('L') : null;
    const inner = this.NewScope(scope);
    inner.inLoop = true;
    if (label) inner.labels.push(label);
    const head = label ? label + ':' + (this.r.chance(0.5) ? '\n' + this.indent : ' ') : '';
    const kind = this.r.int(3);
    switch (kind) {
      case 0:
        this.Emit(head + 'for (var ' + i + ' = 0; ' + i + ' < ' + bound + '; ' + i + '++) {');
        break;
      case 1:
        this.Emit('var ' + i + ' = 0' + this.End());
        this.Emit(head + 'while (' + i + '++ < ' + bound + ') {');
        break;
      default:
        this.Emit('var ' + i + ' = 0' + this.End());
        this.Emit(head + 'do {');
        this.Emit('  if (' + i + '++ >= ' + bound + ') break');
        break;
    }
    this.Block(inner, 1 + this.r.int(3));
    if (label && this.r.chance(0.5)) this.Emit('  if (' + i + ' > 1) ' + this.r.pick(['break', 'continue']) + ' ' + label);
    this.Emit(kind === 2 ? '} while (' + i + ' < ' + bound + ')' : '}');
    this.Emit('console.log("loop", ' + i + ')' + this.End());
  }

  If(scope) {
    this.Emit('if (' + this.Expression(scope, 2) + ') {');
    this.Block(this.NewScope(scope), 1 + this.r.int(2));
    if (this.r.chance(0.5)) {
      this.Emit('} else {');
      this.Block(this.NewScope(scope), 1);
    }
    this.Emit('}');
    if (this.r.chance(0.3)) {
      this.Emit('if (' + this.Expression(scope, 1) + ') ' + this.r.pick(kRegExps) + '.test(' + this.String() + ') && console.log("regex after if")' + this.End());
    }
  }

  Switch(scope) {
    this.Emit('switch (' + this.r.int(4) + ') {');
    const cases = [0, 1, 2, 3];
    for (const c of cases) {
      this.Emit('case ' + (this.r.chance(0.2) ? '/x/.source.length - 1 + ' + (c - 1) : c) + ':');
      this.Emit('  console.log("case", ' + c + ', ' + this.Expression(scope, 1) + ')' + this.End());
      if (this.r.chance(0.6)) this.Emit('  break');
    }
    this.Emit('default:');
    this.Emit('  console.log("default")');
    this.Emit('}');
  }

  Try(scope) {
    const e = this.r.chance(0.3) && scope.vars.length ? this.r.pick(scope.vars) : this.Name('e');
    this.Emit('try {');
    this.Block(this.NewScope(scope), 1);
    if (this.r.chance(0.7)) this.Emit('  throw ' + this.r.pick(['new Error(' + this.String() + ')', this.String(), this.Number(), '{code: ' + this.Number() + '}']));
    this.Emit('} catch (' + e + ') {');
    this.Emit('  console.log("caught", typeof ' + e + ', String(' + e + '.message || ' + e + '.code || ' + e + '))' + this.End());
    if (this.r.chance(0.5)) {
      this.Emit('} finally {');
      this.Emit('  console.log("finally")' + this.End());
    }
    this.Emit('}');
  }

  LineStarts(scope) {
    switch (this.r.int(5)) {
      case 0: this.Emit(';(function () { console.log("iife", ' + this.Expression(scope, 1) + ') })()'); break;
      case 1: this.Emit(';[' + this.Expression(scope, 1) + ', 2].forEach(function (x) { console.log("each", x) })'); break;
      case 2: this.Emit('!function () { console.log("bang") }()' + this.End()); break;
      case 3: this.Emit(';' + this.r.pick(kRegExps) + '.test(' + this.String() + ') && console.log("regex statement")'); break;
      default: this.Emit('void function () { console.log("void") }()' + this.End());
    }
  }

  // Line breaks and braces where statements end or run on.
  Hazard(scope) {
    const v = scope.vars.length ? this.r.pick(scope.vars) : '0';
    switch (this.r.int(9)) {
      case 0:
        this.Emit('if (' + this.Expression(scope, 1) + ') console.log("then", ' + v + ')');
        this.Emit('else console.log("else")');
        break;
      case 1:
        this.Emit('var ' + this.VarName(scope, 'v') + ' = String(' + v + ')');
        this.Emit('  .length');
        break;
      case 2:
        this.Emit('{');
        this.Emit('  console.log("block", ' + v + ')');
        this.Emit('}');
        // (Not "/=x/" here: the ES5 check used for shrinking misreads it after "}".)
        this.Emit(this.r.pick(kRegExps.slice(0, 4)) + '.test(' + this.String() + ') && console.log("regex after block")');
        break;
      case 3: {
        const f = this.Name('g');
        this.Emit('var ' + f + ' = function () { return ' + this.r.pick(kRegExps) + '.source }');
        this.Emit('console.log(' + f + '())');
        break;
      }
      case 4:
        this.Emit('for (var ' + this.Name('k') + ' in {a: 1, b: 2}) console.log("key", ' + v + ')');
        break;
      case 5:
        this.Emit(';;');
        this.Emit('if (' + this.Expression(scope, 1) + ');');
        break;
      case 6: {
        const w = this.VarName(scope, 'v');
        this.Emit('var ' + w + ' = {a: 1}');
        this.Emit('/ 2');
        this.Emit('console.log(' + w + ')');
        scope.vars.push(w);
        break;
      }
      case 7: {
        const f = this.Name('h');
        this.Emit('var ' + f + ' = function () {');
        this.Emit('  return /* a comment with a');
        this.Emit('  line break */ ' + this.Leaf(scope));
        this.Emit('}');
        this.Emit('console.log(' + f + '())');
        break;
      }
      default:
        this.Emit('do console.log("do", ' + v + '); while (false)');
    }
  }

  Statement(scope) {
    const choice = this.r.int(20);
    if (choice < 3) return this.Var(scope);
    if (choice < 6) return this.Print(scope);
    if (choice < 8) return this.Assign(scope);
    if (this.lines.length > 220) return this.Print(scope);
    switch (choice) {
      case 8: return this.Object(scope);
      case 9: return this.Function(scope, 2);
      case 10: return this.Closure(scope);
      case 11: return this.Loop(scope);
      case 12: return this.If(scope);
      case 13: return this.Switch(scope);
      case 14: return this.Try(scope);
      case 15: return this.LineStarts(scope);
      case 16:
        if (scope.inLoop && scope.labels.length) return this.Emit('if (' + this.Expression(scope, 1) + ') continue ' + scope.labels[0]);
        return this.Print(scope);
      case 17: return this.Emit(this.Comment().trim() ? '/* block comment */' : '// line comment');
      case 18: return this.Hazard(scope);
      default: return this.Print(scope);
    }
  }

  Program() {
    const top = this.NewScope(null, false);
    for (let n = 4 + this.r.int(10); n > 0; --n) this.Statement(top);
    this.Emit('console.log("end", ' + top.vars.slice(-3).concat(['0']).join(', ') + ')');
    return this.lines.join(this.r.chance(0.1) ? '\r\n' : '\n') + '\n';
  }
}

// The program of `seed`: text that node runs.
function GenerateProgram(seed) {
  return new Generator(seed).Program();
}

module.exports = { GenerateProgram, Generator };
