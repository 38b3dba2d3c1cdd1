'use strict';
// A seeded generator of random valid ES2015+ scripts that print what they
// compute. It extends the ES5 generator, so `var`, `function`, `for`-`in`,
// `switch`, labels and the ES5 line-break hazards stay in the mix, and adds
// block scopes and closures over per-iteration bindings, arrows, classes with
// fields, private members and static blocks, templates (nested and tagged),
// destructuring, spread, generators, async functions, optional chaining, `??`,
// `**`, logical assignment, regular expression flags, and the line breaks that
// end or continue these statements.
//
// The same seed always gives the same program. Programs end quickly: loops are
// bounded by counters the body never assigns, only finite generators are
// spread, and a function only calls what was made before it. They throw only
// inside a try that prints the error's name (V8 messages quote names, which
// renaming changes). Async results print last and in order: the program ends
// with `Promise.allSettled(pending).then(...)`, and the sandbox runs promise
// jobs before a run returns.
//
// Names declared at the top level end in a tag made from the seed, so the
// programs of one batch, packed together as one script, never declare the same
// `let`, `const` or `class` twice.
const { Generator } = require('./generator');

const kMaxLines = 260;

// Number forms ES2015+ added: binary, octal, and separators.
const kModernNumbers = ['0b1011', '0B11', '0o17', '0O7', '1_000', '0xFF_FF', '1_0.2_5', '1e1_0', '0.000_1'];

// Regular expressions with every flag, and slashes, braces and backticks
// where a tokenizer may take them for something else.
const kModernRegExps = [
  '/a.c/s', '/\\u{1F680}/u', '/\\p{L}+/gu', '/[\\p{Lu}]/u', '/b/y', '/(?<word>\\w+)/d', '/(?<word>[a-z])\\k<word>/g',
  '/(?<=a)b/g', '/(?<!a)b/', '/[\\p{L}--[a-z]]/v', '/[[a-z]&&[aeiou]]+/gv', '/x{2}/u', '/^\\/\\*/m', '/}/',
  '/[/}]+/g', '/\\$\\{/', '/`/g', '/ab/dgimsuy', '/=+/', '/\\//g', '/[\\]`$]/', '/a/dg',
];
const kSubjects = ["'abc'", "'a.c ab b'", "'/* c */ // x'", "'${x} `q`'", "'Ünïcode 🚀 aab'", "'xx}y'", "'aab aab'",
  "'=='", "'A/b'"];

// Raw pieces of template text: comment openers, quotes, escapes, `$` and
// braces that are not substitutions, line breaks and line continuations.
const kTemplatePieces = ['abc', ' ', '//', '/*', '*/', "'", '"', '\\\\', '\\`', '\\${', '$', '{', '}', '\\n', '\\t',
  '\\u{1F680}', '\\u00e9', '\\x41', 'é', '日本', '🚀', '</script>', '\n', '\\\n', '$$', 'a}b', '<!--', '#{x}'];
// Escapes only a tagged template may hold: their cooked string is undefined.
const kBadEscapes = ['\\unicode', '\\xg', '\\u{g', '\\01', '\\8', '\\u{110000}'];

// Words that are keywords somewhere yet valid property and method names.
const kWordNames = ['get', 'set', 'static', 'async', 'of', 'new', 'class', 'let', 'yield', 'await', 'default',
  'delete'];

const kSimpleName = /^[A-Za-z_$][\w$]*$/;

class ModernGenerator extends Generator {
  constructor(seed) {
    super(seed);
    this.tag = '_' + ((seed >>> 0) % 46656).toString(36);
    // Record keys already bound by a shorthand pattern ("const {k1} = r"):
    // a second one in the same scope would declare k1 twice.
    this.shorthands = new Set();
    this.pending = null;
  }

  // Top-level names carry the program's tag (see the file comment).
  Name(prefix) {
    return prefix + (++this.counter) + (this.indent === '' ? this.tag : '');
  }

  // `var` names are always new here: a `var` that reused an outer name could
  // cross a block holding a `let` of that name, which does not parse.
  VarName(scope, prefix) {
    const name = this.Name(prefix);
    scope.own.push(name);
    return name;
  }

  // Besides the ES5 lists (`vars`: assignable names holding primitives, `fns`,
  // `objects`, `labels`), a scope knows read-only names (`consts`), `this.x`
  // members, arrays and records of primitives, classes and their instances,
  // finite generators, async functions, template tags and block labels.
  NewScope(parent, strict) {
    const scope = super.NewScope(parent, strict);
    for (const key of ['consts', 'members', 'arrays', 'records', 'classes', 'instances', 'gens', 'asyncs', 'tags',
      'blockLabels']) {
      scope[key] = parent ? parent[key].slice() : [];
    }
    scope.inGenerator = parent ? parent.inGenerator : false;
    scope.inAsync = parent ? parent.inAsync : false;
    scope.depth = parent ? parent.depth + 1 : 0;
    return scope;
  }

  // The scope of a function body. Arrows keep `this` and so the members;
  // loops and labels never reach into a function.
  FunctionScope(scope, { arrow = false, generator = false, async = false, strict = false } = {}) {
    const inner = this.NewScope(scope, strict);
    inner.inFunction = true;
    inner.inLoop = false;
    inner.labels = [];
    inner.blockLabels = [];
    inner.own = [];
    inner.inGenerator = generator;
    inner.inAsync = async;
    if (!arrow) inner.members = [];
    return inner;
  }

  // A view of `scope` for code inside a nested plain function that the ES5
  // statements write (object methods, getters, IIFEs): no yield, no await, and
  // `this` is not the instance.
  Plain(scope) {
    return Object.assign({}, scope, { inGenerator: false, inAsync: false, members: [] });
  }

  // The scope of an arrow's body written inline: `this` stays, yield and await do not.
  ArrowScope(scope) {
    return this.FunctionScope(scope, { arrow: true });
  }

  // A view of `scope` in which `names` cannot be read: the initialiser of a
  // binding that shadows an outer name must not read it ("let x = x" throws).
  Without(scope, names) {
    return Object.assign({}, scope, {
      vars: scope.vars.filter((n) => !names.includes(n)),
      consts: scope.consts.filter((n) => !names.includes(n)),
    });
  }

  Bind(scope, name, mutable) {
    scope.vars = scope.vars.filter((n) => n !== name);
    scope.consts = scope.consts.filter((n) => n !== name);
    (mutable ? scope.vars : scope.consts).push(name);
  }

  Readable(scope) {
    return scope.vars.concat(scope.consts, scope.members);
  }

  ShadowCandidates(scope) {
    return scope.vars.concat(scope.consts).filter((n) => kSimpleName.test(n));
  }

  Indented(emit) {
    const saved = this.indent;
    this.indent += '  ';
    emit();
    this.indent = saved;
  }

  E(scope, depth = 2) { return this.Expression(scope, depth); }

  // An expression statement must not start with "{", "function" or "class".
  Statementable(text) { return /^(\{|function\b|class\b|let\s*\[)/.test(text) ? '(' + text + ')' : text; }

  // Where a statement starts with ( [ ` / + - the line before must not run on.
  Guard(text) { return /^[([`/+-]/.test(text) ? ';' + text : text; }

  PrintLine(args) { this.Emit('console.log(' + args.join(', ') + ')' + this.End()); }

  Leaf(scope) {
    const readable = this.Readable(scope);
    switch (this.r.int(11)) {
      case 0: case 1: return this.Number();
      case 2: return this.String();
      case 3: return this.r.pick(['true', 'false', 'null', 'undefined']);
      case 4: return this.r.pick(kModernNumbers);
      case 5: return '`' + this.TemplateText(false) + '`';
      default: return readable.length ? this.r.pick(readable) : this.Number();
    }
  }

  Expression(scope, depth) {
    if (depth <= 0 || this.r.chance(0.25)) return this.Leaf(scope);
    if (this.r.chance(0.4)) return super.Expression(scope, depth);
    return this.ModernExpression(scope, depth);
  }

  ModernExpression(scope, depth) {
    const e = () => this.Expression(scope, depth - 1);
    switch (this.r.int(24)) {
      case 0: case 1: return this.Template(scope, depth - 1, false);
      case 2: return this.TaggedTemplate(scope, depth - 1);
      case 3: return '((' + e() + ') ?? (' + e() + '))';
      case 4: return '((' + e() + ') ** ' + this.r.pick(['2', '3', '0.5', '-1', '(1 + 1)', '2 ** 2']) + ')';
      // "c?.5:1" is a conditional: "?." before a digit is no optional chain.
      case 5: return this.r.chance(0.5) ? '(' + e() + '?.5:' + e() + ')' : '(' + e() + ' ? .5 : ' + e() + ')';
      case 6: case 7: return this.OptionalChain(scope, depth);
      case 8: case 9: return this.ArrowCall(scope, depth);
      case 10: case 11: return this.SpreadExpression(scope, depth);
      case 12: case 13: return this.RegExpUse(scope, depth);
      case 14: return this.r.pick(['String(12n ** 3n)', 'String(2n ** 64n - 1n)', 'typeof 1n', 'String(BigInt(7) * 3n)',
        '`${-5n / 2n}`', 'String(0x1fn + 0b11n)', '(1_000n > 999)']);
      case 15:
        if (!scope.vars.length) return e();
        return '(' + this.r.pick(scope.vars) + ' ' + this.r.pick(['||=', '&&=', '??=', '**=']) + ' ' + e() + ')';
      case 16: return this.RecordUse(scope, depth);
      case 17: return this.ClassUse(scope, depth);
      case 18:
        if (scope.inAsync && this.r.chance(0.7)) return this.AwaitExpression(scope, depth);
        if (scope.inGenerator) return '(yield ' + e() + ')';
        return this.r.pick(['[' + e() + ', ' + e() + '].includes(' + e() + ')', 'Object.is(' + e() + ', ' + e() + ')',
          'String(' + e() + ').padEnd(4, "*")', '[' + e() + ', ' + e() + '].at(-1)', 'Object.entries({ a: ' + e() + ' }).flat().join()',
          'Array.from({ length: 3 }, (_, i) => i ** 2).join()', '[' + e() + ', [' + e() + ']].flat().length']);
      case 19: {
        const names = this.ShadowCandidates(scope);
        if (!names.length) return '({ if: ' + e() + ', class: ' + e() + ', new: 1 }).class';
        const picked = [this.r.pick(names), this.r.pick(names)].filter((n, i, all) => all.indexOf(n) === i);
        return '({ ' + picked.join(', ') + ', "k": ' + e() + ' }).' + picked[0];
      }
      case 20:
        if (scope.gens.length) return '[...' + this.r.pick(scope.gens) + '(' + this.r.int(3) + ')].join()';
        return e();
      case 21: {
        const word = this.r.pick(kWordNames);
        return '({ get ' + word + '() { return ' + this.Expression(this.Plain(scope), depth - 1) + ' } }).' + word;
      }
      case 22: return this.r.pick(['(' + e() + ') / 2 / 1', '[' + e() + '][0] / 4', '({ a: 4 }).a / 2', '`${' + e() + '}` / 2']);
      default: return '((a) =>\n' + this.indent + '  (b) => a + b)(' + e() + ')(' + e() + ')';
    }
  }

  AwaitExpression(scope, depth) {
    const safe = scope.asyncs.filter((a) => !a.mayReject);
    if (safe.length && this.r.chance(0.5)) return '(await ' + this.r.pick(safe).name + '(' + this.E(scope, depth - 1) + '))';
    return '(await ' + this.Awaited(this.E(scope, depth - 1)) + ')';
  }

  // The operand of await. Acorn, which checks shrunk programs, misreads
  // "await /=x/" as a division-assignment, so such an operand goes in parentheses.
  Awaited(text) { return text.startsWith('/=') ? '(' + text + ')' : text; }

  // ---- templates

  TemplateText(tagged) {
    let text = '';
    for (let n = this.r.int(4); n >= 0; --n) {
      const piece = this.r.pick(tagged && this.r.chance(0.3) ? kBadEscapes : kTemplatePieces);
      text += (text.endsWith('$') && piece.startsWith('{') ? ' ' : '') + piece;
    }
    return text;
  }

  Template(scope, depth, tagged) {
    let text = '';
    for (let n = 1 + this.r.int(3); n > 0; --n) {
      text += this.TemplateText(tagged);
      if (text.endsWith('$') && this.r.chance(0.5)) text += ' ';
      text += '${' + this.Substitution(scope, depth) + '}';
    }
    return '`' + text + this.TemplateText(tagged) + '`';
  }

  // What goes between "${" and "}": anything, including braces, templates
  // nested several deep, and comments that hold a "}".
  Substitution(scope, depth) {
    const e = () => this.Expression(scope, Math.max(0, depth - 1));
    switch (depth > 0 ? this.r.int(10) : 0) {
      case 0: case 1: return e();
      case 2: case 3: return this.Template(scope, depth - 1, false);
      case 4: return '{ a: ' + e() + ' }.a';
      case 5: return this.r.pick(["'}'", '"`"', "'${'", '/}/.source', '/\\$\\{/.source', '`}`', '"\\\\"']);
      case 6: return '(() => `<${' + this.Expression(this.ArrowScope(scope), Math.max(0, depth - 1)) + '}>`)()';
      case 7: return ' /* } */ ' + e() + ' // ${ }\n';
      case 8: return 'String.raw`\\n${' + e() + '}`';
      default: return '[' + e() + ', ' + e() + '].map((x) => `(${x})`).join("")';
    }
  }

  TaggedTemplate(scope, depth) {
    const tags = ['String.raw'].concat(scope.tags);
    const tag = this.r.pick(tags);
    return '(' + tag + (this.r.chance(0.2) ? '\n' + this.indent + '  ' : '') + this.Template(scope, depth, true) + ')';
  }

  TagDecl(scope) {
    const name = this.Name('tag');
    if (this.r.chance(0.5)) {
      this.Emit('const ' + name + ' = (strings, ...values) =>');
      this.Emit('  strings.raw.join("|") + " ~ " + strings.map((s) => s === undefined ? "<bad>" : s).join("|") +');
      this.Emit('  " ~ " + values.join()');
    } else {
      this.Emit('function ' + name + '(strings) {');
      this.Emit('  return strings.length + ":" + strings.raw[0] + ":" + (arguments.length - 1)');
      this.Emit('}');
    }
    scope.tags.push(name);
    this.PrintLine([name + this.Template(scope, 2, true)]);
    // A template on the next line is still the tag's argument.
    this.Emit('console.log(' + name);
    this.Emit('`' + this.TemplateText(true) + '${' + this.E(scope, 1) + '}`)');
  }

  TemplateStatement(scope) {
    switch (this.r.int(3)) {
      case 0: return this.PrintLine([this.Template(scope, 3, false)]);
      case 1: return this.PrintLine([this.TaggedTemplate(scope, 2), this.Template(scope, 1, false)]);
      default:
        // A template over several lines keeps its line breaks and indentation.
        this.Emit('console.log(`line one ' + this.TemplateText(false));
        this.Emit('    ${' + this.E(scope) + '} // not a comment');
        this.Emit('/* nor this */ ${' + this.Template(scope, 1, false) + '}`)');
    }
  }

  // ---- optional chaining, records, spread

  OptionalChain(scope, depth) {
    const e = () => this.Expression(scope, depth - 1);
    const readable = this.Readable(scope);
    const x = readable.length ? this.r.pick(readable) : this.Number();
    switch (this.r.int(8)) {
      case 0: return '(' + x + '?.toFixed?.(1))';
      case 1: return this.r.pick(['(null?.a.b.c)', '(undefined?.[' + e() + '].x)', '(null?.(1))', '(void 0)?.x']);
      case 2: return '(' + x + '?.length)';
      case 3: {
        const fn = scope.fns.length ? this.r.pick(scope.fns) : 'null';
        return '(' + this.r.pick([fn, 'undefined']) + '?.(' + e() + ', ' + e() + '))';
      }
      case 4: return '(' + x + '\n' + this.indent + '  ?.toString())';
      case 5: return '(' + (scope.arrays.length ? this.r.pick(scope.arrays) : '[]') + '?.[0] ?? (' + e() + '))';
      case 6: return '(' + x + '?.["constructor"] === Number)';
      default: return this.RecordUse(scope, depth);
    }
  }

  RecordUse(scope, depth) {
    if (!scope.records.length) return '({ k: ' + this.E(scope, depth - 1) + ' }?.k)';
    const record = this.r.pick(scope.records);
    const key = record.keys.length ? this.r.pick(record.keys) : { key: 'missing' };
    switch (this.r.int(5)) {
      case 0: return '(' + record.name + '?.' + key.key + ')';
      case 1: return '(' + record.name + '?.[`' + key.key + '`])';
      case 2: return '(' + record.name + '.missing?.deep.deeper)';
      case 3: return key.nested ? '(' + record.name + '.' + key.key + '?.' + this.r.pick(key.nested) + ')' : 'Object.keys(' + record.name + ').length';
      default: return '({ ...' + record.name + ', z: ' + this.E(scope, depth - 1) + ' }).' + key.key;
    }
  }

  SpreadExpression(scope, depth) {
    const e = () => this.Expression(scope, depth - 1);
    const array = scope.arrays.length ? this.r.pick(scope.arrays) : '[' + e() + ', ' + e() + ']';
    switch (this.r.int(7)) {
      case 0: return '[...' + array + ', ' + e() + '].join()';
      case 1: return 'Math.max(...' + array + ', ' + e() + ')';
      case 2: return '[..."' + this.r.pick(['ab', '日本', 'a🚀b', '']) + '"].length';
      case 3: return 'String([...new Set([' + e() + ', ' + e() + ', ' + e() + '])])';
      case 4: return scope.fns.length ? this.r.pick(scope.fns) + '(...' + array + ')' : '[...' + array + '].length';
      case 5: return 'Object.keys({ ...' + (scope.records.length ? this.r.pick(scope.records).name : '{ a: 1 }') + ', ...{ z: 1 } }).join()';
      default: return '[...' + array + ', ...' + (scope.gens.length ? this.r.pick(scope.gens) + '(1)' : '"xy"') + '].length';
    }
  }

  RegExpUse(scope, depth) {
    const text = this.r.pick(kModernRegExps);
    const flags = text.slice(text.lastIndexOf('/') + 1);
    const subject = this.r.chance(0.7) ? this.r.pick(kSubjects) : 'String(' + this.E(scope, depth - 1) + ')';
    const uses = [text + '.test(' + subject + ')', 'String(' + subject + '.match(' + text + '))',
      subject + '.replace(' + text + ', "[$&]")', text + '.exec(' + subject + ')?.index', text + '.flags',
      subject + '.split(' + text + ').length', '"source" in ' + text, 'typeof ' + text];
    if (flags.includes('g')) uses.push('[...' + subject + '.matchAll(' + text + ')].length', subject + '.replaceAll(' + text + ', "-")');
    if (flags.includes('d')) uses.push('String(' + text + '.exec(' + subject + ')?.indices?.[0])');
    if (text.includes('<word>')) uses.push(subject + '.replace(' + text + ', "$<word>.")');
    return '(' + this.r.pick(uses) + ')';
  }

  // ---- arrows and functions

  // Parameters for a function whose body scope is `inner`: names (some
  // shadowing outer ones), defaults and a rest element; with `patterns`, also
  // object and array patterns. Returns the parameter texts and an argument
  // list that fits them. The names come first: a default reads none of them
  // (a later one is still in its TDZ), and no yield or await, which a
  // parameter list cannot hold.
  Params(outer, inner, count, patterns) {
    const shadows = this.ShadowCandidates(outer);
    const params = [];
    const names = [];
    for (let i = 0; i < count; ++i) {
      const kind = this.r.int(patterns ? 6 : 3);
      if (kind === 3) {
        const param = { kind: 'object', keys: [this.Name('k'), this.Name('k')], alias: this.Name('p') };
        names.push(param.keys[0], param.alias);
        params.push(param);
      } else if (kind === 4) {
        const param = { kind: 'array', first: this.Name('p'), second: this.Name('p') };
        names.push(param.first, param.second);
        params.push(param);
      } else if (kind === 5 && i === count - 1) {
        params.push({ kind: 'rest', name: this.Name('rest') });
      } else {
        let name = shadows.length && this.r.chance(0.3) ? this.r.pick(shadows) : this.Name('p');
        if (names.includes(name)) name = this.Name('p');
        names.push(name);
        params.push({ kind: kind === 0 || kind === 2 ? 'plain' : 'default', name });
      }
    }
    const defaults = Object.assign(this.Without(outer, names), { inGenerator: false, inAsync: false });
    const value = () => this.E(outer, 1);
    const texts = [];
    const args = [];
    for (const param of params) {
      switch (param.kind) {
        case 'object':
          texts.push('{ ' + param.keys[0] + ', ' + param.keys[1] + ': ' + param.alias + ' = ' + this.E(defaults, 1) + ' }');
          args.push('{ ' + param.keys[0] + ': ' + value() + (this.r.chance(0.5) ? ', ' + param.keys[1] + ': ' + value() : '') + ' }');
          break;
        case 'array':
          texts.push('[' + param.first + ', , ' + param.second + ' = ' + this.E(defaults, 1) + ']');
          args.push('[' + value() + ', ' + value() + ']');
          break;
        case 'rest':
          texts.push('...' + param.name);
          args.push(value(), value());
          inner.arrays.push(param.name);
          break;
        case 'default':
          texts.push(param.name + ' = ' + this.E(defaults, 1));
          args.push(this.r.chance(0.4) ? 'undefined' : value());
          break;
        default:
          texts.push(param.name);
          args.push(value());
      }
    }
    for (const name of names) this.Bind(inner, name, true);
    return { texts, args };
  }

  ArrowBody(scope, depth) {
    const body = this.Expression(scope, depth);
    return /^\s*\{/.test(body) ? '(' + body + ')' : body;
  }

  ArrowCall(scope, depth) {
    const inner = this.FunctionScope(scope, { arrow: true });
    const { texts, args } = this.Params(scope, inner, 1 + this.r.int(3), true);
    const body = this.ArrowBody(inner, depth - 1);
    switch (this.r.int(4)) {
      case 0:
        return '((' + texts.join(', ') + ') => ' + body + ')(' + args.join(', ') + ')';
      case 1:
        return '((' + texts.join(',\n' + this.indent + '  ') + ') =>\n' + this.indent + '  ' + body + ')(' + args.join(', ') + ')';
      case 2:
        return '((' + texts.join(', ') + ') => ({ value: ' + body + ' }))(' + args.join(', ') + ').value';
      default:
        return '((' + texts.join(', ') + ') => {\n' + this.indent + '  return ' + body + '\n' + this.indent + '})(' + args.join(', ') + ')';
    }
  }

  ArrowDecl(scope) {
    const name = this.Name('af');
    const inner = this.FunctionScope(scope, { arrow: true });
    const form = this.r.int(6);
    const patterns = form === 5;
    const { texts, args } = form === 3 ? { texts: [], args: [] } : this.Params(scope, inner, patterns ? 1 + this.r.int(3) : 2, patterns);
    const body = () => this.ArrowBody(inner, 3);
    switch (form) {
      case 0:
        this.Emit('const ' + name + ' = (' + texts.join(', ') + ') => ' + body() + this.End());
        break;
      case 1:
        // Parameters on several lines, a trailing comma, the body on the next line.
        this.Emit('const ' + name + ' = (');
        for (const text of texts) this.Emit('  ' + text + ',');
        this.Emit(') =>');
        this.Emit('  ' + body() + this.End());
        break;
      case 2:
        this.Emit('let ' + name + ' = (' + texts.join(', ') + ') => {');
        this.Block(inner, 1 + this.r.int(2));
        if (this.r.chance(0.3)) {
          this.Emit('  return (');
          this.Emit('    ' + body());
          this.Emit('  )');
        } else {
          this.Emit('  return ' + body());
        }
        this.Emit('}');
        break;
      case 3: {
        // An object literal body in parentheses, and a parameter without any.
        const p = this.Name('p');
        this.Bind(inner, p, true);
        this.Emit('const ' + name + ' = ' + p + ' => ({');
        this.Emit('  ' + p + ',');
        this.Emit('  twice: ' + p + ' * 2,');
        this.Emit('  more: ' + body());
        this.Emit('})');
        this.PrintLine([name + '(' + this.E(scope) + ')', name + '(' + this.E(scope) + ').twice']);
        return;
      }
      case 4:
        this.Emit('const ' + name + ' = (' + texts[0] + ') =>');
        this.Emit('  (' + texts[1] + ') =>');
        this.Emit('    ' + body());
        this.PrintLine([name + '(' + args[0] + ')(' + args[1] + ')']);
        return;
      default:
        this.Emit('const ' + name + ' = (' + texts.join(', ') + ') => ' + body() + this.End());
        this.PrintLine([name + '(' + args.join(', ') + ')']);
        return;
    }
    scope.fns.push(name);
    this.PrintLine([name + '(' + this.E(scope) + ', ' + this.E(scope) + ')']);
  }

  // Arrows passed to array methods, over several lines.
  ArrowArguments(scope) {
    const array = scope.arrays.length ? this.r.pick(scope.arrays) : '[' + this.E(scope, 1) + ', ' + this.E(scope, 1) + ', 3]';
    const inner = this.FunctionScope(scope, { arrow: true });
    const x = this.Name('x');
    const i = this.Name('i');
    this.Bind(inner, x, true);
    this.Bind(inner, i, true);
    switch (this.r.int(4)) {
      case 0:
        this.Emit('console.log(' + array + '.map((' + x + ', ' + i + ') =>');
        this.Emit('  ' + this.ArrowBody(inner, 2) + ').join())');
        break;
      case 1:
        this.Emit('console.log(' + array + '.reduce(');
        this.Emit('  (' + x + ', ' + i + ') => ' + x + ' + ' + i + ',');
        this.Emit('  ' + this.E(scope, 1));
        this.Emit('))');
        break;
      case 2:
        this.Emit('console.log([...' + array + '].sort((' + x + ', ' + i + ') =>');
        this.Emit('  (String(' + x + ') > String(' + i + ')) - (String(' + x + ') < String(' + i + '))).join("|"))');
        break;
      default: {
        const one = this.FunctionScope(scope, { arrow: true });
        this.Bind(one, x, true);
        this.Emit(this.Guard(array + '.forEach((' + x + ') => {'));
        this.Emit('  console.log("each", ' + x + ', ' + this.E(one, 1) + ')');
      }
        this.Emit('})');
    }
  }

  // An ES5-style function, among modern code: simple parameters (repeated in
  // sloppy code), "use strict", `arguments`, `return` before a line break.
  ClassicFunction(scope) {
    const name = this.Name('f');
    const strict = scope.strict || this.r.chance(0.2);
    const inner = this.FunctionScope(scope, { strict });
    const shadows = this.ShadowCandidates(scope);
    const params = [];
    for (let n = 1 + this.r.int(2); n > 0; --n) {
      const p = shadows.length && this.r.chance(0.3) ? this.r.pick(shadows) : this.Name('p');
      if (!params.includes(p)) params.push(p);
    }
    for (const p of params) this.Bind(inner, p, true);
    if (!inner.strict && this.r.chance(0.2)) params.push(params[0]);
    const form = this.r.int(3);
    if (form === 0) this.Emit('function ' + name + '(' + params.join(', ') + ') {');
    else if (form === 1) this.Emit('var ' + name + ' = function (' + params.join(', ') + ') {');
    else this.Emit('var ' + name + ' = function ' + this.Name('named') + '(' + params.join(', ') + ') {');
    if (strict && !scope.strict) this.Emit('  "use strict"' + this.End());
    if (this.r.chance(0.3)) this.Emit('  var ' + params[0] + ' = ' + params[0] + ' ?? ' + this.Number() + this.End());
    if (this.r.chance(0.3)) this.Emit('  console.log("arguments", arguments.length)' + this.End());
    this.Block(inner, 1 + this.r.int(3));
    if (this.r.chance(0.2)) {
      this.Emit('  return');
      this.Emit('  ' + this.Statementable(this.Leaf(inner)));
    } else {
      this.Emit('  return ' + this.E(inner, 3) + this.End());
    }
    this.Emit('}' + (form ? this.End() : ''));
    scope.fns.push(name);
    this.PrintLine([name + '(' + this.E(scope) + ', ' + this.E(scope) + ')']);
  }

  // ---- declarations, destructuring, block scopes

  Declare(scope) {
    const name = this.Name(this.r.chance(0.3) ? 'item' : 'v');
    const mutable = this.r.chance(0.6);
    const word = mutable ? 'let' : 'const';
    switch (this.r.int(5)) {
      case 0:
        if (mutable) { this.Emit('let ' + name + this.End()); break; }
        // falls through
      case 1:
        // "let" and "const" before a line break still declare.
        this.Emit(word);
        this.Emit('  ' + name + ' = ' + this.E(scope, 3) + this.End());
        break;
      case 2: {
        const second = this.Name('w');
        this.Emit(word + ' ' + name + ' = ' + this.E(scope, 2) + ',');
        this.Emit('  ' + second + ' = ' + this.E(scope, 2) + this.End());
        this.Bind(scope, second, mutable);
        break;
      }
      default:
        this.Emit(word + ' ' + name + ' = ' + this.E(scope, 3) + this.End());
    }
    this.Bind(scope, name, mutable);
  }

  ArrayDecl(scope) {
    const name = this.Name('arr');
    const items = [];
    for (let n = 1 + this.r.int(4); n > 0; --n) items.push(this.E(scope, 1));
    if (this.r.chance(0.2)) items.splice(1, 0, '');
    if (this.r.chance(0.5)) {
      this.Emit('const ' + name + ' = [');
      for (const item of items) this.Emit('  ' + item + ',');
      this.Emit(']');
    } else {
      this.Emit('const ' + name + ' = [' + items.join(', ') + ']' + this.End());
    }
    scope.arrays.push(name);
  }

  RecordDecl(scope) {
    const name = this.Name('r');
    const keys = [];
    const props = [];
    for (let n = 1 + this.r.int(4); n > 0; --n) {
      const key = this.Name('k');
      switch (this.r.int(6)) {
        case 0: props.push("'" + key + "': " + this.E(scope)); keys.push({ key }); break;
        case 1: props.push('[`' + key + '`]: ' + this.E(scope)); keys.push({ key }); break;
        case 2: {
          const nested = [this.Name('k'), this.Name('k')];
          props.push(key + ': { ' + nested[0] + ': ' + this.E(scope, 1) + ', ' + nested[1] + ': ' + this.E(scope, 1) + ' }');
          keys.push({ key, nested });
          break;
        }
        case 3: props.push('get ' + key + '() { return ' + this.E(this.Plain(scope), 1) + ' }'); keys.push({ key, getter: true }); break;
        default: props.push(key + ': ' + this.E(scope)); keys.push({ key });
      }
    }
    const shorthands = this.ShadowCandidates(scope);
    if (shorthands.length && this.r.chance(0.5)) {
      const v = this.r.pick(shorthands);
      props.push(v);
      keys.push({ key: v, fromVar: true });
    }
    if (scope.records.length && this.r.chance(0.3)) {
      const other = this.r.pick(scope.records);
      props.unshift('...' + other.name);
      for (const k of other.keys) if (!keys.some((mine) => mine.key === k.key)) keys.push(k);
    }
    if (this.r.chance(0.5)) {
      this.Emit('const ' + name + ' = {');
      for (const prop of props) this.Emit('  ' + prop + ',');
      this.Emit('}');
    } else {
      this.Emit('const ' + name + ' = { ' + props.join(', ') + ' }' + this.End());
    }
    scope.records.push({ name, keys });
    this.PrintLine([name]);
  }

  // A new name for a pattern element, or the key itself as a shorthand.
  PatternName(key, bound) {
    const topLevel = this.indent === '';
    if (key && !key.fromVar && !this.shorthands.has(key.key) && (!topLevel || key.key.endsWith(this.tag)) && this.r.chance(0.4)) {
      this.shorthands.add(key.key);
      bound.push(key.key);
      return null;
    }
    const name = this.Name('d');
    bound.push(name);
    return name;
  }

  ObjectPattern(scope, record, bound) {
    const parts = [];
    const used = [];
    const def = () => (this.r.chance(0.3) ? ' = ' + this.E(scope, 1) : '');
    for (const key of record.keys) {
      if (this.r.chance(0.4)) continue;
      used.push(key.key);
      if (key.nested) {
        const sub = key.nested.map((k) => k + ': ' + this.PatternName(null, bound) + def());
        parts.push(key.key + ': { ' + sub.join(', ') + ' }' + (this.r.chance(0.3) ? ' = {}' : ''));
        continue;
      }
      const name = this.PatternName(key, bound);
      if (name === null) parts.push(key.key + def());
      else parts.push((this.r.chance(0.3) ? "['" + key.key + "']" : key.key) + ': ' + name + def());
    }
    if (this.r.chance(0.4)) {
      const missing = this.Name('m');
      bound.push(missing);
      parts.push(missing + ' = ' + this.E(scope, 1));
    }
    let rest = null;
    if (this.r.chance(0.3)) {
      rest = this.Name('rest');
      parts.push('...' + rest);
    }
    return { text: '{ ' + parts.join(', ') + ' }', rest, remaining: record.keys.filter((k) => !used.includes(k.key)) };
  }

  ArrayPattern(scope, bound) {
    const parts = [];
    for (let n = 1 + this.r.int(3); n > 0; --n) {
      if (this.r.chance(0.2)) { parts.push(''); continue; }
      const name = this.Name('d');
      bound.push(name);
      parts.push(name + (this.r.chance(0.3) ? ' = ' + this.E(scope, 1) : ''));
    }
    let rest = null;
    if (this.r.chance(0.3)) {
      rest = this.Name('rest');
      parts.push('...' + rest);
    }
    return { text: '[' + parts.join(', ') + ']', rest };
  }

  Destructure(scope) {
    const word = this.r.pick(['const', 'let', 'var']);
    const bound = [];
    let text;
    let source;
    const choice = this.r.int(3);
    if (choice === 0 && scope.records.length) {
      const record = this.r.pick(scope.records);
      const pattern = this.ObjectPattern(scope, record, bound);
      text = pattern.text;
      source = this.r.pick([record.name, '{ ...' + record.name + ' }', record.name + ' ?? {}']);
      if (pattern.rest) scope.records.push({ name: pattern.rest, keys: pattern.remaining });
    } else if (choice === 1 && scope.arrays.length) {
      const pattern = this.ArrayPattern(scope, bound);
      text = pattern.text;
      const array = this.r.pick(scope.arrays);
      source = this.r.pick([array, '[...' + array + ', ' + this.E(scope, 1) + ']']);
      if (pattern.rest) scope.arrays.push(pattern.rest);
    } else {
      // Nested patterns over a literal: an array in an array, an object in an array.
      const a = this.Name('d');
      const b = this.Name('d');
      const key = this.Name('k');
      const c = this.Name('d');
      const missing = this.Name('m');
      bound.push(a, b, c, missing);
      text = '[[' + a + ', ' + b + ' = ' + this.E(scope, 1) + '], { ' + key + ': ' + c + ', ' + missing + ' = ' + this.E(scope, 1) + ' }]';
      source = '[[' + this.E(scope, 1) + '], { ' + key + ': ' + this.E(scope, 1) + ' }]';
    }
    this.Emit(word + ' ' + text + ' = ' + source + this.End());
    for (const name of bound) this.Bind(scope, name, word !== 'const');
    if (bound.length) this.PrintLine(bound);
  }

  // Destructuring assignment to existing names: a swap, and a pattern in parentheses.
  DestructureAssign(scope) {
    if (scope.vars.length < 2) return this.Declare(scope);
    const a = this.r.pick(scope.vars);
    const b = this.r.pick(scope.vars.filter((n) => n !== a));
    if (!b) return this.Declare(scope);
    if (this.r.chance(0.5) || !scope.records.length) {
      this.Emit(';[' + a + ', ' + b + '] = [' + b + ', ' + a + ']');
    } else {
      const record = this.r.pick(scope.records);
      const key = record.keys.length ? this.r.pick(record.keys).key : 'missing';
      this.Emit(';({ ' + key + ': ' + a + ', missing: ' + b + ' = ' + this.E(this.Without(scope, [a, b]), 1) + ' } = ' + record.name + ')');
    }
    this.PrintLine([a, b]);
  }

  // A block whose first declarations shadow outer names, with closures that
  // keep its bindings and are called after it ends.
  BlockScope(scope) {
    const keep = this.Name('keep');
    this.Emit('const ' + keep + ' = []');
    this.Emit('{');
    const inner = this.NewScope(scope);
    const candidates = this.ShadowCandidates(scope);
    const shadowed = [];
    for (let n = this.r.int(3); n > 0 && candidates.length; --n) {
      const name = this.r.pick(candidates);
      if (!shadowed.includes(name)) shadowed.push(name);
    }
    // No initialiser reads a shadowed name: each is in its TDZ until declared.
    const outside = this.Without(scope, shadowed);
    this.Indented(() => {
      for (const name of shadowed) {
        const mutable = this.r.chance(0.5);
        this.Emit((mutable ? 'let ' : 'const ') + name + ' = ' + this.E(outside) + this.End());
        this.Bind(inner, name, mutable);
      }
      if (this.r.chance(0.3)) {
        // A function declared in a block.
        const f = this.Name('bf');
        this.Emit('function ' + f + '(a, b) { return [a, b].join("/") }');
        inner.fns.push(f);
      }
    });
    this.Block(inner, 1 + this.r.int(3));
    this.Emit('  ' + keep + '.push(() => ' + (shadowed.length ? shadowed[0] : this.ArrowBody(this.ArrowScope(inner), 2)) + ')');
    this.Emit('}');
    this.PrintLine([keep + '.map((f) => f()).join()'].concat(shadowed.length ? [shadowed[0]] : []));
  }

  // Loops whose closures each keep the binding of their iteration (or, for a
  // `var`, all share one).
  LoopClosures(scope) {
    const keep = this.Name('keep');
    const i = this.Name('i');
    const bound = 1 + this.r.int(3);
    const inner = this.NewScope(scope);
    inner.inLoop = true;
    this.Emit('const ' + keep + ' = []');
    let closure = '() => ';
    const label = this.r.chance(0.3) ? this.Name('L') : null;
    const head = label ? label + ':' + (this.r.chance(0.5) ? '\n' + this.indent : ' ') : '';
    if (label) inner.labels.push(label);
    switch (this.r.int(6)) {
      case 0:
        this.Emit(head + 'for (let ' + i + ' = 0; ' + i + ' < ' + bound + '; ' + i + '++) {');
        break;
      case 1: {
        const source = scope.gens.length && this.r.chance(0.3) ? this.r.pick(scope.gens) + '(2)'
          : scope.arrays.length && this.r.chance(0.6) ? this.r.pick(scope.arrays) : '"a🚀c"';
        this.Emit(head + 'for (const ' + i + ' of ' + source + ') {');
        break;
      }
      case 2: {
        const source = scope.records.length ? this.r.pick(scope.records).name : '{ a: 1, b: 2 }';
        this.Emit(head + 'for (const ' + i + ' in ' + source + ') {');
        break;
      }
      case 3: {
        const count = this.Name('n');
        this.Emit('let ' + count + ' = 0');
        this.Emit(head + 'while (' + count + ' < ' + bound + ') {');
        this.Emit('  const ' + i + ' = ' + count + '++');
        break;
      }
      case 4:
        this.Emit(head + 'for (var ' + i + ' = 0; ' + i + ' < ' + bound + '; ' + i + '++) {');
        closure = 'function () { return ';
        break;
      default: {
        const j = this.Name('j');
        this.Emit(head + 'for (let ' + i + ' = 0, ' + j + ' = ' + (bound + 1) + '; ' + i + ' < ' + j + '; ' + i + '++, ' + j + '--) {');
        this.Bind(inner, j, false);
      }
    }
    this.Bind(inner, i, false);
    if (this.r.chance(0.5)) {
      const w = this.Name('w');
      this.Emit('  let ' + w + ' = ' + i + ' + ' + this.E(inner, 1));
      this.Bind(inner, w, true);
    }
    const body = this.E(this.FunctionScope(inner, { arrow: closure === '() => ' }), 2);
    this.Emit('  ' + keep + '.push(' + closure + i + ' + ' + body + (closure === '() => ' ? ')' : ' })'));
    this.Block(inner, this.r.int(3));
    if (this.r.chance(0.3)) this.Emit('  if (' + this.E(inner, 1) + ') ' + this.r.pick(['continue', 'break']) + (label ? ' ' + label : ''));
    this.Emit('}');
    this.PrintLine([keep + '.map((f) => f()).join()']);
  }

  // for-of heads that destructure, assign to existing names, or walk entries.
  ForOfPatterns(scope) {
    const inner = this.NewScope(scope);
    inner.inLoop = true;
    const a = this.Name('d');
    const b = this.Name('d');
    switch (this.r.int(4)) {
      case 0: {
        const source = scope.records.length ? this.r.pick(scope.records).name : '{ x: 1, y: 2 }';
        this.Emit('for (const [' + a + ', ' + b + '] of Object.entries(' + source + ')) {');
        break;
      }
      case 1: {
        const key = this.Name('k');
        this.Emit('for (let { ' + key + ': ' + a + ', ' + b + ' = ' + this.E(scope, 1) + ' } of [{ ' + key + ': ' + this.E(scope, 1) + ' }, {}]) {');
        break;
      }
      case 2: {
        const source = scope.arrays.length ? this.r.pick(scope.arrays) : '["p", "q"]';
        this.Emit('for (const [' + a + ', ' + b + '] of ' + source + '.entries()) {');
        break;
      }
      default:
        this.Emit('for (const [' + a + ', ' + b + '] of new Map([[1, ' + this.E(scope, 1) + '], ["two", 2]])) {');
    }
    this.Bind(inner, a, false);
    this.Bind(inner, b, false);
    this.Emit('  console.log("of", ' + a + ', ' + b + ')');
    this.Block(inner, this.r.int(2));
    this.Emit('}');
    if (scope.vars.length >= 2 && this.r.chance(0.5)) {
      const x = scope.vars[scope.vars.length - 1];
      const y = scope.vars[scope.vars.length - 2];
      this.Emit('for ([' + x + ', ' + y + '] of [[' + this.E(scope, 1) + ', ' + this.E(scope, 1) + ']]) console.log("assigned", ' + x + ', ' + y + ')');
    }
  }

  SpreadStatement(scope) {
    const array = scope.arrays.length ? this.r.pick(scope.arrays) : '[' + this.E(scope, 1) + ']';
    switch (this.r.int(3)) {
      case 0:
        this.Emit('console.log(...' + array + ', ..."ab"' + (scope.gens.length ? ', ...' + this.r.pick(scope.gens) + '(1)' : '') + ')');
        break;
      case 1: {
        const name = this.Name('arr');
        this.Emit('const ' + name + ' = [...' + array + ', ' + this.E(scope, 1) + ', ...[' + this.E(scope, 1) + ']]');
        scope.arrays.push(name);
        this.PrintLine([name + '.length', name + '.join("+")']);
        break;
      }
      default: {
        if (!scope.records.length) return this.RecordDecl(scope);
        const record = this.r.pick(scope.records);
        const name = this.Name('r');
        const key = this.Name('k');
        this.Emit('const ' + name + ' = { ...' + record.name + ', [`' + key + '`]: ' + this.E(scope, 1) + ', ...null }');
        scope.records.push({ name, keys: record.keys.concat([{ key }]) });
        this.PrintLine([name]);
      }
    }
  }

  LogicalAssign(scope) {
    if (scope.records.length && this.r.chance(0.5)) {
      const record = this.r.pick(scope.records);
      const plain = record.keys.filter((k) => !k.nested && !k.getter);
      const key = plain.length && this.r.chance(0.7) ? this.r.pick(plain).key : 'added';
      this.Emit(record.name + '.' + key + ' ' + this.r.pick(['??=', '||=', '&&=']) + ' ' + this.E(scope) + this.End());
      this.PrintLine([record.name + '.' + key, record.name + '?.missing?.deep', record.name + '?.["' + key + '"]']);
      return;
    }
    if (!scope.vars.length) return this.Declare(scope);
    const v = this.r.pick(scope.vars);
    this.Emit(v + ' ' + this.r.pick(['??=', '||=', '&&=', '**=']) + ' ' + this.E(scope) + this.End());
    this.PrintLine([v]);
  }

  // ---- labels, errors, hazards

  LabeledBlock(scope) {
    const label = this.Name('B');
    const inner = this.NewScope(scope);
    inner.blockLabels.push(label);
    this.Emit(label + ':' + (this.r.chance(0.5) ? '\n' + this.indent : ' ') + '{');
    const x = this.Name('v');
    this.Emit('  let ' + x + ' = ' + this.E(scope));
    this.Bind(inner, x, true);
    this.Emit('  if (' + this.E(inner, 1) + ') break ' + label);
    this.Block(inner, 1 + this.r.int(2));
    this.Emit('  console.log("not broken", ' + x + ')');
    this.Emit('}');
  }

  LabeledLoops(scope) {
    const outer = this.Name('L');
    const a = this.Name('a');
    const b = this.Name('b');
    const inner = this.NewScope(scope);
    inner.inLoop = true;
    inner.labels.push(outer);
    this.Bind(inner, a, false);
    this.Bind(inner, b, false);
    this.Emit(outer + ': for (const ' + a + ' of [1, 2, 3]) {');
    this.Emit('  for (let ' + b + ' = 0; ' + b + ' < 3; ' + b + '++) {');
    this.Emit('    if (' + b + ' === ' + a + ') continue ' + outer);
    this.Emit('    if (' + a + ' + ' + b + ' > 3) break ' + outer);
    this.Indented(() => this.Block(inner, 1));
    this.Emit('  }');
    this.Emit('}');
  }

  // Errors the program means to throw, each caught and printed by name only.
  IntendedError(scope) {
    const throws = [
      () => { const k = this.Name('k'); return ['const ' + k + ' = 1', k + ' = 2']; },
      () => ['[...42]'],
      () => ['const { ' + this.Name('k') + ' } = null'],
      () => ['(1)?.()'],
      () => ['1n + 1'],
      () => ['new (() => 1)()'],
      () => ['Symbol() + ""'],
      () => ['new (class extends Object { constructor() { } })()'],
      () => ['JSON.parse("{")'],
      () => ['"abc".repeat(-1)'],
      () => ['(function () { "use strict"; return this.x })()'],
      () => ['null.x'],
      () => ['const k = ' + this.r.pick(kModernNumbers) + '; k.toFixed(200)'],
    ];
    if (scope.classes.length) {
      const info = this.r.pick(scope.classes);
      throws.push(() => [info.name + '(1, 2)']);
      if (info.brand) throws.push(() => [info.name + '.' + info.brand + '(5)']);
    }
    const lines = this.r.pick(throws)();
    if (this.r.chance(0.3)) {
      // A binding read in its temporal dead zone, directly or through a closure.
      const t = this.Name('t');
      this.Emit('{');
      this.Emit('  const ' + this.Name('read') + ' = () => ' + t);
      this.Emit('  try {');
      this.Emit('    console.log(' + (this.r.chance(0.5) ? 'typeof ' : '') + t + ')');
      this.Emit('  } catch ({ name }) {');
      this.Emit('    console.log("caught", name)');
      this.Emit('  }');
      this.Emit('  let ' + t + ' = ' + this.E(scope, 1));
      this.Emit('}');
      return;
    }
    this.Emit('try {');
    for (const line of lines) this.Emit('  ' + line);
    this.Emit('  console.log("not thrown")');
    const form = this.r.int(4);
    if (form === 0) {
      this.Emit('} catch ({ name }) {');
      this.Emit('  console.log("caught", name)');
    } else if (form === 1) {
      this.Emit('} catch {');
      this.Emit('  console.log("caught without a binding")');
    } else {
      const e = this.Name('e');
      this.Emit('} catch (' + e + ') {');
      this.Emit('  console.log("caught", ' + e + '.name, ' + e + ' instanceof Error)');
    }
    if (this.r.chance(0.3)) {
      this.Emit('} finally {');
      this.Emit('  console.log("finally")');
    }
    this.Emit('}');
  }

  // Statements split over lines: where the line break ends the statement,
  // and where the next line carries on with it.
  ModernHazard(scope) {
    const x = this.Name('h');
    const e = () => this.E(scope, 2);
    switch (this.r.int(16)) {
      case 0: {
        if (!scope.fns.length) return this.Declare(scope);
        this.Emit('let ' + x + ' = ' + this.r.pick(scope.fns));
        this.Emit('(' + e() + ', ' + e() + ')');
        break;
      }
      case 1: {
        if (!scope.arrays.length) return this.ArrayDecl(scope);
        this.Emit('let ' + x + ' = ' + this.r.pick(scope.arrays));
        this.Emit('[0]');
        break;
      }
      case 2:
        this.Emit('let ' + x + ' = ' + this.r.pick(['String.raw'].concat(scope.tags)));
        this.Emit('`' + this.TemplateText(true) + '${' + e() + '}`');
        break;
      case 3:
        this.Emit('let ' + x + ' = (' + e() + ')');
        this.Emit(this.r.pick(['/ 2 / 4', '/2/1', '+ ' + e(), '- ' + e(), '* 2', '?.toString()', '?.constructor === String']));
        break;
      case 4: {
        if (scope.vars.length < 2) return this.Declare(scope);
        const [a, b] = [this.r.pick(scope.vars), this.r.pick(scope.vars)];
        this.Emit(a);
        this.Emit(this.r.pick(['++', '--']));
        this.Emit(b);
        this.PrintLine([a, b]);
        return;
      }
      case 5:
        this.Emit('let ' + x + ' = ' + e());
        this.Emit('  ? ' + e());
        this.Emit('  : ' + e());
        break;
      case 6:
        this.Emit('const ' + x + ' = () => {}');
        this.Emit(this.r.pick(kModernRegExps.filter((r) => !r.startsWith('/='))) + '.test(' + this.r.pick(kSubjects) + ') && console.log("regex after an arrow")');
        return;
      case 7:
        this.Emit('if (' + e() + ') {');
        this.Emit('}');
        this.Emit(this.r.pick(kModernRegExps.filter((r) => !r.startsWith('/='))) + '.test(' + this.r.pick(kSubjects) + ') && console.log("regex after a block")');
        return;
      case 8:
        this.Emit('do {');
        this.Emit('  console.log("do", ' + e() + ')');
        this.Emit('} while (false) console.log("after do-while")');
        return;
      case 9:
        this.Emit('const ' + x + ' = () => {');
        this.Emit('  return');
        this.Emit('  ' + this.Statementable(this.E(this.ArrowScope(scope), 2)));
        this.Emit('}');
        this.PrintLine([x + '()']);
        return;
      case 10:
        this.Emit('try {');
        this.Emit('  throw new Error(');
        this.Emit('    "split " + ' + e());
        this.Emit('  )');
        this.Emit('} catch ({ message }) {');
        this.Emit('  console.log(message)');
        this.Emit('}');
        return;
      case 11:
        this.Emit('const ' + x + ' = {');
        this.Emit('  get');
        this.Emit('  k() { return ' + this.E(this.Plain(scope), 1) + ' },');
        this.Emit('  set');
        this.Emit('  k(v) { console.log("set", v) },');
        this.Emit('}');
        this.PrintLine([x + '.k', '(' + x + '.k = 3)', 'Object.keys(' + x + ').join()']);
        return;
      case 12:
        this.Emit(';(() => console.log("arrow iife", ' + this.E(this.ArrowScope(scope), 2) + '))()');
        this.Emit(';[' + e() + ', ' + e() + '].forEach((item) =>');
        this.Emit('  console.log("each", item))');
        return;
      case 13:
        this.Emit(';`${' + e() + '}`.length || console.log("empty template")');
        this.Emit('console.log(typeof /x/v, /a/d.hasIndices, "source" in /x/u)');
        return;
      case 14:
        this.Emit('let ' + x + ' = (' + e() + ')');
        this.Emit('  ?? (' + e() + ')');
        break;
      default:
        if (scope.records.length) {
          this.Emit('let ' + x + ' = ' + this.r.pick(scope.records).name);
          this.Emit('  ?.missing');
        } else {
          this.Emit('let ' + x + ' = new');
          this.Emit('  Array(3).fill(' + e() + ').join()');
        }
    }
    this.Bind(scope, x, true);
    this.PrintLine([x]);
  }

  // Divisions after ) ] } and names, and regular expressions where a slash
  // follows a keyword.
  Division(scope) {
    const x = this.Name('q');
    const e = () => this.E(scope, 1);
    const readable = this.Readable(scope);
    const name = readable.length ? this.r.pick(readable) : '6';
    switch (this.r.int(5)) {
      case 0: this.Emit('let ' + x + ' = (' + e() + ') / 2 / 1'); break;
      case 1: this.Emit('let ' + x + ' = ' + name + ' /2/ ' + this.r.pick(['1', name])); break;
      case 2: this.Emit('let ' + x + ' = ' + (scope.arrays.length ? this.r.pick(scope.arrays) : '[8]') + '[0] / 2 / 2'); break;
      case 3: this.Emit('let ' + x + ' = ' + e() + ' ? /}/.source : /\\//.source'); break;
      default: this.Emit('let ' + x + ' = (() => /[/]+/g)().flags + (typeof /x/d) + ({ a: 4 }.a / 2)');
    }
    this.Bind(scope, x, true);
    this.PrintLine([x]);
  }

  // `var` names that are keywords elsewhere: async, of, get, set.
  WordNames(scope) {
    this.Emit('var async = ' + this.E(scope, 1) + ', get = ' + this.E(scope, 1) + ', set = ' + this.E(scope, 1) + ', of = [' + this.E(scope, 1) + ', 2]');
    for (const name of ['async', 'get', 'set']) this.Bind(scope, name, true);
    this.Emit('for (const ' + this.Name('x') + ' of of) console.log("of of", get)');
    this.PrintLine(['(async => async)(' + this.E(scope, 1) + ')', '{ get, set, async }', '(of => of)(1)']);
  }

  // ---- generators and async functions

  GeneratorDecl(scope) {
    const name = this.Name('g');
    const inner = this.FunctionScope(scope, { generator: true });
    const n = this.Name('n');
    this.Bind(inner, n, false);
    const asExpression = this.r.chance(0.3);
    this.Emit(asExpression ? 'const ' + name + ' = function* (' + n + ') {' : 'function' + this.r.pick(['* ', ' *', '*']) + name + '(' + n + ') {');
    const i = this.Name('i');
    const loop = this.NewScope(inner);
    loop.inLoop = true;
    this.Bind(loop, i, false);
    this.Emit('  for (let ' + i + ' = 0; ' + i + ' < ' + n + '; ' + i + '++) {');
    this.Emit('    yield ' + i + ' + ' + this.E(loop, 1));
    this.Emit('  }');
    if (this.r.chance(0.4)) this.Emit('  yield* [' + this.E(inner, 1) + ', ' + this.E(inner, 1) + ']');
    if (scope.gens.length && this.r.chance(0.4)) this.Emit('  yield*\n' + this.indent + '    ' + this.r.pick(scope.gens) + '(1)');
    if (this.r.chance(0.3)) {
      const got = this.Name('got');
      this.Emit('  const ' + got + ' = yield');
      this.Emit('  console.log("got", ' + got + ')');
    }
    if (this.r.chance(0.3)) {
      // "yield" before a line break yields undefined; the next line is a statement.
      this.Emit('  yield');
      this.Emit('  ' + this.Statementable(this.Leaf(inner)));
    }
    if (this.r.chance(0.3)) this.Emit('  yield ' + this.r.pick(kModernRegExps) + '.source');
    if (this.r.chance(0.3)) {
      this.Emit('  try {');
      this.Emit('    yield ' + this.E(inner, 1));
      this.Emit('  } finally {');
      this.Emit('    console.log("generator cleanup")');
      this.Emit('  }');
    }
    if (inner.depth < 3) this.Block(inner, this.r.int(2));
    this.Emit('  return ' + this.E(inner, 1));
    this.Emit('}');
    scope.gens.push(name);
    this.ConsumeGenerator(scope, name);
  }

  ConsumeGenerator(scope, name) {
    switch (this.r.int(5)) {
      case 0: return this.PrintLine(['[...' + name + '(' + this.r.int(3) + ')].join()']);
      case 1: return this.Emit('for (const ' + this.Name('v') + ' of ' + name + '(2)) console.log("yielded")');
      case 2: {
        const it = this.Name('it');
        this.Emit('const ' + it + ' = ' + name + '(2)');
        this.PrintLine([it + '.next().value', it + '.next(' + this.E(scope, 1) + ')', it + '.return(' + this.E(scope, 1) + ')', it + '.next()']);
        return;
      }
      case 3: {
        const bound = [];
        const pattern = this.ArrayPattern(scope, bound);
        this.Emit('const ' + pattern.text + ' = ' + name + '(3)');
        for (const b of bound) this.Bind(scope, b, false);
        if (pattern.rest) scope.arrays.push(pattern.rest);
        if (bound.length) this.PrintLine(bound);
        return;
      }
      default: return this.PrintLine(['Array.from(' + name + '(2), (x) => String(x) + "!")']);
    }
  }

  // A generator that never ends, only ever destructured (which closes it).
  EndlessGenerator(scope) {
    const name = this.Name('g');
    const i = this.Name('i');
    this.Emit('function* ' + name + '() {');
    this.Emit('  let ' + i + ' = ' + this.Number());
    this.Emit('  while (true) yield ' + i + '++');
    this.Emit('}');
    const [a, b] = [this.Name('d'), this.Name('d')];
    this.Emit('const [' + a + ', , ' + b + '] = ' + name + '()');
    this.Bind(scope, a, false);
    this.Bind(scope, b, false);
    this.PrintLine([a, b]);
  }

  AsyncDecl(scope) {
    const name = this.Name('a');
    const inner = this.FunctionScope(scope, { async: true });
    const x = this.Name('x');
    this.Bind(inner, x, true);
    const form = this.r.int(3);
    if (form === 0) this.Emit('async function ' + name + '(' + x + ') {');
    else if (form === 1) this.Emit('const ' + name + ' = async (' + x + ') => {');
    else this.Emit('const ' + name + ' = async function (' + x + ') {');
    const y = this.Name('y');
    this.Emit('  const ' + y + ' = await' + (this.r.chance(0.3) ? '\n' + this.indent + '    ' : ' ') + this.Awaited(this.E(inner, 2)));
    this.Bind(inner, y, false);
    this.Emit('  await null');
    this.Emit('  console.log("async", ' + y + ')');
    const safe = scope.asyncs.filter((a) => !a.mayReject);
    if (safe.length && this.r.chance(0.5)) this.Emit('  console.log("awaited", await ' + this.r.pick(safe).name + '(' + this.E(inner, 1) + '))');
    if (this.r.chance(0.4)) {
      this.Emit('  try {');
      this.Emit('    await Promise.reject(new Error("no " + ' + this.E(inner, 1) + '))');
      this.Emit('  } catch ({ message }) {');
      this.Emit('    console.log("async caught", message)');
      this.Emit('  }');
    }
    if (this.r.chance(0.3)) {
      const total = this.Name('total');
      const p = this.Name('p');
      this.Emit('  let ' + total + ' = 0');
      this.Emit('  for (const ' + p + ' of [' + this.E(inner, 1) + ', Promise.resolve(' + this.E(inner, 1) + ')]) ' + total + ' += await ' + p);
      this.Emit('  console.log("total", ' + total + ')');
    }
    if (this.r.chance(0.3)) this.AsyncGeneratorLoop(inner);
    if (inner.depth < 3) this.Block(inner, this.r.int(2));
    const mayReject = this.r.chance(0.25);
    if (mayReject) this.Emit('  if (' + x + ' !== ' + this.Number() + ') throw new Error("rejected " + ' + y + ')');
    this.Emit('  return ' + x + ' ?? (' + this.E(inner, 1) + ')');
    this.Emit('}');
    scope.asyncs.push({ name, mayReject });
    this.CallAsync(scope, name, mayReject);
  }

  // At the top level, promises go to the list printed at the end; inside a
  // function (which may run after that list was taken), they are awaited or
  // given a handler, so no rejection is ever left unhandled.
  CallAsync(scope, name, mayReject) {
    const call = name + '(' + this.E(scope, 1) + ')';
    if (!scope.inFunction) {
      this.Emit(this.pending + '.push(' + call + ', ' + name + '(' + this.E(scope, 1) + ').then((v) =>');
      this.Emit('  String(v).length))');
    } else if (scope.inAsync && !mayReject) {
      this.PrintLine(['await ' + call]);
    } else {
      this.Emit(call + '.then((v) => console.log("then", v), ({ message }) => console.log("rejected", message))');
    }
  }

  AsyncGeneratorLoop(scope) {
    const name = this.Name('ag');
    const i = this.Name('i');
    const v = this.Name('v');
    this.Emit('  async function* ' + name + '(n) {');
    this.Emit('    for (let ' + i + ' = 0; ' + i + ' < n; ' + i + '++) {');
    this.Emit('      await null');
    this.Emit('      yield ' + i + ' * 2');
    this.Emit('    }');
    this.Emit('  }');
    this.Emit('  for await (const ' + v + ' of ' + name + '(2)) console.log("for await", ' + v + ')');
    this.Emit('  for await (const ' + this.Name('w') + ' of [1, Promise.resolve(2)]) console.log("for await array")');
  }

  PromiseChain(scope) {
    if (scope.inFunction) return this.Print(scope);
    const safe = scope.asyncs.filter((a) => !a.mayReject);
    const first = safe.length ? this.r.pick(safe).name + '(' + this.E(scope, 1) + ')' : 'Promise.resolve(' + this.E(scope, 1) + ')';
    this.Emit(this.pending + '.push(');
    this.Emit('  ' + first);
    this.Emit('    .then((v) => [v, ' + this.E(scope, 1) + '])');
    this.Emit('    .finally(() => console.log("finally ran")),');
    this.Emit('  Promise.all([' + this.E(scope, 1) + ', Promise.resolve(2)]).then((all) => all.join("&")),');
    this.Emit('  (async () => {');
    this.Emit('    const out = []');
    this.Emit('    for await (const v of [' + this.E(scope, 1) + ', 2]) out.push(v)');
    this.Emit('    return out.join()');
    this.Emit('  })(),');
    this.Emit(')');
  }

  // ---- classes

  // The elements of a class body, planned before they are written so that a
  // field can see whether the next element starts with "[" or "*".
  ClassPlan(info, base) {
    const plan = [];
    const used = new Set(info.used);
    const fresh = (prefix) => {
      const name = this.Name(prefix);
      used.add(name);
      return name;
    };
    const word = () => {
      const free = kWordNames.filter((w) => !used.has(w));
      if (!free.length) return fresh('m');
      const w = this.r.pick(free);
      used.add(w);
      return w;
    };
    const privateField = '#' + fresh('p');
    plan.push({ kind: 'field', name: privateField, init: true });
    for (let n = this.r.int(3); n > 0; --n) {
      const kind = this.r.int(6);
      if (kind === 0) plan.push({ kind: 'field', name: word(), init: this.r.chance(0.5) });
      else if (kind === 1) plan.push({ kind: 'computed', name: fresh('cf') });
      else if (kind === 2) plan.push({ kind: 'arrowField', name: fresh('af') });
      else if (kind === 3) plan.push({ kind: 'field', name: '#' + fresh('p'), init: this.r.chance(0.7) });
      else plan.push({ kind: 'field', name: fresh('f'), init: this.r.chance(0.8) });
    }
    // "async" then a line break: a field named async, not an async method.
    if (!used.has('async') && this.r.chance(0.25)) {
      used.add('async');
      plan.push({ kind: 'field', name: 'async', init: false });
    }
    if (this.r.chance(0.5)) plan.push({ kind: 'static', name: fresh('s') });
    if (this.r.chance(0.3)) plan.push({ kind: 'static', name: '#' + fresh('sp') });
    if (this.r.chance(0.4)) plan.push({ kind: 'staticBlock' });
    if (this.r.chance(0.7)) plan.push({ kind: 'ctor' });
    plan.push({ kind: 'method', name: this.r.chance(0.3) ? word() : fresh('m') });
    if (this.r.chance(0.3)) plan.push({ kind: 'computedMethod', name: fresh('cm') });
    if (this.r.chance(0.5)) plan.push({ kind: 'accessor', name: fresh('acc'), store: privateField });
    if (this.r.chance(0.4)) plan.push({ kind: 'privateMethod', name: '#' + fresh('h'), caller: fresh('m') });
    if (this.r.chance(0.5)) plan.push({ kind: 'brand', name: fresh('is'), check: privateField });
    if (base && base.protoMethods.length && this.r.chance(0.7)) plan.push({ kind: 'override', name: this.r.pick(base.protoMethods) });
    if (!info.iterable && this.r.chance(0.3)) plan.push({ kind: 'iterator' });
    if (this.r.chance(0.3)) plan.push({ kind: 'asyncMethod', name: fresh('am') });
    if (this.r.chance(0.3)) plan.push({ kind: 'staticMethod', name: this.r.chance(0.3) ? word() : fresh('sm') });
    if (this.r.chance(0.2)) plan.push({ kind: 'staticGenerator', name: fresh('sg') });
    // Keep the fields first (in order); shuffle the methods among them a little.
    for (let i = plan.length - 1; i > 0; --i) {
      const j = this.r.int(i + 1);
      const movable = (el) => !['field', 'computed', 'arrowField', 'static', 'staticBlock'].includes(el.kind);
      if (movable(plan[i]) && movable(plan[j])) [plan[i], plan[j]] = [plan[j], plan[i]];
    }
    info.used = [...used];
    return plan;
  }

  FirstChar(element) {
    switch (element.kind) {
      case 'computed': case 'computedMethod': return '[';
      case 'iterator': return '*';
      case 'field': return element.name[0];
      default: return 'x';
    }
  }

  ClassDecl(scope) {
    const name = this.Name('C');
    const base = scope.classes.length && this.r.chance(0.5) ? this.r.pick(scope.classes) : null;
    const info = {
      name,
      used: base ? base.used.slice() : [],
      // A subclass cannot name its base's private members.
      members: base ? base.members.filter((m) => !m.startsWith('#')) : [],
      methods: base ? base.methods.slice() : [],
      // Methods on the prototype, which `super.m()` reaches (arrow fields are not there).
      protoMethods: base ? base.protoMethods.slice() : [],
      staticGenerators: base ? base.staticGenerators.slice() : [],
      setters: base ? base.setters.slice() : [],
      statics: base ? base.statics.slice() : [],
      staticMethods: base ? base.staticMethods.slice() : [],
      brand: null,
      iterable: base ? base.iterable : false,
      asyncMethods: base ? base.asyncMethods.slice() : [],
    };
    const plan = this.ClassPlan(info, base);
    const form = this.r.int(3);
    const heritage = base ? ' extends ' + (this.r.chance(0.3) ? '(' + this.E(scope, 1) + ', ' + base.name + ')' : base.name) : '';
    if (form === 0) this.Emit('class ' + name + heritage + ' {');
    else if (form === 1) this.Emit('const ' + name + ' = class' + heritage + ' {');
    else this.Emit('let ' + name + ' = class ' + this.Name('Inner') + heritage + ' {');
    const classScope = this.FunctionScope(scope, { strict: true });
    classScope.strict = true;
    const fieldMembers = info.members.slice();
    const staticMembers = [];
    this.Indented(() => {
      plan.forEach((element, k) => {
        const next = plan[k + 1];
        this.ClassElement(classScope, info, element, fieldMembers, staticMembers, next ? this.FirstChar(next) : '}', base);
      });
    });
    this.Emit('}');
    scope.classes.push(info);
    this.UseClass(scope, info);
  }

  // Ends a field: ";" or only the line break, but ";" where the next element
  // would run on ("x = 1" then "[k]() {}" reads as "1[k]()"), and after a
  // field named get, set or static, which would take the next element as its
  // own. A field named async before a line break stays a field.
  FieldEnd(element, nextChar) {
    if (nextChar === '[' || nextChar === '*') return ';';
    if (!element.init && ['get', 'set', 'static'].includes(element.name)) return ';';
    return this.End();
  }

  MemberScope(classScope, members) {
    const scope = this.NewScope(classScope, true);
    scope.members = members.map((m) => 'this.' + m);
    return scope;
  }

  ClassElement(classScope, info, element, fieldMembers, staticMembers, nextChar, base) {
    const method = (header, members, body) => {
      const scope = this.MemberScope(classScope, members);
      const x = this.Name('x');
      this.Bind(scope, x, true);
      this.Emit(header.replace('(X)', '(' + x + ')') + ' {');
      if (scope.depth < 3 && this.r.chance(0.5)) this.Block(scope, 1);
      this.Emit('  return ' + (body ? body(x, scope) : this.E(scope, 2)));
      this.Emit('}');
    };
    switch (element.kind) {
      case 'field': {
        const init = element.init ? ' = ' + this.E(this.MemberScope(classScope, fieldMembers), 2) : '';
        this.Emit(element.name + init + this.FieldEnd(element, nextChar));
        fieldMembers.push(element.name);
        info.members.push(element.name);
        break;
      }
      case 'computed':
        this.Emit("['" + element.name + "'] = " + this.E(this.MemberScope(classScope, fieldMembers), 1) + this.FieldEnd(element, nextChar));
        fieldMembers.push(element.name);
        info.members.push(element.name);
        break;
      case 'arrowField': {
        const scope = this.MemberScope(classScope, fieldMembers);
        const p = this.Name('p');
        this.Bind(scope, p, true);
        this.Emit(element.name + ' = (' + p + ') =>');
        this.Emit('  ' + this.ArrowBody(scope, 2) + this.FieldEnd(element, nextChar));
        info.methods.push(element.name);
        break;
      }
      case 'static':
        this.Emit('static ' + element.name + ' = ' + this.E(this.MemberScope(classScope, staticMembers), 1) + this.FieldEnd(element, nextChar));
        staticMembers.push(element.name);
        if (!element.name.startsWith('#')) info.statics.push(element.name);
        break;
      case 'staticBlock': {
        const scope = this.MemberScope(classScope, staticMembers);
        this.Emit('static {');
        const s = this.Name('s');
        this.Emit('  this.' + s + ' = ' + this.E(scope, 1));
        staticMembers.push(s);
        info.statics.push(s);
        if (scope.depth < 3) this.Block(scope, 1 + this.r.int(2));
        this.Emit('  console.log("static block", this.' + s + ')');
        this.Emit('}');
        break;
      }
      case 'ctor': {
        const scope = this.MemberScope(classScope, fieldMembers);
        const [a, b] = [this.Name('a'), this.Name('b')];
        this.Bind(scope, a, true);
        this.Bind(scope, b, true);
        this.Emit('constructor(' + a + ', ' + b + ' = ' + this.E(classScope, 1) + ') {');
        if (base) this.Emit('  super(' + (this.r.chance(0.5) ? a + ', ' + b : '...[' + a + ', ' + b + ']') + ')');
        const own = this.Name('own');
        this.Emit('  this.' + own + ' = ' + a + ' ?? ' + b);
        info.members.push(own);
        this.Emit('  console.log("made", new.target === this.constructor, ' + this.E(scope, 1) + ')');
        this.Emit('}');
        break;
      }
      case 'method': case 'computedMethod': {
        const header = element.kind === 'method' ? element.name + '(X)' : '[`' + element.name + '`](X)';
        method(header, info.members);
        info.methods.push(element.name);
        info.protoMethods.push(element.name);
        break;
      }
      case 'accessor':
        this.Emit('get ' + element.name + '() { return this.' + element.store + ' }');
        this.Emit('set ' + element.name + '(v) { this.' + element.store + ' = v }');
        info.members.push(element.name);
        info.setters.push(element.name);
        break;
      case 'privateMethod': {
        const p = this.Name('p');
        const scope = this.NewScope(classScope, true);
        this.Bind(scope, p, true);
        this.Emit(element.name + '(' + p + ') { return ' + p + ' + ' + this.E(scope, 1) + ' }');
        method(element.caller + '(X)', info.members, (x) => 'this.' + element.name + '(' + x + ')');
        info.methods.push(element.caller);
        info.protoMethods.push(element.caller);
        break;
      }
      case 'brand':
        this.Emit('static ' + element.name + '(o) { return ' + element.check + ' in o }');
        info.brand = element.name;
        break;
      case 'override':
        method(element.name + '(X)', info.members, (x, scope) => 'super.' + element.name + '(' + x + ') + ' + this.E(scope, 1));
        break;
      case 'iterator':
        this.Emit('*[Symbol.iterator]() {');
        this.Emit('  yield ' + (info.members.length ? 'this.' + this.r.pick(info.members) : '1'));
        this.Emit('  yield* [' + this.E(classScope, 1) + ', 2]');
        this.Emit('}');
        info.iterable = true;
        break;
      case 'asyncMethod':
        this.Emit('async ' + element.name + '(x) {');
        this.Emit('  await null');
        this.Emit('  return x ?? ' + (info.members.length ? 'this.' + this.r.pick(info.members) : '0'));
        this.Emit('}');
        info.asyncMethods.push(element.name);
        break;
      case 'staticMethod':
        method('static ' + element.name + '(X)', []);
        info.staticMethods.push(element.name);
        break;
      default:
        this.Emit('static *' + element.name + '() { yield* [typeof this, ' + this.E(classScope, 1) + '] }');
        info.staticGenerators.push(element.name);
        break;
    }
  }

  // Outside its class body a private name does not parse.
  Public(names) { return names.filter((n) => !n.startsWith('#')); }

  UseClass(scope, info) {
    const inst = this.Name('inst');
    this.Emit('const ' + inst + ' = ' + (this.r.chance(0.2) ? 'new\n' + this.indent + '  ' : 'new ') + info.name + '(' + this.E(scope, 1) + ', ' + this.E(scope, 1) + ')');
    scope.instances.push({ name: inst, info });
    const shown = [inst];
    if (info.methods.length) shown.push(inst + '.' + this.r.pick(info.methods) + '(' + this.E(scope, 1) + ')');
    const visible = this.Public(info.members);
    if (visible.length) shown.push(inst + '.' + this.r.pick(visible));
    if (info.statics.length) shown.push(info.name + '.' + this.r.pick(info.statics));
    if (info.staticMethods.length) shown.push(info.name + '.' + this.r.pick(info.staticMethods) + '(' + this.E(scope, 1) + ')');
    if (info.brand) shown.push(info.name + '.' + info.brand + '(' + inst + ')', info.name + '.' + info.brand + '({})');
    if (info.iterable) shown.push('[...' + inst + '].join()');
    if (info.staticGenerators.length) shown.push('[...' + info.name + '.' + this.r.pick(info.staticGenerators) + '()]');
    this.PrintLine(shown);
    if (info.setters.length) {
      const setter = this.r.pick(info.setters);
      this.Emit(inst + '.' + setter + ' = ' + this.E(scope, 1));
      this.PrintLine([inst + '.' + setter]);
    }
    if (info.asyncMethods.length && !scope.inFunction) this.Emit(this.pending + '.push(' + inst + '.' + this.r.pick(info.asyncMethods) + '(' + this.E(scope, 1) + '))');
  }

  ClassUse(scope, depth) {
    if (scope.instances.length) {
      const { name, info } = this.r.pick(scope.instances);
      const uses = [];
      if (info.methods.length) uses.push(name + '.' + this.r.pick(info.methods) + '(' + this.E(scope, depth - 1) + ')');
      const visible = this.Public(info.members);
      if (visible.length) uses.push(name + '.' + this.r.pick(visible));
      if (info.brand) uses.push(info.name + '.' + info.brand + '(' + name + ')');
      if (info.iterable) uses.push('[...' + name + '].length');
      uses.push('(' + name + ' instanceof ' + info.name + ')', 'typeof ' + info.name);
      return '(' + this.r.pick(uses) + ')';
    }
    if (scope.classes.length) {
      const info = this.r.pick(scope.classes);
      return info.statics.length ? info.name + '.' + this.r.pick(info.statics) : 'typeof ' + info.name;
    }
    return this.Template(scope, depth - 1, false);
  }

  // An object literal with a prototype, `super` in its methods, and methods
  // named by keywords.
  SuperObject(scope) {
    const base = this.Name('base');
    const obj = this.Name('obj');
    const word = this.r.pick(kWordNames);
    this.Emit('const ' + base + ' = { ' + word + '(x) { return "base " + x }, get g() { return 1 } }');
    this.Emit('const ' + obj + ' = {');
    this.Emit('  __proto__: ' + base + ',');
    this.Emit('  ' + word + '(x) { return super.' + word + '(x) + "!" + super.g },');
    // "yield (" rather than "yield /re/": acorn, which checks shrunk programs, misreads a
    // regular expression after yield in a generator method.
    this.Emit('  *[Symbol.iterator]() { yield (' + this.E(this.Plain(scope), 1) + ') },');
    this.Emit('  async ' + this.Name('am') + '() { return 1 },');
    this.Emit('}');
    this.PrintLine([obj + '.' + word + '(' + this.E(scope, 1) + ')', '[...' + obj + ']']);
  }

  // ---- statements and the program

  Statement(scope) {
    if (this.lines.length > kMaxLines) return this.r.chance(0.5) ? this.Print(scope) : this.Declare(scope);
    const deep = scope.depth >= 2;
    const choice = this.r.int(48);
    if (choice < 4) return this.Declare(scope);
    if (choice < 7) return this.Print(scope);
    if (choice < 8) return this.Assign(scope);
    if (deep && choice >= 30) return this.r.chance(0.5) ? this.Print(scope) : this.Declare(scope);
    switch (choice) {
      case 8: case 9: return this.Destructure(scope);
      case 10: return this.RecordDecl(scope);
      case 11: return this.ArrayDecl(scope);
      case 12: case 13: return this.ModernHazard(scope);
      case 14: return this.TemplateStatement(scope);
      case 15: return this.LogicalAssign(scope);
      case 16: return this.Division(scope);
      case 17: return this.SpreadStatement(scope);
      case 18: return this.DestructureAssign(scope);
      case 19: return this.IntendedError(scope);
      case 20: return this.ArrowArguments(scope);
      case 21: return this.Object(this.Plain(scope));
      case 22: return this.Switch(scope);
      case 23: return this.Hazard(this.Plain(scope));
      case 24: return this.LineStarts(this.Plain(scope));
      case 25:
        if (scope.inLoop && scope.labels.length) return this.Emit('if (' + this.E(scope, 1) + ') continue ' + this.r.pick(scope.labels));
        if (scope.blockLabels.length) return this.Emit('if (' + this.E(scope, 1) + ') break ' + this.r.pick(scope.blockLabels));
        return this.Print(scope);
      case 26:
        if (scope.inLoop) {
          // "break" before a line break: the next line is a statement of its own.
          this.Emit('if (' + this.E(scope, 1) + ') {');
          this.Emit('  break');
          this.Emit('  ' + this.Statementable(this.Leaf(scope)));
          return this.Emit('}');
        }
        return this.Print(scope);
      case 27: return this.Emit(this.r.chance(0.5) ? '/* block comment with } and ` */' : '// line comment with ${ and `');
      case 28: if (scope.inGenerator) return this.Emit('yield ' + this.E(scope, 2));
        if (scope.inAsync) return this.Emit('await ' + this.Awaited(this.E(scope, 2)));
        return this.Print(scope);
      case 29: return this.TagDecl(scope);
      case 30: return this.ArrowDecl(scope);
      case 31: return this.ClassicFunction(scope);
      case 32: return this.BlockScope(scope);
      case 33: return this.LoopClosures(scope);
      case 34: return this.ForOfPatterns(scope);
      case 35: return this.ClassDecl(scope);
      case 36: return this.ClassDecl(scope);
      case 37: return this.GeneratorDecl(scope);
      case 38: return this.AsyncDecl(scope);
      case 39: return this.PromiseChain(scope);
      case 40: return this.LabeledBlock(scope);
      case 41: return this.LabeledLoops(scope);
      case 42: return this.Loop(scope);
      case 43: return this.If(scope);
      case 44: return this.Try(scope);
      case 45: return this.Closure(scope);
      case 46: return this.r.chance(0.5) ? this.SuperObject(scope) : this.EndlessGenerator(scope);
      default: return this.Print(scope);
    }
  }

  Program() {
    const top = this.NewScope(null, false);
    this.pending = this.Name('pending');
    this.Emit('const ' + this.pending + ' = []');
    if (this.r.chance(0.2)) this.WordNames(top);
    for (let n = 5 + this.r.int(10); n > 0; --n) this.Statement(top);
    this.Emit('console.log("end", ' + top.vars.concat(top.consts).slice(-3).concat(['0']).join(', ') + ')');
    this.Emit('Promise.allSettled(' + this.pending + ').then((results) => {');
    this.Emit('  for (const { status, value, reason } of results) {');
    this.Emit('    console.log("settled", status, status === "fulfilled" ? value : reason?.message ?? reason)');
    this.Emit('  }');
    this.Emit('})');
    const text = this.lines.join('\n') + '\n';
    return this.r.chance(0.1) ? text.replace(/\n/g, '\r\n') : text;
  }
}

// The program of `seed`: a script that node runs.
function GenerateModernProgram(seed) {
  return new ModernGenerator(seed).Program();
}

module.exports = { GenerateModernProgram };
