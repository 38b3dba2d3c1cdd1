// trimlet::ChangeVars: gives every local binding a short name, and the same
// short names again wherever they cannot meet.
//
// The parser has bound every name in the code to its binding, so a binding
// and each use of it are found by the binding, not by the spelling; property
// names are no uses at all. Scopes are named from the outermost in. In each,
// the most used binding first takes the first generated name (see
// generated_names.h) that the scope's code does not need for another
// binding: not the name of a binding around it that code inside uses or
// declares, nor a name the scope keeps. So sibling scopes share names, and an
// inner scope takes an outer name that its code does not use:
//   function f(x){var y=x}function g(z){}   ->   function f(n){var r=n}function g(n){}
// A generated name is never a reserved word and never a global the code
// uses. What keeps its name:
//   the top level of a script                 globals that other scripts see
//                                             (a CommonJS module's is its own,
//                                             unless joined with other sources)
//   export let a; export function f() {}      a module's exported names
//   export { b }, import { c } from "m"       unless writing out "x as b" pays
//   var f = function () {}; g = () => {}      the name the function takes (.name),
//                                             where code reads f other than to
//                                             call it, unless writing it into the
//                                             function pays: var a=function f(){}
//   (function f() {}), (class C {})           the name is the expression's .name,
//                                             and little besides uses it
//   eval(s)   with (o) {}                     names looked up at run time, in
//                                             the scope and every one around it
//   function f(a = () => x) { var x }         a default does not see the body's
//                                             names, but the parser's scope holds them
//   catch (e) { var e = 1 }                   the var assigns the catch's e
//   { function g() {} }  in sloppy code       the block function is also a var
//   arguments, eval                           the arguments object, direct eval
// Exported names, the names functions take or have, and imports written
// once, when kept, are kept in scope: only the scopes whose code sees such a name avoid
// it (and a binding that code under it uses may not take it). The others are
// kept everywhere: no generated name is one of them. A binding kept for eval
// or with, a default or a block function also keeps the names of the
// bindings of the same name that it hides, since code that the parser binds
// to it may at run time find one of those.
// {x} whose x is renamed becomes {x:a}. Labels and private names (#x) get
// short names of their own.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "generated_names.h"
#include "packer.h"
#include "platform.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

using pack::Binding;
using pack::BindingKind;
using pack::NameUse;
using pack::Scope;
using pack::ScopeKind;
using pack::Scopes;
using pack::Token;

// What becomes of a binding's name.
enum Naming : uint8_t {
  kKeepEverywhere = 0,  // kept, and no generated name anywhere takes it
  kRename = 1,          // a generated name
  kKeepInScope = 2,     // kept; only the scopes whose code sees it avoid it
};

// Whether a binding may take a generated name, before the hiding rule.
// A CommonJS module's top level is its own only while it is packed alone:
// joined with other sources, its names meet theirs.
bool MayRename(const Scopes& scopes, const Binding& b, int32_t argumentsName, int32_t evalName,
               bool packedAlone) {
  if (!b.renamable || b.name == argumentsName || b.name == evalName) return false;
  const Scope& scope = scopes.AllScopes()[static_cast<size_t>(b.scope)];
  if (scope.kind == ScopeKind::Script || (scope.commonJsModule && !packedAlone)) return false;
  if (b.kind == BindingKind::BlockFunction) return false;
  return !scope.dynamic && !scopes.HasBlockFunctionNamed(b.scope, b.name);
}

// import { a } and export { a }, which a renamed binding writes out in full:
// import { a as b }, export { b as a }.
bool NamesItself(const NameUse& use, const Token& t, const std::vector<Binding>& bindings) {
  return use.exportsItself || (use.declares && (t.flags & pack::kShorthand) != 0 &&
                               bindings[static_cast<size_t>(use.binding)].kind == BindingKind::Import);
}

// Whether renaming a binding (to a name of two characters, say) saves more
// than writing its old name out costs: `writtenOut` of its `uses` become
// "b as a", and `functionsNamed` functions get the name written in.
bool RenamingPays(size_t nameLength, uint32_t uses, uint32_t writtenOut, uint32_t functionsNamed) {
  return nameLength > 2 &&
         (uses - writtenOut) * (nameLength - 2) > writtenOut * 6 + functionsNamed * (nameLength + 1);
}

// Whether a function or class expression may be given `name` as its own:
// a plain name, no word that some code reserves (class yield {}).
bool MayNameFunction(std::u16string_view name) {
  return name.find(u'\\') == std::u16string_view::npos && pack::MayBeGenerated(name);
}

// For each binding, what renaming it would have to write out so that the
// names other code sees stay: export { b as a }, import { a as b }, and the
// .name of the functions that take its name.
struct SeenNames {
  explicit SeenNames(size_t count)
      : uses(count, 0), writtenOut(count, 0), functionsNamed(count, 0), readAsValue(count, 0),
        arrowNamed(count, 0), exportedDeclaration(count, 0) {}
  std::vector<uint32_t> uses;
  std::vector<uint32_t> writtenOut;      // export { a }, import { a }
  std::vector<uint32_t> functionsNamed;  // var f = function () {}, g = () => {}
  // Some use reads the value other than to call it, so a function's .name
  // may be seen: f.name, g(f), export { f }.
  std::vector<uint8_t> readAsValue;
  std::vector<uint8_t> arrowNamed;  // an arrow takes the name: none can be written in
  // export { f } of function f () {} or class f {}: the declaration's name is the .name
  std::vector<uint8_t> exportedDeclaration;
};

// `callsShowFunctions`: the code may reach a called function through
// arguments.callee or f.caller, so a call reads it as a value too, unless
// every function the binding names is strict code, which neither reaches.
SeenNames CountSeenNames(const Scopes& scopes, const pack::TokenList& tokens, bool callsShowFunctions) {
  const std::vector<Binding>& bindings = scopes.Bindings();
  SeenNames seen(bindings.size());
  std::vector<uint8_t> functionOrClass(bindings.size(), 0);
  std::vector<uint8_t> sloppyFunction(bindings.size(), 0);
  for (const NameUse& use : scopes.Uses()) {
    if (use.binding >= 0 && use.namesFunction && !use.strictFunction) sloppyFunction[static_cast<size_t>(use.binding)] = 1;
  }
  for (const NameUse& use : scopes.Uses()) {
    if (use.binding < 0) continue;
    const size_t b = static_cast<size_t>(use.binding);
    ++seen.uses[b];
    if (NamesItself(use, tokens[use.token], bindings)) ++seen.writtenOut[b];
    if (use.namesFunction) {
      ++seen.functionsNamed[b];
      seen.arrowNamed[b] |= use.nameSlot == 0;
    } else if (!use.declares && (!use.called || (callsShowFunctions && sloppyFunction[b]))) {
      seen.readAsValue[b] = 1;
    }
    functionOrClass[b] |= use.declaresFunction;
  }
  for (size_t b = 0; b < bindings.size(); ++b) {
    seen.exportedDeclaration[b] = functionOrClass[b] && seen.writtenOut[b] > 0;
  }
  return seen;
}

// Whether binding `b` may be renamed with the names others see written out,
// and whether that writes its name into the functions that take it.
bool RenamingKeepsSeenNames(const SeenNames& seen, size_t b, std::u16string_view name,
                            bool& writesFunctionNames) {
  writesFunctionNames = seen.functionsNamed[b] > 0 && seen.readAsValue[b];
  if (seen.writtenOut[b] == 0 && !writesFunctionNames) return true;
  if (seen.exportedDeclaration[b]) return false;
  if (writesFunctionNames && (seen.arrowNamed[b] || !MayNameFunction(name))) return false;
  return RenamingPays(name.size(), seen.uses[b], seen.writtenOut[b],
                      writesFunctionNames ? seen.functionsNamed[b] : 0);
}

// The Naming of each binding of one source; `writesFunctionNames` marks the
// renamed bindings whose name goes into the functions that take it.
std::vector<uint8_t> RenamableBindings(const Scopes& scopes, const pack::TokenList& tokens,
                                       const pack::TextTable& names, int32_t argumentsName,
                                       int32_t evalName, bool packedAlone, bool callsShowFunctions,
                                       std::vector<uint8_t>& writesFunctionNames) {
  const std::vector<Binding>& bindings = scopes.Bindings();
  std::vector<uint8_t> renamable(bindings.size(), kKeepEverywhere);
  writesFunctionNames.assign(bindings.size(), 0);
  for (size_t b = 0; b < bindings.size(); ++b) {
    if (!MayRename(scopes, bindings[b], argumentsName, evalName, packedAlone)) continue;
    renamable[b] = bindings[b].kind == BindingKind::SelfName ? kKeepInScope : kRename;
  }
  for (const NameUse& use : scopes.Uses()) {
    if (use.binding < 0) continue;
    uint8_t& naming = renamable[static_cast<size_t>(use.binding)];
    // undefined, NaN and Infinity are literal tokens, even where they name a binding
    if (tokens[use.token].kind != pack::Identifier) {
      naming = kKeepEverywhere;
    } else if (use.keepsName && naming == kRename) {
      naming = kKeepInScope;
    }
  }
  const SeenNames seen = CountSeenNames(scopes, tokens, callsShowFunctions);
  for (size_t b = 0; b < bindings.size(); ++b) {
    bool writes = false;
    if (renamable[b] != kRename) continue;
    if (!RenamingKeepsSeenNames(seen, b, names.Text(bindings[b].name), writes)) {
      renamable[b] = kKeepInScope;
    } else {
      writesFunctionNames[b] = writes ? 1 : 0;
    }
  }
  // A default or pattern of the parameters (of a function or a catch) does
  // not see the body's names, but the parser binds a name there to one of them
  // when the body declares it, first, after the parameters:
  //   function f(a = x) { var x }   catch ([a = () => x]) { let x }
  std::vector<size_t> firstDeclared(bindings.size(), SIZE_MAX);
  for (size_t u = 0; u < scopes.Uses().size(); ++u) {
    const NameUse& use = scopes.Uses()[u];
    if (use.declares && use.binding >= 0) {
      firstDeclared[static_cast<size_t>(use.binding)] = std::min(firstDeclared[static_cast<size_t>(use.binding)], u);
    }
  }
  std::vector<uint8_t> seenByParameters(bindings.size(), 0);
  for (size_t u = 0; u < scopes.Uses().size(); ++u) {
    const NameUse& use = scopes.Uses()[u];
    if (use.declares || use.binding < 0) continue;
    const Binding& b = bindings[static_cast<size_t>(use.binding)];
    const Scope& scope = scopes.AllScopes()[static_cast<size_t>(b.scope)];
    if (scope.parameterExpressions && u < scope.bodyFirstUse &&
        firstDeclared[static_cast<size_t>(use.binding)] >= scope.bodyFirstUse) {
      seenByParameters[static_cast<size_t>(use.binding)] = 1;
      renamable[static_cast<size_t>(use.binding)] = kKeepEverywhere;
    }
  }
  // What the parser may have bound too near keeps the names it hides.
  std::vector<uint8_t> hidesKept(bindings.size(), 0);
  for (size_t b = 0; b < bindings.size(); ++b) {
    const Scope& scope = scopes.AllScopes()[static_cast<size_t>(bindings[b].scope)];
    const bool hides = seenByParameters[b] || scope.dynamic ||
                       bindings[b].kind == BindingKind::BlockFunction;
    if (!hides) continue;
    for (int32_t c = bindings[b].covered; c >= 0 && !hidesKept[static_cast<size_t>(c)];
         c = bindings[static_cast<size_t>(c)].covered) {
      hidesKept[static_cast<size_t>(c)] = 1;
      renamable[static_cast<size_t>(c)] = kKeepEverywhere;
    }
  }
  return renamable;
}

// The scopes of a source as a tree: the children of each, and an order
// that puts every scope after the one around it.
struct ScopeTree {
  explicit ScopeTree(const std::vector<Scope>& all) : childStart(all.size() + 1, 0) {
    for (const Scope& s : all) {
      if (s.parent >= 0) ++childStart[static_cast<size_t>(s.parent) + 1];
    }
    for (size_t s = 0; s < all.size(); ++s) childStart[s + 1] += childStart[s];
    children.resize(childStart[all.size()]);
    std::vector<uint32_t> next(childStart.begin(), childStart.end() - 1);
    for (size_t s = 0; s < all.size(); ++s) {
      if (all[s].parent >= 0) children[next[static_cast<size_t>(all[s].parent)]++] = static_cast<uint32_t>(s);
    }
    std::vector<uint32_t> stack;
    for (size_t s = 0; s < all.size(); ++s) {
      if (all[s].parent < 0) stack.push_back(static_cast<uint32_t>(s));
    }
    while (!stack.empty()) {
      const uint32_t s = stack.back();
      stack.pop_back();
      outerFirst.push_back(s);
      for (uint32_t k = childStart[s]; k < childStart[s + 1]; ++k) stack.push_back(children[k]);
    }
  }
  std::vector<uint32_t> childStart;
  std::vector<uint32_t> children;
  std::vector<uint32_t> outerFirst;
};

// For each scope, the bindings of the scopes around it, renamed or kept in
// scope, that code inside it uses or declares: a name it may not give its own
// bindings. Each scope on the way from a use up to its binding's scope gets
// the binding once. False when that takes more than `budget` steps (thousands
// of nested functions that all use the names of the outermost): the caller
// then keeps every outer name.
bool OuterBindingsUsed(const Scopes& scopes, const std::vector<uint8_t>& renamable, size_t budget,
                       std::vector<uint32_t>& start, std::vector<int32_t>& bindings) {
  const std::vector<Scope>& all = scopes.AllScopes();
  pack::ScopeNameTable<bool> seen;
  seen.Reserve(scopes.UseCount());
  std::vector<std::pair<uint32_t, int32_t>> pairs;  // scope, binding
  for (const NameUse& use : scopes.Uses()) {
    // A var declared in a block counts too: no let of that block may take its
    // name, as in  for (let i;;) { var i }
    if (use.binding < 0 || renamable[static_cast<size_t>(use.binding)] == kKeepEverywhere) continue;
    const int32_t home = scopes.Bindings()[static_cast<size_t>(use.binding)].scope;
    for (int32_t s = use.scope; s != home && s >= 0; s = all[static_cast<size_t>(s)].parent) {
      bool& marked = seen[(static_cast<uint64_t>(static_cast<uint32_t>(s)) << 32) |
                          static_cast<uint32_t>(use.binding)];
      if (marked) break;
      marked = true;
      pairs.emplace_back(static_cast<uint32_t>(s), use.binding);
      if (pairs.size() > budget) return false;
    }
  }
  start.assign(all.size() + 1, 0);
  for (const auto& [s, b] : pairs) ++start[s + 1];
  for (size_t s = 0; s < all.size(); ++s) start[s + 1] += start[s];
  bindings.resize(pairs.size());
  std::vector<uint32_t> next(start.begin(), start.end() - 1);
  for (const auto& [s, b] : pairs) bindings[next[s]++] = b;
  return true;
}

// The generated name (by number) of each renamable binding of a source, -1
// for the others. Scopes are named from the outermost in; in each, the most
// used binding first, with the first name that the scope's code does not use
// for a binding around it, and that no binding of the scope keeps.
std::vector<int64_t> NameBindings(const Scopes& scopes, const std::vector<uint8_t>& renamable,
                                  pack::GeneratedNames& generated) {
  const std::vector<Binding>& bindings = scopes.Bindings();
  const size_t scopeCount = scopes.AllScopes().size();
  const ScopeTree tree(scopes.AllScopes());
  std::vector<uint32_t> uses(bindings.size(), 0);
  for (const NameUse& use : scopes.Uses()) {
    if (use.binding >= 0) ++uses[static_cast<size_t>(use.binding)];
  }
  // Renamed bindings by scope, the most used first; then those kept in scope.
  std::vector<uint32_t> order;
  for (size_t b = 0; b < bindings.size(); ++b) {
    if (renamable[b] != kKeepEverywhere) order.push_back(static_cast<uint32_t>(b));
  }
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    if (bindings[a].scope != bindings[b].scope) return bindings[a].scope < bindings[b].scope;
    if (renamable[a] != renamable[b]) return renamable[a] == kRename;
    return uses[a] > uses[b];
  });
  std::vector<uint32_t> first(scopeCount + 1, 0);
  for (uint32_t b : order) ++first[static_cast<size_t>(bindings[b].scope) + 1];
  for (size_t s = 0; s < scopeCount; ++s) first[s + 1] += first[s];

  // The number a kept name has, where it is one a generated name could take.
  std::vector<int64_t> number(bindings.size(), -1);
  for (uint32_t b : order) {
    if (renamable[b] == kKeepInScope) number[b] = generated.NumberOfName(bindings[b].name);
  }
  const size_t budget = 4 * (scopes.UseCount() + bindings.size()) + 4096;
  std::vector<uint32_t> outerStart;
  std::vector<int32_t> outer;
  bool exact = OuterBindingsUsed(scopes, renamable, budget, outerStart, outer);
  // A binding that code inside a scope uses may not take a name that the
  // scope keeps, or the kept binding would capture the uses:
  //   function f(){var a=1;function g(){var e=function(){};return a}}   a may not be e
  std::vector<std::pair<uint32_t, int64_t>> forbidden;  // binding, number
  for (size_t s = 0; exact && s < scopeCount; ++s) {
    for (uint32_t k = first[s]; k < first[s + 1] && exact; ++k) {
      if (renamable[order[k]] != kKeepInScope || number[order[k]] < 0) continue;
      for (uint32_t o = outerStart[s]; o < outerStart[s + 1]; ++o) {
        if (renamable[static_cast<size_t>(outer[o])] != kRename) continue;
        forbidden.emplace_back(static_cast<uint32_t>(outer[o]), number[order[k]]);
        if (forbidden.size() > budget) exact = false;
      }
    }
  }
  if (!exact) forbidden.clear();
  std::sort(forbidden.begin(), forbidden.end());
  // How many reasons each number has to be avoided where the walk stands:
  // small numbers by index, the rare large ones (kept long names) by hash.
  constexpr uint64_t kDense = uint64_t{1} << 20;
  std::vector<uint32_t> avoid;
  std::unordered_map<uint64_t, uint32_t> avoidLarge;
  const auto mark = [&](int64_t n, int32_t change) {
    if (n < 0) return;
    const auto at = static_cast<uint64_t>(n);
    if (at >= kDense) {
      avoidLarge[at] = static_cast<uint32_t>(static_cast<int32_t>(avoidLarge[at]) + change);
      return;
    }
    if (at >= avoid.size()) avoid.resize(at + 1, 0);
    avoid[at] = static_cast<uint32_t>(static_cast<int32_t>(avoid[at]) + change);
  };
  const auto avoided = [&](uint64_t n) {
    if (n >= kDense) {
      const auto it = avoidLarge.find(n);
      return it != avoidLarge.end() && it->second != 0;
    }
    return n < avoid.size() && avoid[n] != 0;
  };
  // Without the exact uses, a scope's names follow all those of the scopes
  // around it, and no name kept anywhere in the source is given.
  if (!exact) {
    for (uint32_t b : order) {
      if (renamable[b] == kKeepInScope) mark(number[b], 1);
    }
  }
  std::vector<uint64_t> end(scopeCount, 0);
  std::vector<int64_t> taken;
  for (uint32_t s : tree.outerFirst) {
    const int32_t parent = scopes.AllScopes()[s].parent;
    uint64_t next = exact || parent < 0 ? 0 : end[static_cast<size_t>(parent)];
    uint64_t past = next;  // past every number the scope takes
    if (exact) {
      for (uint32_t k = outerStart[s]; k < outerStart[s + 1]; ++k) mark(number[static_cast<size_t>(outer[k])], 1);
      for (uint32_t k = first[s]; k < first[s + 1]; ++k) {
        if (renamable[order[k]] == kKeepInScope) mark(number[order[k]], 1);
      }
    }
    taken.clear();
    for (uint32_t k = first[s]; k < first[s + 1] && renamable[order[k]] == kRename; ++k) {
      const uint32_t b = order[k];
      const auto forbid = std::lower_bound(forbidden.begin(), forbidden.end(), std::make_pair(b, int64_t{-1}));
      auto forbidEnd = forbid;
      while (forbidEnd != forbidden.end() && forbidEnd->first == b) mark((forbidEnd++)->second, 1);
      uint64_t candidate = next;
      while (!generated.MayGive(candidate) || avoided(candidate)) ++candidate;
      for (auto f = forbid; f != forbidEnd; ++f) mark(f->second, -1);
      number[b] = static_cast<int64_t>(candidate);
      // taken for the rest of the scope; a number skipped for this binding alone serves the next
      mark(number[b], 1);
      taken.push_back(number[b]);
      past = std::max(past, candidate + 1);
      while (avoided(next)) ++next;
    }
    end[s] = past;
    for (int64_t n : taken) mark(n, -1);
    if (exact) {
      for (uint32_t k = outerStart[s]; k < outerStart[s + 1]; ++k) mark(number[static_cast<size_t>(outer[k])], -1);
      for (uint32_t k = first[s]; k < first[s + 1]; ++k) {
        if (renamable[order[k]] == kKeepInScope) mark(number[order[k]], -1);
      }
    }
  }
  for (uint32_t b : order) {
    if (renamable[b] != kRename) number[b] = -1;
  }
  return number;
}

// Labels have names of their own: the labels open at one depth in their
// function all take the same name, the first that may be given for depth 0,
// the next for depth 1, and so on.
//   a: for (;;) { b: for (;;) break a }  c: for (;;) continue c
//   e: for (;;) { t: for (;;) break e }  e: for (;;) continue e
void NameLabels(const std::vector<std::unique_ptr<Scopes>>& sources, pack::TokenList& tokens,
                pack::GeneratedNames& generated) {
  std::vector<int32_t> nameOfDepth;
  size_t number = 0;
  for (const auto& source : sources) {
    for (const pack::LabelUse& label : source->Labels()) {
      Token& t = tokens[label.token];
      if (t.kind != pack::Identifier) continue;
      if (tokens.KeepsPositions()) tokens.PositionOf(label.token).name = t.value;
      while (nameOfDepth.size() <= label.depth) {
        while (!generated.MayGive(number)) ++number;
        nameOfDepth.push_back(generated.Identifier(number++));
      }
      t.value = nameOfDepth[label.depth];
    }
  }
}

// Private names are shortened class body by class body: a body's names take
// the numbers after those of the bodies around it, the most used first, so
// that a body never hides a name of an outer one that it uses; sibling bodies
// reuse the same numbers. No shortened name is one that keeps its spelling.
//   class A { #count; #x; f() { this.#count++; return class { #y; g(o) { return o.#x } } } }
//   class A { #a; #b; f() { this.#a++; return class { #c; g(o) { return o.#b } } } }
void NamePrivateNames(const Scopes& scopes, pack::TokenList& tokens, const pack::NameAlphabet& alphabet,
                      pack::TextTable& names) {
  if (scopes.PrivateNames().empty()) return;
  struct Entry {
    int32_t body;
    int32_t name;
    uint32_t count;
    uint32_t first;
  };
  std::vector<Entry> entries;
  std::unordered_map<uint64_t, uint32_t> entryOf;
  std::vector<uint32_t> entryOfUse;
  for (const pack::PrivateNameUse& use : scopes.PrivateNames()) {
    const int32_t name = use.name;
    const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(use.body)) << 32) | static_cast<uint32_t>(name);
    const auto [it, added] = entryOf.try_emplace(key, static_cast<uint32_t>(entries.size()));
    if (added) entries.push_back(Entry{use.body, name, 0, static_cast<uint32_t>(entries.size())});
    ++entries[it->second].count;
    entryOfUse.push_back(it->second);
  }
  std::vector<uint32_t> order(entries.size());
  for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const Entry &x = entries[a], &y = entries[b];
    if (x.body != y.body) return x.body < y.body;
    return x.count != y.count ? x.count > y.count : x.first < y.first;
  });
  const std::vector<int32_t>& parents = scopes.ClassBodyParents();
  std::vector<uint32_t> distinct(parents.size(), 0), base(parents.size(), 0);
  for (const Entry& e : entries) ++distinct[static_cast<size_t>(e.body)];
  for (size_t body = 0; body < parents.size(); ++body) {
    const int32_t parent = parents[body];
    if (parent >= 0) base[body] = base[static_cast<size_t>(parent)] + distinct[static_cast<size_t>(parent)];
  }
  std::unordered_set<int32_t> kept(scopes.KeptPrivateNames().begin(), scopes.KeptPrivateNames().end());
  std::vector<int32_t> nameOfNumber;
  uint64_t next = 0;
  std::vector<int32_t> shortened(entries.size());
  uint32_t rank = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    const Entry& e = entries[order[k]];
    rank = k > 0 && entries[order[k - 1]].body == e.body ? rank + 1 : 0;
    const size_t number = base[static_cast<size_t>(e.body)] + rank;
    while (nameOfNumber.size() <= number) {
      int32_t id;
      do {
        id = names.Intern(u"#" + alphabet.Name(next++));
      } while (kept.count(id) > 0);
      nameOfNumber.push_back(id);
    }
    shortened[order[k]] = nameOfNumber[number];
  }
  for (size_t u = 0; u < entryOfUse.size(); ++u) {
    Token& t = tokens[scopes.PrivateNames()[u].token];
    if (tokens.KeepsPositions()) tokens.PositionOf(scopes.PrivateNames()[u].token).name = t.value;
    t.value = shortened[entryOfUse[u]];
  }
}

void CountCharacters(std::u16string_view text, uint64_t times, std::array<uint64_t, 128>& counts) {
  for (char16_t c : text) {
    if (c < 128) counts[c] += times;
  }
}

// The Naming of the bindings of each source, and the names no generated name
// may be: those of every global the code uses and of every binding kept
// everywhere.
struct RenamePlan {
  std::vector<std::vector<uint8_t>> renamable;  // per source, per binding: a Naming
  // per source, per binding: the name goes into the functions that take it
  std::vector<std::vector<uint8_t>> writesFunctionNames;
  std::vector<uint8_t> reserved;  // per identifier
};

// Whether any name or literal of the code says callee or caller: a function
// only ever called may then still be read, as arguments.callee or g.caller.
bool MentionsCallers(const pack::Session& texts) {
  const auto mentions = [](const pack::TextTable& table) {
    for (int32_t k = 0; k < table.Count(); ++k) {
      const std::u16string_view text = table.Text(k);
      if (text.find(u"callee") != text.npos || text.find(u"caller") != text.npos) return true;
    }
    return false;
  };
  return mentions(texts.identifiers) || mentions(texts.literals);
}

RenamePlan PlanRenaming(const std::vector<std::unique_ptr<Scopes>>& sources,
                        const pack::TokenList& tokens, const pack::Session& texts) {
  const pack::TextTable& names = texts.identifiers;
  const bool callsShowFunctions = MentionsCallers(texts);
  RenamePlan plan;
  plan.reserved.assign(static_cast<size_t>(names.Count()), 0);
  const int32_t argumentsName = names.Find(u"arguments");
  const int32_t evalName = names.Find(u"eval");
  for (const auto& source : sources) {
    const Scopes& scopes = *source;
    plan.writesFunctionNames.emplace_back();
    plan.renamable.push_back(RenamableBindings(scopes, tokens, names, argumentsName, evalName,
                                               sources.size() == 1, callsShowFunctions,
                                               plan.writesFunctionNames.back()));
    const std::vector<uint8_t>& renamable = plan.renamable.back();
    for (const NameUse& use : scopes.Uses()) {
      if (use.binding < 0 || renamable[static_cast<size_t>(use.binding)] == kKeepEverywhere) {
        plan.reserved[static_cast<size_t>(use.name)] = 1;
      }
    }
    for (size_t b = 0; b < scopes.Bindings().size(); ++b) {
      if (renamable[b] == kKeepEverywhere) plan.reserved[static_cast<size_t>(scopes.Bindings()[b].name)] = 1;
    }
    // A name written into a function is its own binding there: no generated
    // name that code inside uses may be it.
    for (const NameUse& use : scopes.Uses()) {
      if (use.nameSlot != 0 && use.binding >= 0 &&
          plan.writesFunctionNames.back()[static_cast<size_t>(use.binding)]) {
        plan.reserved[static_cast<size_t>(use.name)] = 1;
      }
    }
  }
  return plan;
}

// How often each ASCII character occurs in the words and literals that keep
// their text: the names of renamed bindings are left out.
std::array<uint64_t, 128> CharacterCounts(const pack::TokenList& tokens, const pack::Session& texts,
                                          const RenamePlan& plan,
                                          const std::vector<std::unique_ptr<Scopes>>& sources) {
  std::vector<uint64_t> identifierUses(static_cast<size_t>(texts.identifiers.Count()), 0);
  std::vector<uint64_t> literalUses(static_cast<size_t>(texts.literals.Count()), 0);
  std::array<uint64_t, pack::kKeywordCount> keywordUses{};
  for (size_t i = 0; i < tokens.Size(); ++i) {
    const Token& t = tokens[i];
    if (t.value < 0) continue;
    if (t.kind == pack::Identifier && static_cast<size_t>(t.value) < identifierUses.size()) {
      ++identifierUses[static_cast<size_t>(t.value)];
    } else if ((t.kind == pack::Literal || t.kind == pack::Template) &&
               static_cast<size_t>(t.value) < literalUses.size()) {
      ++literalUses[static_cast<size_t>(t.value)];
    } else if (t.kind == pack::Keyword && t.value < pack::kKeywordCount) {
      ++keywordUses[static_cast<size_t>(t.value)];
    }
  }
  for (size_t k = 0; k < sources.size(); ++k) {
    for (const NameUse& use : sources[k]->Uses()) {
      if (use.binding >= 0 && plan.renamable[k][static_cast<size_t>(use.binding)] == kRename) {
        --identifierUses[static_cast<size_t>(tokens[use.token].value)];
      }
    }
  }
  std::array<uint64_t, 128> counts{};
  for (size_t i = 0; i < identifierUses.size(); ++i) {
    if (identifierUses[i] > 0) {
      CountCharacters(texts.identifiers.Text(static_cast<int32_t>(i)), identifierUses[i], counts);
    }
  }
  for (size_t i = 0; i < literalUses.size(); ++i) {
    if (literalUses[i] > 0) CountCharacters(texts.literals.Text(static_cast<int32_t>(i)), literalUses[i], counts);
  }
  for (size_t k = 0; k < keywordUses.size(); ++k) {
    if (keywordUses[k] > 0) CountCharacters(pack::KeywordTable[k], keywordUses[k], counts);
  }
  return counts;
}

// The brace depth at the end of the list: 0 for balanced sources.
int32_t FinalLevel(const pack::TokenList& tokens) {
  int32_t level = 0;
  for (size_t i = 0; i < tokens.Size(); ++i) {
    if (tokens[i].IsPunct(pack::kOpenBrace)) ++level;
    if (tokens[i].IsPunct(pack::kCloseBrace)) --level;
  }
  return level;
}

// Tokens the renaming stage inserts: each before a position of the list, and
// standing (for a source map) where the token at `standsAt` stood.
struct Insertions {
  std::vector<std::pair<size_t, Token>> items;
  std::vector<size_t> standsAt;
  void Add(size_t before, const Token& token, size_t at) {
    items.emplace_back(before, token);
    standsAt.push_back(at);
  }
  // In the order of their positions; those for one position keep theirs.
  void Sort() {
    std::vector<size_t> order(items.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return items[a].first < items[b].first; });
    std::vector<std::pair<size_t, Token>> sortedItems;
    std::vector<size_t> sortedAt;
    for (const size_t k : order) {
      sortedItems.push_back(items[k]);
      sortedAt.push_back(standsAt[k]);
    }
    items.swap(sortedItems);
    standsAt.swap(sortedAt);
  }
};

// A shorthand whose name changes is written out: {x} becomes {x:a} (the key
// and a colon go before it), import {x} becomes import {x as a}, and
// export {x} becomes export {a as x} (" as x" goes after it).
void WriteOutShorthand(const NameUse& use, Token& t, const std::vector<Binding>& bindings,
                       int32_t asName, Insertions& insertions) {
  Token name = t;
  name.flags = pack::kPropertyName;
  Token as = name;
  as.value = asName;
  if (use.exportsItself) {
    insertions.Add(use.token + 1, as, use.token);
    insertions.Add(use.token + 1, name, use.token);
  } else if (NamesItself(use, t, bindings)) {
    insertions.Add(use.token, name, use.token);
    insertions.Add(use.token, as, use.token);
  } else {
    insertions.Add(use.token, name, use.token);
    insertions.Add(use.token, Token{pack::kColon, -1, -1, pack::Punctuator, 0, 0}, use.token);
  }
  t.flags = static_cast<uint8_t>(t.flags & ~pack::kShorthand);
}

}  // namespace

void trimlet::ChangeVars() {
  Process();  // the names must be bound; a second time does nothing
  if (!renamed_) {
    renamed_ = true;
    const RenamePlan plan = PlanRenaming(scopes_, tokens_, Texts());
    const pack::NameAlphabet alphabet(CharacterCounts(tokens_, Texts(), plan, scopes_));
    pack::GeneratedNames generated(alphabet, plan.reserved, Texts().identifiers);
    Insertions insertions;
    const int32_t asName = Texts().identifiers.Intern(u"as");
    for (size_t k = 0; k < scopes_.size(); ++k) {
      const std::vector<int64_t> number = NameBindings(*scopes_[k], plan.renamable[k], generated);
      for (const NameUse& use : scopes_[k]->Uses()) {
        if (use.binding < 0 || number[static_cast<size_t>(use.binding)] < 0) continue;
        Token& t = tokens_[use.token];
        if (use.nameSlot != 0 && plan.writesFunctionNames[k][static_cast<size_t>(use.binding)]) {
          Token name = t;
          name.flags = 0;
          name.newLine = 0;
          insertions.Add(use.nameSlot, name, use.token);
        }
        if (t.flags & pack::kShorthand) WriteOutShorthand(use, t, scopes_[k]->Bindings(), asName, insertions);
        if (tokens_.KeepsPositions()) tokens_.PositionOf(use.token).name = t.value;
        t.value = generated.Identifier(static_cast<size_t>(number[static_cast<size_t>(use.binding)]));
      }
    }
    NameLabels(scopes_, tokens_, generated);
    for (const auto& source : scopes_) NamePrivateNames(*source, tokens_, alphabet, Texts().identifiers);
    insertions.Sort();
    tokens_.Insert(insertions.items, &insertions.standsAt);
  }
  char line[64];
  std::snprintf(line, sizeof line, "\ntrimlet::ChangeVars() : Level = %d\n", FinalLevel(tokens_));
  platform::DebugTrace(line);
}
