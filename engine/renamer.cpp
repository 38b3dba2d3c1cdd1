// trimlet::ChangeVars: gives the variables that functions declare with `var`
// short generated names (a .. z, a1 .. z1, a2 ..).
//
// The parser has bound every name to its declaration, so a var and each use of
// it are found by the binding, not by the name: a let, const, class, parameter
// or catch name of the same spelling elsewhere is another binding and keeps its
// name, and a property name is no use at all:
//   function f(x){var y=x;{let y=1}return {y}}
//   function f(x){var a=x;{let y=1}return {y:a}}
// A var that shares its name with a parameter is one binding with it, and is
// renamed with it. Generated names are new to the identifier table, so no
// other name can be captured by one. Nothing is renamed where that could
// change what the program does:
//   var x at the top level of a script or module  a global, or the module's
//   eval(s)   with (o) {}                          names looked up at run time,
//                                                  in the function and those around
//   function f(a = () => x) { var x }              a default that may see the name
//   catch (e) { var e = 1 }                        the var assigns the catch's e
//   { function g() {} } var g                      the block function assigns it too
//   var arguments                                  the arguments object
// A var of an inner function that hides a renamed var of the same name takes
// that one's new name. New names go in the order the declarations stand:
//   function f(){var x,y}function g(){var z}   x -> a, y -> b, z -> c
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "packer.h"
#include "platform.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

using pack::Binding;
using pack::NameUse;
using pack::Scopes;
using pack::Token;

// Whether renaming `b` keeps the program as it was.
bool MayRename(const Scopes& scopes, int32_t b, int32_t argumentsName) {
  const Binding& binding = scopes.Bindings()[static_cast<size_t>(b)];
  if (!binding.declaredByVar || !binding.renamable || binding.name == argumentsName) return false;
  const pack::Scope& scope = scopes.AllScopes()[static_cast<size_t>(binding.scope)];
  return scope.kind == pack::ScopeKind::Function && !scope.dynamic &&
         !scope.parameterExpressions && !scopes.HasBlockFunctionNamed(binding.scope, binding.name);
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

namespace {

// Which bindings are named anew, and which take another's new name:
// `owner[b]` is the binding whose new name b takes, or -1.
//
// A binding is named anew where a var list inside braces declares it in a
// function (`noted`). One that hides a noted binding of an enclosing function
// takes that one's name when it has one, and so does any other binding that
// hides it: a parameter, catch or function name, or a var of an initialiser.
//   function f(){var x;function g(x){var x}}   ->   function f(){var a;function g(a){var a}}
class Owners {
 public:
  Owners(const Scopes& scopes, int32_t argumentsName)
      : scopes_(scopes), bindings_(scopes.Bindings()), noted_(bindings_.size(), 0),
        owner_(bindings_.size(), kUnknown) {
    for (const NameUse& use : scopes.Uses()) {
      if (use.declares && use.byVar &&
          scopes.AllScopes()[static_cast<size_t>(bindings_[static_cast<size_t>(use.binding)].scope)]
                  .kind == pack::ScopeKind::Function) {
        noted_[static_cast<size_t>(use.binding)] = 1;
      }
    }
    PinLabelled(scopes);
    for (size_t b = 0; b < bindings_.size(); ++b) Find(b, argumentsName);
  }
  bool Noted(size_t b) const { return noted_[b] != 0; }
  int32_t Owner(size_t b) const { return owner_[b]; }

 private:
  static constexpr int32_t kUnknown = -2;

  // The nearest noted binding that `b` hides, or -1.
  int32_t NotedOuter(size_t b) const {
    int32_t c = bindings_[b].covered;
    while (c >= 0 && !noted_[static_cast<size_t>(c)]) c = bindings_[static_cast<size_t>(c)].covered;
    return c;
  }
  // A pinning use keeps the noted binding it stands for unnamed, and every
  // noted binding of the same name around it.
  void PinLabelled(const Scopes& scopes) {
    for (const NameUse& use : scopes.Uses()) {
      if (!use.pins || use.binding < 0) continue;
      int32_t b = noted_[static_cast<size_t>(use.binding)] ? use.binding
                                                            : NotedOuter(static_cast<size_t>(use.binding));
      for (; b >= 0 && owner_[static_cast<size_t>(b)] != -1; b = NotedOuter(static_cast<size_t>(b))) {
        owner_[static_cast<size_t>(b)] = -1;
      }
    }
  }
  // Settles the owners of `b` and of the bindings it hides, outermost first,
  // without a call per level of nesting.
  void Find(size_t b, int32_t argumentsName) {
    std::vector<size_t> chain;
    for (int32_t c = static_cast<int32_t>(b); c >= 0 && owner_[static_cast<size_t>(c)] == kUnknown;
         c = NotedOuter(static_cast<size_t>(c))) {
      chain.push_back(static_cast<size_t>(c));
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      const size_t k = *it;
      const int32_t outer = NotedOuter(k);
      const int32_t outerOwner = outer >= 0 ? owner_[static_cast<size_t>(outer)] : -1;
      if (outerOwner >= 0) {
        owner_[k] = outerOwner;
      } else if (noted_[k] && MayRename(scopes_, static_cast<int32_t>(k), argumentsName)) {
        owner_[k] = static_cast<int32_t>(k);
      } else {
        owner_[k] = -1;
      }
    }
  }

  const Scopes& scopes_;
  const std::vector<Binding>& bindings_;
  std::vector<uint8_t> noted_;
  std::vector<int32_t> owner_;
};

}  // namespace

void trimlet::ChangeVars() {
  Process();  // the names must be bound; a second time does nothing
  firstNewIdentifier = Texts().identifiers.Count();
  const int32_t argumentsName = Texts().identifiers.Find(u"arguments");
  // {x} whose x is renamed becomes {x:a}: the key and a colon go before it.
  std::vector<std::pair<size_t, Token>> keys;
  for (const auto& sourceScopes : scopes_) {
    const Scopes& scopes = *sourceScopes;
    const Owners owners(scopes, argumentsName);
    std::vector<int32_t> newName(scopes.Bindings().size(), -1);
    // New names in the order the declarations that make them stand.
    for (const NameUse& use : scopes.Uses()) {
      if (!use.declares || !use.byVar) continue;
      const int32_t owner = owners.Owner(static_cast<size_t>(use.binding));
      if (owner < 0 || newName[static_cast<size_t>(owner)] >= 0) continue;
      const pack::Binding& binding = scopes.Bindings()[static_cast<size_t>(owner)];
      if (tokens_[use.token].value != binding.name) continue;  // named by an earlier pass
      newName[static_cast<size_t>(owner)] = NewVarName();
    }
    for (const NameUse& use : scopes.Uses()) {
      if (use.binding < 0) continue;
      const int32_t owner = owners.Owner(static_cast<size_t>(use.binding));
      if (owner < 0 || newName[static_cast<size_t>(owner)] < 0) continue;
      Token& t = tokens_[use.token];
      if (t.flags & pack::kShorthand) {
        Token key = t;
        key.flags = pack::kPropertyName;
        keys.emplace_back(use.token, key);
        keys.emplace_back(use.token, Token{pack::kColon, -1, -1, pack::Punctuator, 0, 0});
        t.flags = static_cast<uint8_t>(t.flags & ~pack::kShorthand);
      }
      t.value = newName[static_cast<size_t>(owner)];
    }
  }
  tokens_.Insert(keys);
  char line[64];
  std::snprintf(line, sizeof line, "\ntrimlet::ChangeVars() : Level = %d\n", FinalLevel(tokens_));
  platform::DebugTrace(line);
}

int32_t trimlet::NewVarName() {
  pack::TextTable& names = Texts().identifiers;
  pack::NamePosition& takenEnd = Texts().takenNamesEnd;
  if (pack::NamePosition{nameLetter, nameNumber}.Before(takenEnd)) {
    nameLetter = takenEnd.letter;  // every name before it is taken
    nameNumber = takenEnd.number;
  }
  std::u16string candidate;
  for (;;) {
    const bool atTakenEnd = nameLetter == takenEnd.letter && nameNumber == takenEnd.number;
    candidate.assign(1, nameLetter);
    if (nameNumber > 0) {
      for (char c : std::to_string(nameNumber)) candidate.push_back(static_cast<char16_t>(c));
    }
    if (nameLetter == u'z') {
      nameLetter = u'a';
      ++nameNumber;
    } else {
      ++nameLetter;
    }
    // The candidate is either taken already or about to be.
    if (atTakenEnd) takenEnd = {nameLetter, nameNumber};
    if (!names.Contains(candidate)) return names.Intern(candidate);
  }
}
