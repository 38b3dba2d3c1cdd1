// trimlet::ChangeVars: gives every local binding a short name, and the same
// short names again in every scope that cannot see the others.
//
// The parser has bound every name in the code to its binding, so a binding
// and each use of it are found by the binding, not by the spelling; property
// names are no uses at all. Each binding gets a slot: the bindings of a scope
// take the slots after those of the scopes around it, so that sibling scopes
// share slots and no scope sees two bindings of one slot:
//   function f(x){var y}function g(z){}   x, y: slots 0, 1   z: slot 0
// The slots most used get the shortest names, from an alphabet ordered by
// how often each character occurs in the rest of the output:
//   function f(a){var b}function g(a){}
// A generated name is never a keyword or another reserved word, and never
// the name of a binding that keeps its name or of a global the code uses, so
// no use can come to mean another binding. What keeps its name:
//   the top level of a script                 globals that other scripts see
//   export let a; export { b }                a module's exported names
//   import { c } from "m"                     would need "c as" written out
//   eval(s)   with (o) {}                     names looked up at run time, in
//                                             the scope and every one around it
//   function f(a = () => x) { var x }         a default does not see the body's
//                                             vars, but the parser's scope holds them
//   catch (e) { var e = 1 }                   the var assigns the catch's e
//   { function g() {} }  in sloppy code       the block function is also a var
//   arguments, eval                           the arguments object, direct eval
// A binding that keeps its name for one of the last four reasons also keeps
// the names of the bindings of the same name that it hides, since code that
// the parser binds to it may at run time find one of those.
// {x} whose x is renamed becomes {x:a}.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// Words that are names to the grammar but that a generated name must not
// take: reserved in strict code or in modules, or with a meaning of their own.
constexpr std::array<std::u16string_view, 21> kWordsNotToGenerate = {
    u"let",   u"static",    u"yield",     u"await",     u"implements", u"interface", u"package",
    u"private", u"protected", u"public",  u"arguments", u"eval",       u"async",     u"as",
    u"of",    u"get",       u"set",       u"from",      u"target",     u"meta",      u"using",
};

bool MayBeGenerated(std::u16string_view name) {
  if (pack::FindKeyword(name) >= 0 || pack::IsLiteralWord(name)) return false;
  return std::find(kWordsNotToGenerate.begin(), kWordsNotToGenerate.end(), name) ==
         kWordsNotToGenerate.end();
}

// The characters of generated names, the most frequent in the output first:
// 54 that may start a name, 64 that may follow.
class NameAlphabet {
 public:
  explicit NameAlphabet(const std::array<uint64_t, 128>& counts) {
    const std::u16string_view letters = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_$";
    const std::u16string_view digits = u"0123456789";
    first_.assign(letters);
    const auto byCount = [&](char16_t a, char16_t b) { return counts[a] > counts[b]; };
    std::stable_sort(first_.begin(), first_.end(), byCount);
    rest_ = first_;
    rest_.append(digits);
    std::stable_sort(rest_.begin(), rest_.end(), byCount);
  }
  // The name of number `index`: every name of one character, then of two, ...
  std::u16string Name(uint64_t index) const {
    std::u16string name(1, first_[index % first_.size()]);
    index /= first_.size();
    while (index > 0) {
      --index;
      name.push_back(rest_[index % rest_.size()]);
      index /= rest_.size();
    }
    return name;
  }

 private:
  std::u16string first_;
  std::u16string rest_;
};

// Whether a binding may take a generated name, before the hiding rule.
bool MayRename(const Scopes& scopes, const Binding& b, int32_t argumentsName, int32_t evalName) {
  if (!b.renamable || b.name == argumentsName || b.name == evalName) return false;
  const Scope& scope = scopes.AllScopes()[static_cast<size_t>(b.scope)];
  if (scope.kind == ScopeKind::Script && b.kind != BindingKind::SelfName) return false;
  if (b.kind == BindingKind::BlockFunction) return false;
  return !scope.dynamic && !scopes.HasBlockFunctionNamed(b.scope, b.name);
}

// Which bindings of one source take generated names.
std::vector<uint8_t> RenamableBindings(const Scopes& scopes, const pack::TokenList& tokens,
                                       int32_t argumentsName, int32_t evalName) {
  const std::vector<Binding>& bindings = scopes.Bindings();
  std::vector<uint8_t> renamable(bindings.size(), 0);
  for (size_t b = 0; b < bindings.size(); ++b) {
    renamable[b] = MayRename(scopes, bindings[b], argumentsName, evalName) ? 1 : 0;
  }
  for (const NameUse& use : scopes.Uses()) {
    if (use.binding < 0) continue;
    const Token& t = tokens[use.token];
    const bool importWrittenOnce = use.declares && (t.flags & pack::kShorthand) != 0 &&
                                   bindings[static_cast<size_t>(use.binding)].kind == BindingKind::Import;
    // undefined, NaN and Infinity are literal tokens, even where they name a binding
    if (use.keepsName || importWrittenOnce || t.kind != pack::Identifier) {
      renamable[static_cast<size_t>(use.binding)] = 0;
    }
  }
  // A default or pattern of the parameters does not see the body's vars, but
  // the parser binds a name there to one of them when the body declares it:
  //   function f(a = x) { var x }   the x of the default is not the var
  std::vector<uint8_t> seenByParameters(bindings.size(), 0);
  for (size_t u = 0; u < scopes.Uses().size(); ++u) {
    const NameUse& use = scopes.Uses()[u];
    if (use.declares || use.binding < 0) continue;
    const Binding& b = bindings[static_cast<size_t>(use.binding)];
    const Scope& scope = scopes.AllScopes()[static_cast<size_t>(b.scope)];
    if (scope.parameterExpressions && u < scope.bodyFirstUse &&
        (b.kind == BindingKind::Var || b.kind == BindingKind::FunctionDecl)) {
      seenByParameters[static_cast<size_t>(use.binding)] = 1;
      renamable[static_cast<size_t>(use.binding)] = 0;
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
      renamable[static_cast<size_t>(c)] = 0;
    }
  }
  return renamable;
}

// The slot of each renamable binding (-1 for the others): a scope's bindings
// take the slots after those of every scope around it.
std::vector<int32_t> SlotsOf(const Scopes& scopes, const std::vector<uint8_t>& renamable) {
  const std::vector<Scope>& all = scopes.AllScopes();
  const size_t count = all.size();
  // Children and bindings of each scope, by counts and prefix sums.
  std::vector<uint32_t> childStart(count + 1, 0), bindingStart(count + 1, 0);
  for (const Scope& s : all) {
    if (s.parent >= 0) ++childStart[static_cast<size_t>(s.parent) + 1];
  }
  const std::vector<Binding>& bindings = scopes.Bindings();
  for (size_t b = 0; b < bindings.size(); ++b) {
    if (renamable[b]) ++bindingStart[static_cast<size_t>(bindings[b].scope) + 1];
  }
  for (size_t s = 0; s < count; ++s) {
    childStart[s + 1] += childStart[s];
    bindingStart[s + 1] += bindingStart[s];
  }
  std::vector<uint32_t> children(childStart[count]);
  {
    std::vector<uint32_t> next(childStart.begin(), childStart.end() - 1);
    for (size_t s = 0; s < count; ++s) {
      if (all[s].parent >= 0) children[next[static_cast<size_t>(all[s].parent)]++] = static_cast<uint32_t>(s);
    }
  }
  // The first slot of each scope, parents before children.
  std::vector<int32_t> firstSlot(count, 0);
  std::vector<uint32_t> stack;
  for (size_t s = 0; s < count; ++s) {
    if (all[s].parent < 0) stack.push_back(static_cast<uint32_t>(s));
  }
  while (!stack.empty()) {
    const uint32_t s = stack.back();
    stack.pop_back();
    const int32_t after = firstSlot[s] + static_cast<int32_t>(bindingStart[s + 1] - bindingStart[s]);
    for (uint32_t k = childStart[s]; k < childStart[s + 1]; ++k) {
      firstSlot[children[k]] = after;
      stack.push_back(children[k]);
    }
  }
  std::vector<int32_t> slot(bindings.size(), -1);
  std::vector<int32_t> taken(count, 0);
  for (size_t b = 0; b < bindings.size(); ++b) {
    if (!renamable[b]) continue;
    const auto s = static_cast<size_t>(bindings[b].scope);
    slot[b] = firstSlot[s] + taken[s]++;
  }
  return slot;
}

void CountCharacters(std::u16string_view text, uint64_t times, std::array<uint64_t, 128>& counts) {
  for (char16_t c : text) {
    if (c < 128) counts[c] += times;
  }
}

// The slots of all sources, their uses, and what no generated name may be.
struct RenamePlan {
  std::vector<std::vector<uint8_t>> renamable;  // per source, per binding
  std::vector<std::vector<int32_t>> slots;      // per source, per binding
  std::vector<uint64_t> slotUses;
  std::vector<uint8_t> reserved;  // per identifier: a name that must stay free
};

RenamePlan PlanRenaming(const std::vector<std::unique_ptr<Scopes>>& sources,
                        const pack::TokenList& tokens, const pack::TextTable& names) {
  RenamePlan plan;
  plan.reserved.assign(static_cast<size_t>(names.Count()), 0);
  const int32_t argumentsName = names.Find(u"arguments");
  const int32_t evalName = names.Find(u"eval");
  for (const auto& source : sources) {
    const Scopes& scopes = *source;
    plan.renamable.push_back(RenamableBindings(scopes, tokens, argumentsName, evalName));
    plan.slots.push_back(SlotsOf(scopes, plan.renamable.back()));
    const std::vector<int32_t>& slot = plan.slots.back();
    for (const NameUse& use : scopes.Uses()) {
      if (use.binding < 0 || slot[static_cast<size_t>(use.binding)] < 0) {
        plan.reserved[static_cast<size_t>(use.name)] = 1;
        continue;
      }
      const auto s = static_cast<size_t>(slot[static_cast<size_t>(use.binding)]);
      if (s >= plan.slotUses.size()) plan.slotUses.resize(s + 1, 0);
      ++plan.slotUses[s];
    }
    for (size_t b = 0; b < scopes.Bindings().size(); ++b) {
      if (slot[b] < 0) plan.reserved[static_cast<size_t>(scopes.Bindings()[b].name)] = 1;
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
      if (use.binding >= 0 && plan.slots[k][static_cast<size_t>(use.binding)] >= 0) {
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

// The name of each slot: the most used slots take the first names that are
// free.
std::vector<int32_t> NameSlots(const RenamePlan& plan, const NameAlphabet& alphabet,
                               pack::TextTable& names) {
  std::vector<uint32_t> order(plan.slotUses.size());
  for (size_t s = 0; s < order.size(); ++s) order[s] = static_cast<uint32_t>(s);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return plan.slotUses[a] > plan.slotUses[b]; });
  std::vector<int32_t> slotName(plan.slotUses.size(), -1);
  uint64_t next = 0;
  for (uint32_t s : order) {
    for (;;) {
      const std::u16string candidate = alphabet.Name(next++);
      const int32_t known = names.Find(candidate);
      const bool free = known < 0 || static_cast<size_t>(known) >= plan.reserved.size() ||
                        !plan.reserved[static_cast<size_t>(known)];
      if (free && MayBeGenerated(candidate)) {
        slotName[s] = names.Intern(candidate);
        break;
      }
    }
  }
  return slotName;
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

}  // namespace

void trimlet::ChangeVars() {
  Process();  // the names must be bound; a second time does nothing
  if (!renamed_) {
    renamed_ = true;
    const RenamePlan plan = PlanRenaming(scopes_, tokens_, Texts().identifiers);
    const NameAlphabet alphabet(CharacterCounts(tokens_, Texts(), plan, scopes_));
    const std::vector<int32_t> slotName = NameSlots(plan, alphabet, Texts().identifiers);
    // {x} whose x is renamed becomes {x:a}: the key and a colon go before it.
    std::vector<std::pair<size_t, Token>> keys;
    for (size_t k = 0; k < scopes_.size(); ++k) {
      for (const NameUse& use : scopes_[k]->Uses()) {
        if (use.binding < 0) continue;
        const int32_t slot = plan.slots[k][static_cast<size_t>(use.binding)];
        if (slot < 0) continue;
        Token& t = tokens_[use.token];
        if (t.flags & pack::kShorthand) {
          Token key = t;
          key.flags = pack::kPropertyName;
          keys.emplace_back(use.token, key);
          keys.emplace_back(use.token, Token{pack::kColon, -1, -1, pack::Punctuator, 0, 0});
          t.flags = static_cast<uint8_t>(t.flags & ~pack::kShorthand);
        }
        t.value = slotName[static_cast<size_t>(slot)];
      }
    }
    tokens_.Insert(keys);
  }
  char line[64];
  std::snprintf(line, sizeof line, "\ntrimlet::ChangeVars() : Level = %d\n", FinalLevel(tokens_));
  platform::DebugTrace(line);
}
