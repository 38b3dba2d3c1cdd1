#include "scopes.h"

#include <algorithm>

namespace pack {

template <typename Value>
size_t ScopeNameTable<Value>::SlotOf(uint64_t key) const {
  const size_t mask = slots_.size() - 1;
  size_t i = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
  while (slots_[i].key != key && slots_[i].key != kEmpty) i = (i + 1) & mask;
  return i;
}

template <typename Value>
const Value* ScopeNameTable<Value>::Find(uint64_t key) const {
  if (slots_.empty()) return nullptr;
  const Slot& slot = slots_[SlotOf(key)];
  return slot.key == key ? &slot.value : nullptr;
}

template <typename Value>
Value* ScopeNameTable<Value>::Find(uint64_t key) {
  return const_cast<Value*>(static_cast<const ScopeNameTable&>(*this).Find(key));
}

template <typename Value>
Value& ScopeNameTable<Value>::operator[](uint64_t key) {
  if ((count_ + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 64 : slots_.size() * 2);
  Slot& slot = slots_[SlotOf(key)];
  if (slot.key != key) {
    slot.key = key;
    ++count_;
  }
  return slot.value;
}

template <typename Value>
void ScopeNameTable<Value>::Reserve(size_t count) {
  size_t size = slots_.empty() ? 64 : slots_.size();
  while ((count + 1) * 2 > size) size *= 2;
  if (size > slots_.size()) Rehash(size);
}

template <typename Value>
void ScopeNameTable<Value>::Rehash(size_t size) {
  std::vector<Slot> old(size);
  old.swap(slots_);
  for (const Slot& slot : old) {
    if (slot.key != kEmpty) slots_[SlotOf(slot.key)] = slot;
  }
}

template class ScopeNameTable<Scopes::Entry>;
template class ScopeNameTable<bool>;

// Room ahead, from counts in real code (libraries of several megabytes): a
// use of a name every 25 to 35 characters, a binding and a scope every 120 to
// 200. Untouched room is only address space, and growing lists of hundreds of
// thousands of uses would copy them again and again.
Scopes::Scopes(size_t sourceUnits) {
  uses_.reserve(sourceUnits / 24);
  bindings_.reserve(sourceUnits / 100);
  scopes_.reserve(sourceUnits / 150 + 1);
  entries_.Reserve(sourceUnits / 100);
  Open(ScopeKind::Script);
}

int32_t Scopes::Open(ScopeKind kind) {
  scopes_.push_back(Scope{current_, kind});
  current_ = static_cast<int32_t>(scopes_.size() - 1);
  return current_;
}

int32_t Scopes::NewBinding(int32_t name, int32_t scope, BindingKind kind) {
  bindings_.push_back(Binding{name, scope, kind});
  return static_cast<int32_t>(bindings_.size() - 1);
}

// A var belongs to the nearest function (or the script); on its way there it
// passes the blocks between, none of which may declare the name lexically:
//   { let x; { var x; } }   is refused;   try {} catch (e) { var e; }   is not.
bool Scopes::DeclareVar(int32_t name, BindingKind kind, int32_t& binding, std::string& message) {
  int32_t s = current_;
  // catch (e) { var e = 1 } assigns the catch's e: such a var keeps its name.
  bool besideCatch = false;
  for (; !IsVarScope(s); s = scopes_[static_cast<size_t>(s)].parent) {
    Entry& e = entries_[Key(s, name)];
    if (e.binding >= 0 && !(e.kind == BindingKind::Catch && kind == BindingKind::Var)) {
      message = "this name is already declared in this block";
      return false;
    }
    if (e.binding >= 0) {
      // The var's initialiser assigns the catch's name: both keep it.
      besideCatch = true;
      bindings_[static_cast<size_t>(e.binding)].renamable = false;
    }
    e.varThrough = true;
  }
  Entry& e = entries_[Key(s, name)];
  if (e.binding >= 0) {
    const BindingKind k = e.kind;
    if (k == BindingKind::Lexical || k == BindingKind::Import ||
        (k == BindingKind::BlockFunction && scopes_[static_cast<size_t>(s)].kind != ScopeKind::Script)) {
      message = "this name is already declared in this scope";
      return false;
    }
    binding = e.binding;
    if (besideCatch) bindings_[static_cast<size_t>(binding)].renamable = false;
    return true;
  }
  e.binding = binding = NewBinding(name, s, kind);
  e.kind = kind;
  if (besideCatch) bindings_[static_cast<size_t>(binding)].renamable = false;
  return true;
}

// A lexical name may be declared once in its scope, and no var of the same
// name may pass through it. Sloppy code may declare a block function twice.
bool Scopes::DeclareLexical(int32_t name, BindingKind kind, bool strict, int32_t& binding,
                            std::string& message) {
  Entry& e = entries_[Key(current_, name)];
  if (e.binding >= 0 || e.varThrough) {
    const bool twoBlockFunctions = !strict && kind == BindingKind::BlockFunction &&
                                   e.binding >= 0 && e.kind == BindingKind::BlockFunction;
    if (!twoBlockFunctions) {
      message = "this name is already declared in this scope";
      return false;
    }
    binding = e.binding;
    return true;
  }
  e.binding = binding = NewBinding(name, current_, kind);
  e.kind = kind;
  return true;
}

bool Scopes::Declare(uint32_t token, uint32_t offset, int32_t name, BindingKind kind, bool strict,
                     ScopeError& error) {
  int32_t binding = -1;
  std::string message;
  bool ok = true;
  switch (kind) {
    case BindingKind::Var:
    case BindingKind::Param:
    case BindingKind::FunctionDecl:
      ok = DeclareVar(name, kind, binding, message);
      break;
    case BindingKind::SelfName:
      binding = NewBinding(name, current_, kind);
      break;
    default:
      ok = DeclareLexical(name, kind, strict, binding, message);
      if (ok && kind == BindingKind::BlockFunction) {
        int32_t s = current_;
        while (!IsVarScope(s)) s = scopes_[static_cast<size_t>(s)].parent;
        blockFunctionNames_[Key(s, name)] = true;
      }
      break;
  }
  if (!ok) {
    if (!error.found) error = ScopeError{offset, message, true};
    return false;
  }
  uses_.push_back(NameUse{token, offset, current_, name, binding, true, false, false, false, false, false, false, 0});
  return true;
}

void Scopes::Refer(uint32_t token, uint32_t offset, int32_t name) {
  uses_.push_back(NameUse{token, offset, current_, name, -1, false, false, false, false, false, false, false, 0});
}

int32_t Scopes::MakeArrowScope(size_t firstUse, size_t firstScope, const uint32_t* params,
                               size_t paramCount, bool strict, ScopeError& error) {
  const int32_t outer = current_;
  const int32_t arrow = Open(ScopeKind::Function);
  for (size_t s = firstScope; s + 1 < scopes_.size(); ++s) {
    if (scopes_[s].parent == outer) scopes_[s].parent = arrow;
  }
  for (size_t u = firstUse; u < uses_.size(); ++u) {
    if (uses_[u].scope == outer) uses_[u].scope = arrow;
  }
  for (size_t k = 0; k < paramCount; ++k) {
    const auto it = std::lower_bound(
        uses_.begin() + static_cast<std::ptrdiff_t>(firstUse), uses_.end(), params[k],
        [](const NameUse& use, uint32_t token) { return use.token < token; });
    if (it == uses_.end() || it->token != params[k]) continue;
    int32_t binding = -1;
    std::string message;
    Entry& e = entries_[Key(arrow, it->name)];
    if (e.binding >= 0) {
      if (!error.found) error = ScopeError{it->offset, "duplicate parameter name", true};
      (void)strict;
      continue;
    }
    e.binding = binding = NewBinding(it->name, arrow, BindingKind::Param);
    e.kind = BindingKind::Param;
    it->binding = binding;
    it->declares = true;
  }
  return arrow;
}

// One walk over the uses in source order. Entering a scope puts its bindings
// on top of the stack of their names; leaving takes them off; a reference
// stands for the top of its name's stack.
void Scopes::Resolve() {
  if (resolved_) return;
  resolved_ = true;
  const size_t scopeCount = scopes_.size();
  // The bindings of each scope, by a count and a prefix sum.
  std::vector<uint32_t> first(scopeCount + 1, 0);
  for (const Binding& b : bindings_) ++first[static_cast<size_t>(b.scope) + 1];
  for (size_t s = 0; s < scopeCount; ++s) first[s + 1] += first[s];
  std::vector<int32_t> byScope(bindings_.size());
  {
    std::vector<uint32_t> next(first.begin(), first.end() - 1);
    for (size_t b = 0; b < bindings_.size(); ++b) {
      byScope[next[static_cast<size_t>(bindings_[b].scope)]++] = static_cast<int32_t>(b);
    }
  }
  // The innermost binding of each name (-1: none), indexed by the name.
  int32_t names = 0;
  for (const Binding& b : bindings_) names = std::max(names, b.name + 1);
  std::vector<int32_t> top(static_cast<size_t>(names), -1);
  std::vector<int32_t> covered(bindings_.size(), -1);  // the binding each one hides
  std::vector<uint8_t> open(scopeCount, 0);
  std::vector<int32_t> path;
  std::vector<int32_t> entering;
  const auto enter = [&](int32_t s) {
    open[static_cast<size_t>(s)] = 1;
    path.push_back(s);
    for (uint32_t k = first[static_cast<size_t>(s)]; k < first[static_cast<size_t>(s) + 1]; ++k) {
      const int32_t b = byScope[k];
      int32_t& innermost = top[static_cast<size_t>(bindings_[static_cast<size_t>(b)].name)];
      covered[static_cast<size_t>(b)] = innermost;
      bindings_[static_cast<size_t>(b)].covered = innermost;
      innermost = b;
    }
  };
  const auto leave = [&]() {
    const int32_t s = path.back();
    path.pop_back();
    open[static_cast<size_t>(s)] = 0;
    for (uint32_t k = first[static_cast<size_t>(s) + 1]; k-- > first[static_cast<size_t>(s)];) {
      const int32_t b = byScope[k];
      top[static_cast<size_t>(bindings_[static_cast<size_t>(b)].name)] = covered[static_cast<size_t>(b)];
    }
  };
  for (NameUse& use : uses_) {
    if (path.empty() || path.back() != use.scope) {
      entering.clear();
      int32_t s = use.scope;
      while (s >= 0 && !open[static_cast<size_t>(s)]) {
        entering.push_back(s);
        s = scopes_[static_cast<size_t>(s)].parent;
      }
      while (!path.empty() && path.back() != s) leave();
      for (auto it = entering.rbegin(); it != entering.rend(); ++it) enter(*it);
    }
    if (!use.declares) use.binding = use.name < names ? top[static_cast<size_t>(use.name)] : -1;
  }
  // eval or with reaches every scope around it.
  // Scope numbers do not follow nesting (an arrow's scope is made after the
  // scopes of its parameters), so each walk up stops where an earlier one went.
  std::vector<uint8_t> reached(scopeCount, 0);
  for (size_t s = 0; s < scopeCount; ++s) {
    if (!scopes_[s].dynamic || reached[s]) continue;
    reached[s] = 1;
    for (int32_t p = scopes_[s].parent; p >= 0 && !reached[static_cast<size_t>(p)];
         p = scopes_[static_cast<size_t>(p)].parent) {
      reached[static_cast<size_t>(p)] = 1;
      scopes_[static_cast<size_t>(p)].dynamic = true;
    }
  }
}

}  // namespace pack
