// trimlet::ChangeVars: gives the variables that functions declare with `var`
// short generated names (a .. z, a1 .. z1, a2 ..).
//
// A `var` belongs to the whole function around it, parameter list included, so
// every use of its name there is renamed with it, uses before the declaration
// and in nested functions too:
//   function f(x){g();var x=x||1;function g(){x=2}return x}
//   function f(a){g();var a=a||1;function g(){a=2}return a}
// A nested function that declares the same name shares the new name; a
// parameter or catch name inside the function is renamed with it as well, which
// keeps every use bound as it was. Nothing is renamed where that could change
// what the program does:
//   var x at the top level, or in a block there     a global
//   o.x   {x: 1}   {get x() {}}                      property names
//   x: for (;;) { break x }                          a label: x keeps its name
//   eval(s)   with (o) {}                            names looked up at run time
//   var arguments                                    the arguments object
//
// After one sweep that finds every function's extent, three more over the token
// list, each linear and each with explicit stacks, so that deep nesting cannot
// exhaust the call stack:
//   1. the declaration walk finds the `var` names of every function;
//   2. the use sweep finds functions that use eval or with, and names that
//      stand as labels or object shorthands;
//   3. the rewrite resolves each identifier to the innermost function that
//      declares its name and gives it the name chosen for that declaration.
// On a long list the first sweep, the use sweep and the rewrite each run in two
// parts at once.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "context_rules.h"
#include "packer.h"
#include "platform.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

using pack::Token;
using pack::TokenList;

constexpr int32_t kNone = -1;

// A function's extent: from the `(` of its parameter list to the `}` that
// closes its body, or to the list end when the body is never closed.
struct Scope {
  uint32_t open;
  uint32_t close;
  int32_t parent = kNone;
  int32_t firstBinding = kNone;  // the names it declares, linked by nextInScope
  bool dynamic = false;          // eval or with inside: names are found at run time
};

// A name that one function declares with `var`.
struct Binding {
  int32_t name;
  int32_t scope;
  int32_t nextInScope = kNone;
  int32_t outer = kNone;  // the same name declared by the nearest enclosing function
  int32_t owner = kNone;  // the binding whose new name this one takes; kNone: kept
  int32_t newName = kNone;
  bool pinned = false;    // a label or shorthand of the name lies inside
};

// What an identifier token stands for.
enum class Use { Property, Pinned, Variable };

bool IsOneOf(const Token& t, int32_t a, int32_t b, int32_t c) {
  return t.kind == pack::Punctuator && (t.value == a || t.value == b || t.value == c);
}

// Whether a statement can begin after `prev`, so that `name :` there is a label:
//   x: for (;;) {}    if (a) x: while (b) {}    case 1: x: do {} while (0)
// but not   c ? x : y    case x:    f(a, b ? c : d)
// After `:` it may be either (a ? b ? c : d : e), and counting it as a label is
// the safe side: the name is then never renamed.
bool StatementCanStartAfter(const Token* prev) {
  if (prev == nullptr) return true;
  if (prev->kind == pack::Keyword) return prev->value == pack::kElse || prev->value == pack::kDo;
  if (prev->kind != pack::Punctuator) return false;
  if (prev->IsPunct(pack::kCloseParen)) return prev->Has(pack::kHeaderClose);
  return IsOneOf(*prev, pack::kSemicolon, pack::kOpenBrace, pack::kCloseBrace) ||
         prev->IsPunct(pack::kColon);
}

// An identifier is a property name after `.`, as an object key and as the name
// of an accessor; a name that a label, `break`, `continue`, an object shorthand
// ({x}) or a method ({x() {}}) uses is pinned; anything else is a variable.
Use ClassifyIdentifier(const TokenList& tokens, size_t i) {
  const Token& t = tokens[i];
  if (t.Has(pack::kAfterDot)) return Use::Property;
  const Token* prev = i > 0 ? &tokens[i - 1] : nullptr;
  const Token* next = i + 1 < tokens.Size() ? &tokens[i + 1] : nullptr;
  if (t.Has(pack::kKeyPosition)) {
    if (next != nullptr && next->IsPunct(pack::kColon)) return Use::Property;  // {x: 1}
    if (pack::IsAccessorPrefix(tokens, i)) return Use::Property;  // the `get` of {get x() {}}
    // {x}   {x, y}   {x() {}}, and a block that reads like an object literal,
    // whose first statement is a call:   case 1: { f(x) }
    return Use::Pinned;
  }
  if (i > 0 && pack::IsAccessorPrefix(tokens, i - 1)) return Use::Property;  // the x of {get x() {}}
  if (prev != nullptr && (prev->IsKeyword(pack::kBreak) || prev->IsKeyword(pack::kContinue))) {
    return Use::Pinned;
  }
  if (next != nullptr && next->IsPunct(pack::kColon) && StatementCanStartAfter(prev)) {
    return Use::Pinned;
  }
  return Use::Variable;
}

// Where the parameter list of a function starts, or kNone when no function
// starts at token `i`:
//   function f(a) {}    function (a) {}    {get x() {}}    {set "x"(v) {}}
// The methods of an object literal ({m() {}}) count too, but only when a body
// follows the list, which the caller checks once the brackets are matched
// (`method` is then set): l: { f(x) } is a call that starts a block.
int64_t ParameterListAt(const TokenList& tokens, size_t i, bool& method) {
  const Token& t = tokens[i];
  const size_t n = tokens.Size();
  method = false;
  if (t.IsKeyword(pack::kFunction)) {
    size_t p = i + 1;
    if (p < n && tokens[p].kind == pack::Identifier) ++p;
    return p < n && tokens[p].IsPunct(pack::kOpenParen) ? static_cast<int64_t>(p) : kNone;
  }
  if (!t.IsPunct(pack::kOpenParen) || i == 0) return kNone;
  const Token& name = tokens[i - 1];
  if (name.kind != pack::Identifier && name.kind != pack::Literal) return kNone;
  if (i >= 2 && pack::IsAccessorPrefix(tokens, i - 2)) return static_cast<int64_t>(i);
  method = name.Has(pack::kKeyPosition);
  return method ? static_cast<int64_t>(i) : kNone;
}

// Where the later walks look, found by the first: braces and `var` for the
// declaration walk, names and `with` for the other two. The rest of the list
// they need not read again.
struct Landmarks {
  std::vector<uint32_t> bracesAndVars;
  std::vector<uint32_t> names;
};

// Room for the landmarks of `tokens` tokens: about one in two is a name.
void ReserveLandmarks(Landmarks& landmarks, size_t tokens) {
  landmarks.names.reserve(tokens / 2);
  landmarks.bracesAndVars.reserve(tokens / 8);
}

void NoteLandmark(const Token& t, uint32_t i, Landmarks& landmarks) {
  if (t.kind == pack::Identifier || t.IsKeyword(pack::kWith)) {
    landmarks.names.push_back(i);
  } else if (t.IsPunct(pack::kOpenBrace) || t.IsPunct(pack::kCloseBrace) ||
             t.IsKeyword(pack::kVar)) {
    landmarks.bracesAndVars.push_back(i);
  }
}

// Where a function's parameter list starts, and whether it is a method's.
struct Start {
  uint32_t open;
  bool method;
};

// The walk over the tokens from `first` up to `stop`: the bracket matches, the
// landmarks, and where parameter lists start.
void WalkPart(const TokenList& tokens, uint32_t first, uint32_t stop,
              TokenList::MatchWalk& walk, Landmarks& landmarks, std::vector<Start>& starts) {
  for (uint32_t i = first; i < stop; ++i) {
    walk.See(i);
    NoteLandmark(tokens[i], i, landmarks);
    bool method = false;
    const int64_t start = ParameterListAt(tokens, i, method);
    if (start < 0 || (!starts.empty() && starts.back().open == start)) continue;
    starts.push_back({static_cast<uint32_t>(start), method});
  }
}

template <typename T>
void Append(std::vector<T>& to, const std::vector<T>& from, size_t skip = 0) {
  to.insert(to.end(), from.begin() + static_cast<std::ptrdiff_t>(skip), from.end());
}

// The walk over the tokens from `split` on, on a second thread, while the
// caller walks the part before it; false when memory ran out there, and the
// caller walks the rest itself.
bool WalkLaterPart(const TokenList& tokens, uint32_t split, TokenList::MatchWalk& walk,
                   Landmarks& landmarks, std::vector<Start>& starts) {
  const auto n = static_cast<uint32_t>(tokens.Size());
  TokenList::MatchWalk laterWalk(tokens, TokenList::MatchWalk::kLaterPart);
  // Made here, not on the worker, so that their memory goes back to the heap
  // that later allocations come from.
  Landmarks later;
  ReserveLandmarks(later, n - split);
  std::vector<Start> laterStarts;
  const bool laterDone =
      platform::RunBeside([&] { WalkPart(tokens, split, n, laterWalk, later, laterStarts); },
                          [&] { WalkPart(tokens, 0, split, walk, landmarks, starts); });
  if (!laterDone) return false;
  walk.Join(laterWalk);
  Append(landmarks.names, later.names);
  Append(landmarks.bracesAndVars, later.bracesAndVars);
  // `function (` across the cut names one list from both sides.
  const bool twice =
      !starts.empty() && !laterStarts.empty() && starts.back().open == laterStarts[0].open;
  Append(starts, laterStarts, twice ? 1 : 0);
  return true;
}

// Every function of the list, in the order of their parameter lists, each
// knowing the function around it. The brackets are matched in the same walk,
// and the landmarks noted; a long list is walked in two parts at once, the
// second from `split` (0: none).
std::vector<Scope> FindScopes(const TokenList& tokens, Landmarks& landmarks, size_t split) {
  std::vector<Start> starts;
  TokenList::MatchWalk walk(tokens);
  const uint32_t n = static_cast<uint32_t>(tokens.Size());
  const bool inTwo = split > 0 && split < n;
  ReserveLandmarks(landmarks, n);
  if (!inTwo || !WalkLaterPart(tokens, static_cast<uint32_t>(split), walk, landmarks, starts)) {
    WalkPart(tokens, inTwo ? static_cast<uint32_t>(split) : 0, n, walk, landmarks, starts);
  }
  walk.Finish();
  const std::vector<uint32_t>& matches = tokens.Matches();
  const auto bodyAfter = [&](uint32_t close) {
    return close + 1 < n && tokens[close + 1].IsPunct(pack::kOpenBrace);
  };
  std::vector<Scope> scopes;
  std::vector<int32_t> open;  // scopes around the current position, innermost last
  for (const Start& start : starts) {
    if (start.method && !bodyAfter(matches[start.open])) continue;
    Scope s;
    s.open = start.open;
    s.close = matches[s.open];
    if (bodyAfter(s.close)) s.close = matches[s.close + 1];
    while (!open.empty() && scopes[static_cast<size_t>(open.back())].close < s.open) {
      open.pop_back();
    }
    s.parent = open.empty() ? kNone : open.back();
    open.push_back(static_cast<int32_t>(scopes.size()));
    scopes.push_back(s);
  }
  return scopes;
}

// Follows a position that only moves forward and keeps the functions around it.
class ScopeCursor {
 public:
  explicit ScopeCursor(const std::vector<Scope>& scopes) : scopes_(scopes) {}

  // Moves to token `i`, reporting each function left and each one entered.
  // Most tokens neither close nor open a function: one comparison settles them.
  template <typename Leave, typename Enter>
  void MoveTo(size_t i, Leave leave, Enter enter) {
    if (i < nextChange_) return;
    while (!open_.empty() && scopes_[static_cast<size_t>(open_.back())].close < i) {
      leave(open_.back());
      open_.pop_back();
    }
    for (; next_ < scopes_.size() && scopes_[next_].open <= i; ++next_) {
      if (scopes_[next_].close < i) continue;  // stepped over whole
      open_.push_back(static_cast<int32_t>(next_));
      enter(open_.back());
    }
    nextChange_ = next_ < scopes_.size() ? scopes_[next_].open : SIZE_MAX;
    if (!open_.empty()) {
      const size_t leaving = size_t{scopes_[static_cast<size_t>(open_.back())].close} + 1;
      nextChange_ = std::min(nextChange_, leaving);
    }
  }

  template <typename Leave>
  void LeaveAll(Leave leave) {
    for (; !open_.empty(); open_.pop_back()) leave(open_.back());
  }

  int32_t Innermost() const { return open_.empty() ? kNone : open_.back(); }

 private:
  const std::vector<Scope>& scopes_;
  std::vector<int32_t> open_;
  size_t next_ = 0;
  size_t nextChange_ = 0;  // the first position at which MoveTo has something to do
};

class Renamer {
 public:
  Renamer(trimlet& packer, int32_t firstNewIdentifier, size_t split)
      : packer_(packer),
        tokens_(packer.Tokens()),
        firstNew_(firstNewIdentifier),
        argumentsName_(pack::IdentifierTable().Find(u"arguments")),
        evalName_(pack::IdentifierTable().Find(u"eval")),
        scopes_(FindScopes(tokens_, landmarks_, split)),
        split_(static_cast<uint32_t>(split)),
        innermost_(static_cast<size_t>(firstNewIdentifier), kNone) {}

  // Renames in place; returns the brace level at which the declaration walk ended.
  int32_t Run() {
    const int32_t level = FindDeclarations();
    if (bindings_.empty()) return level;
    FindDynamicScopesAndPins();
    ChooseOwners();
    // New names in the order the walk met the declarations:
    //   function f(){var x,y}function g(){var z}   x -> a, y -> b, z -> c
    ReserveNewNames();
    for (int32_t b : declarations_) {
      const int32_t owner = BindingAt(b).owner;
      if (owner != kNone && BindingAt(owner).newName == kNone) {
        BindingAt(owner).newName = packer_.NewVarName();
      }
    }
    Rewrite();
    return level;
  }

 private:
  int32_t FindDeclarations();
  size_t DeclareList(size_t first, ScopeCursor& cursor);
  void Declare(size_t at, int32_t scope);
  struct Sweep;
  void SweepNames(size_t first, size_t stop, Sweep& sweep) const;
  void FindDynamicScopesAndPins();
  void Take(const Sweep& part);
  void ChooseOwners();
  // Room in the identifier table for a new name for every binding that owns one.
  void ReserveNewNames() {
    size_t owners = 0;
    for (size_t b = 0; b < bindings_.size(); ++b) {
      owners += bindings_[b].owner == static_cast<int32_t>(b);
    }
    pack::TextTable& names = pack::IdentifierTable();
    names.Reserve(static_cast<size_t>(names.Count()) + owners);
  }
  void Rewrite();
  void RewriteNames(size_t first, size_t stop, std::vector<int32_t>& innermost);

  Scope& ScopeAt(int32_t s) { return scopes_[static_cast<size_t>(s)]; }
  Binding& BindingAt(int32_t b) { return bindings_[static_cast<size_t>(b)]; }
  bool IsSourceName(const Token& t) const {
    return t.kind == pack::Identifier && t.value >= 0 && t.value < firstNew_;
  }

  // Where the walks over the names cut a long list: the first name at or after
  // token `split_`; the number of names when there is no cut.
  size_t LaterNames() const {
    const std::vector<uint32_t>& names = landmarks_.names;
    const auto half = static_cast<size_t>(
        std::lower_bound(names.begin(), names.end(), split_) - names.begin());
    return split_ == 0 || half == 0 ? names.size() : half;
  }
  // Calls f(binding, name) for each binding that function `s` declares.
  template <typename F>
  void ForEachBinding(int32_t s, F f) const {
    for (int32_t b = scopes_[static_cast<size_t>(s)].firstBinding; b != kNone;
         b = bindings_[static_cast<size_t>(b)].nextInScope) {
      f(b, static_cast<size_t>(bindings_[static_cast<size_t>(b)].name));
    }
  }
  // Closing a function brings back the bindings of the enclosing functions as
  // the innermost ones of their names.
  void LeaveScope(int32_t s) {
    ForEachBinding(s, [this](int32_t b, size_t name) { innermost_[name] = BindingAt(b).outer; });
  }

  trimlet& packer_;
  TokenList& tokens_;
  const int32_t firstNew_;
  const int32_t argumentsName_;
  const int32_t evalName_;
  Landmarks landmarks_;
  std::vector<Scope> scopes_;
  const uint32_t split_;  // where the walks cut a long list in two (0: nowhere)
  std::vector<Binding> bindings_;
  std::vector<int32_t> declarations_;  // binding of each declaration, in walk order
  std::vector<int32_t> entered_;       // bindings in the order their functions open
  std::vector<int32_t> innermost_;     // per name: the innermost open binding
};

// The declaration walk. Braces count levels; at level 1 or more, each name
// right after `var` or after a `,` of its list is a declaration, and the walk
// steps over its initialiser whole (a function expression there included):
//   var i, j = f(a, b), k = {x: 1};
// A declaration that no function encloses is a global and is not recorded.
int32_t Renamer::FindDeclarations() {
  ScopeCursor cursor(scopes_);
  int32_t level = 0;
  size_t resume = 0;  // where the walk goes on after a `var` list
  // While the walk runs, innermost_ holds the bindings found so far in the
  // functions around it, so that a second `var` of a name finds its binding.
  // Only braces and `var` change what it does; it reads those alone.
  for (const uint32_t i : landmarks_.bracesAndVars) {
    if (i < resume) continue;  // inside a list's initialiser, stepped over whole
    const Token& t = tokens_[i];
    if (t.IsPunct(pack::kOpenBrace)) {
      ++level;
    } else if (t.IsPunct(pack::kCloseBrace)) {
      --level;
    } else if (level > 0) {
      resume = DeclareList(i + 1, cursor);
    }
  }
  cursor.LeaveAll([this](int32_t s) { LeaveScope(s); });
  return level;
}

// Records the declarations of one `var` list starting at `first`; returns where
// the walk goes on: after the list's `;`, at its `}`, after `in` in
// `for (var k in o)`, at a token that is not a name, or at the list end when an
// initialiser runs to it.
size_t Renamer::DeclareList(size_t first, ScopeCursor& cursor) {
  const size_t n = tokens_.Size();
  size_t d = first;
  while (d < n && tokens_[d].kind == pack::Identifier) {
    cursor.MoveTo(d, [this](int32_t s) { LeaveScope(s); }, [](int32_t) {});
    if (cursor.Innermost() != kNone && IsSourceName(tokens_[d])) Declare(d, cursor.Innermost());
    if (d + 1 < n && tokens_[d + 1].IsKeyword(pack::kIn)) return d + 2;
    pack::TokenIterator stop = d;
    packer_.SkipTo(stop, pack::kComma, pack::kSemicolon, pack::kCloseBrace);
    if (stop >= n) return n;
    if (!tokens_[stop].IsPunct(pack::kComma)) {
      return tokens_[stop].IsPunct(pack::kSemicolon) ? stop + 1 : stop;
    }
    d = stop + 1;
  }
  return d;
}

void Renamer::Declare(size_t at, int32_t scope) {
  const int32_t name = tokens_[at].value;
  int32_t& top = innermost_[static_cast<size_t>(name)];
  if (top == kNone || BindingAt(top).scope != scope) {
    Binding binding;
    binding.name = name;
    binding.scope = scope;
    binding.nextInScope = ScopeAt(scope).firstBinding;
    binding.outer = top;
    ScopeAt(scope).firstBinding = static_cast<int32_t>(bindings_.size());
    top = ScopeAt(scope).firstBinding;
    bindings_.push_back(binding);
  }
  declarations_.push_back(top);
}

// What the use sweep finds over a part of the names: the functions with eval
// or with directly inside, the bindings a label or shorthand uses, the bindings
// in the order their functions open, and the binding each one covers.
struct Renamer::Sweep {
  Sweep(size_t scopes, size_t bindings, size_t names)
      : dynamic(scopes, 0), pinned(bindings, 0), outer(bindings, kNone), innermost(names, kNone) {}
  std::vector<uint8_t> dynamic;
  std::vector<uint8_t> pinned;
  std::vector<int32_t> entered;
  std::vector<int32_t> outer;
  std::vector<int32_t> innermost;  // per name: the innermost open binding
};

// The use sweep over the names from landmark `first` up to `stop`, starting
// with no function open: the functions around the first are entered afresh,
// and those that a sweep of the names before `first` entered too are left out
// of `entered`. Only `sweep` is written, so two parts may go at once.
void Renamer::SweepNames(size_t first, size_t stop, Sweep& sweep) const {
  const std::vector<uint32_t>& names = landmarks_.names;
  const auto enteredBefore = [&](int32_t s) {
    const uint32_t open = scopes_[static_cast<size_t>(s)].open;
    return first > 0 && open < names[first] &&
           std::lower_bound(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(first),
                            open) != names.begin() + static_cast<std::ptrdiff_t>(first);
  };
  ScopeCursor cursor(scopes_);
  auto leave = [&](int32_t s) {
    ForEachBinding(s, [&](int32_t b, size_t name) {
      sweep.innermost[name] = sweep.outer[static_cast<size_t>(b)];
    });
  };
  auto enter = [&](int32_t s) {
    const bool again = enteredBefore(s);
    ForEachBinding(s, [&](int32_t b, size_t name) {
      sweep.outer[static_cast<size_t>(b)] = sweep.innermost[name];
      sweep.innermost[name] = b;
      if (!again) sweep.entered.push_back(b);
    });
  };
  // Only names and `with` matter here; a function with neither inside declares
  // nothing and holds no eval or with, so stepping over it changes nothing.
  for (size_t k = first; k < stop; ++k) {
    const uint32_t i = names[k];
    cursor.MoveTo(i, leave, enter);
    const Token& t = tokens_[i];
    const int32_t scope = cursor.Innermost();
    if (t.IsKeyword(pack::kWith) && scope != kNone) sweep.dynamic[static_cast<size_t>(scope)] = 1;
    if (!IsSourceName(t) || t.Has(pack::kAfterDot)) continue;
    if (t.value == evalName_ && scope != kNone) sweep.dynamic[static_cast<size_t>(scope)] = 1;
    const int32_t b = sweep.innermost[static_cast<size_t>(t.value)];
    if (b != kNone && ClassifyIdentifier(tokens_, i) == Use::Pinned) {
      sweep.pinned[static_cast<size_t>(b)] = 1;
    }
  }
}

// Marks the functions in which eval or with appears, themselves or in a nested
// function, and the bindings whose name a label or shorthand inside uses. A
// long list is swept in two parts at once.
void Renamer::FindDynamicScopesAndPins() {
  const std::vector<uint32_t>& names = landmarks_.names;
  const size_t half = LaterNames();
  Sweep sweep(scopes_.size(), bindings_.size(), innermost_.size());
  if (half == names.size()) {
    SweepNames(0, names.size(), sweep);
    Take(sweep);
  } else {
    Sweep later(scopes_.size(), bindings_.size(), innermost_.size());
    const bool laterDone = platform::RunBeside([&] { SweepNames(half, names.size(), later); },
                                               [&] { SweepNames(0, half, sweep); });
    if (!laterDone) {
      later = Sweep(scopes_.size(), bindings_.size(), innermost_.size());
      SweepNames(half, names.size(), later);
    }
    Take(sweep);
    Take(later);
  }
  // eval or with anywhere inside a function makes it dynamic: a nested
  // function comes after the one around it.
  for (size_t s = scopes_.size(); s-- > 0;) {
    Scope& scope = scopes_[s];
    if (scope.dynamic && scope.parent != kNone) ScopeAt(scope.parent).dynamic = true;
  }
}

// Takes what a sweep found: its marks, and for each binding it entered first
// (the sweep of the part before it has the others), its place in `entered_` and
// the binding it covers.
void Renamer::Take(const Sweep& part) {
  for (size_t s = 0; s < scopes_.size(); ++s) {
    scopes_[s].dynamic = scopes_[s].dynamic || part.dynamic[s];
  }
  for (size_t b = 0; b < bindings_.size(); ++b) {
    bindings_[b].pinned = bindings_[b].pinned || part.pinned[b];
  }
  for (const int32_t b : part.entered) {
    entered_.push_back(b);
    bindings_[static_cast<size_t>(b)].outer = part.outer[static_cast<size_t>(b)];
  }
}

// A binding is renamed unless its function is dynamic, its name is pinned in
// it (nested functions included) or it is `arguments`. One that an enclosing
// function's renamed binding of the same name covers takes that one's name.
void Renamer::ChooseOwners() {
  for (auto b = entered_.rbegin(); b != entered_.rend(); ++b) {
    const Binding& inner = BindingAt(*b);
    if (inner.pinned && inner.outer != kNone) BindingAt(inner.outer).pinned = true;
  }
  for (int32_t b : entered_) {
    Binding& binding = BindingAt(b);
    if (binding.outer != kNone && BindingAt(binding.outer).owner != kNone) {
      binding.owner = BindingAt(binding.outer).owner;
    } else if (!binding.pinned && !ScopeAt(binding.scope).dynamic &&
               binding.name != argumentsName_) {
      binding.owner = b;
    }
  }
}

// The names from landmark `first` up to `stop` take the new names of what they
// stand for. `innermost` starts empty: the functions around the first are
// entered afresh. The bindings' `outer` links, set by the earlier sweep over the
// same landmarks, are only read, so two parts of the list may go at once.
void Renamer::RewriteNames(size_t first, size_t stop, std::vector<int32_t>& innermost) {
  ScopeCursor cursor(scopes_);
  auto leave = [&](int32_t s) {
    ForEachBinding(s, [&](int32_t b, size_t name) { innermost[name] = BindingAt(b).outer; });
  };
  auto enter = [&](int32_t s) {
    ForEachBinding(s, [&](int32_t b, size_t name) { innermost[name] = b; });
  };
  for (size_t k = first; k < stop; ++k) {
    const uint32_t i = landmarks_.names[k];
    cursor.MoveTo(i, leave, enter);
    Token& t = tokens_[i];
    if (!IsSourceName(t)) continue;
    const int32_t b = innermost[static_cast<size_t>(t.value)];
    if (b == kNone || BindingAt(b).owner == kNone) continue;
    if (ClassifyIdentifier(tokens_, i) == Use::Property) continue;
    t.value = BindingAt(BindingAt(b).owner).newName;
  }
}

// A long list is rewritten in two parts at once.
void Renamer::Rewrite() {
  const std::vector<uint32_t>& names = landmarks_.names;
  const size_t half = LaterNames();
  if (half == names.size()) {
    RewriteNames(0, names.size(), innermost_);
    return;
  }
  std::vector<int32_t> laterInnermost(innermost_.size(), kNone);
  const bool laterDone =
      platform::RunBeside([&] { RewriteNames(half, names.size(), laterInnermost); },
                          [&] { RewriteNames(0, half, innermost_); });
  if (!laterDone) {
    laterInnermost.assign(innermost_.size(), kNone);
    RewriteNames(half, names.size(), laterInnermost);
  }
}

}  // namespace

void trimlet::ChangeVars() {
  // A long list is walked in two parts at once, cut in the middle.
  constexpr size_t kTwoPartsFrom = size_t{1} << 17;
  ChangeVarsInTwo(Tokens().Size() >= kTwoPartsFrom ? Tokens().Size() / 2 : 0);
}

void trimlet::ChangeVarsInTwo(size_t split) {
  firstNewIdentifier = pack::IdentifierTable().Count();
  Renamer renamer(*this, firstNewIdentifier, split);
  const int32_t level = renamer.Run();
  char line[64];
  std::snprintf(line, sizeof line, "\ntrimlet::ChangeVars() : Level = %d\n", level);
  platform::DebugTrace(line);
}

int32_t trimlet::NewVarName() {
  pack::TextTable& names = pack::IdentifierTable();
  pack::NamePosition& takenEnd = pack::TakenNamesEnd();
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
