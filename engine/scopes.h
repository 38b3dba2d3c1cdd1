// The scopes of a parsed source: which names each scope declares and which
// binding each name in the code stands for. The parser declares and refers as
// it goes; Resolve, once the source is parsed, binds every reference in one
// walk. Later stages only read the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pack {

enum class ScopeKind : uint8_t { Script, Module, Function, Block, Catch, Class, StaticBlock };

enum class BindingKind : uint8_t {
  Var,            // var, and a function declared where var would be
  Param,          // a parameter (a var of its function)
  FunctionDecl,   // a function declared where a var would be
  Lexical,        // let, const, class, using, and a function declared in a block
  BlockFunction,  // a function declared in a block of sloppy code
  Catch,          // the name a catch clause takes
  Import,         // an imported name
  SelfName,       // the name of a function or class expression, seen inside it
};

struct Scope {
  int32_t parent;
  ScopeKind kind;
  bool dynamic = false;             // eval or with may see its names at run time
  bool parameterExpressions = false;  // defaults or patterns in its parameter list (or catch's)
  // The function node wraps a CommonJS module in: its bindings are the
  // module's top level, which no other source sees.
  bool commonJsModule = false;
  // With parameterExpressions: the first use of the body; the uses before it
  // that the scope's bindings answer stand in the parameter list.
  uint32_t bodyFirstUse = 0;
};

struct Binding {
  int32_t name;  // index into the identifier table
  int32_t scope;
  BindingKind kind;
  bool renamable = true;  // cleared where renaming could change what the code does
  int32_t covered = -1;        // the binding of the same name it hides, set by Resolve
};

// A name in the code that stands for a binding: a declaration or a reference.
struct NameUse {
  uint32_t token;   // index in the token list
  uint32_t offset;  // units into the source, for messages
  int32_t scope;    // the innermost scope where it stands
  int32_t name;     // index into the identifier table
  int32_t binding;  // the binding; -1 for a reference to a global
  bool declares : 1;
  // The binding's name is seen: a module exports it under its name.
  bool keepsName : 1;
  // export { a }: the binding's own name is exported, which a renamed binding
  // writes out (export { b as a }).
  bool exportsItself : 1;
  // A function or class without a name of its own takes the binding's as its
  // .name here: var f = function () {}, g = () => {}.
  bool namesFunction : 1;
  // The use is called, f(x): the function it holds is not read as a value.
  bool called : 1;
  // With namesFunction: the function is strict code, which neither
  // arguments.callee nor another function's .caller can reach.
  bool strictFunction : 1;
  // The name of a function or class declaration: also its .name.
  bool declaresFunction : 1;
  // With namesFunction: the token before which the function's own name may be
  // written instead (var b = function f () {} keeps the .name); 0 for an arrow.
  uint32_t nameSlot;
};

// A label, or a break or continue that names one. Labels have names of their
// own: `depth` counts the labels open around it in its function, so that
// labels open at once have different depths and siblings the same.
struct LabelUse {
  uint32_t token;
  uint32_t depth;
};

// A private name (#x) that may be shortened. Private names live apart from
// all others: each class body declares its own, and a #x means the innermost
// body around it that declares #x.
struct PrivateNameUse {
  uint32_t token;
  int32_t body;  // the class body that declares it
  int32_t name;  // the identifier of its spelling without escapes: #\u{6F} is #o
};

// What Resolve found wrong, for the caller to report.
struct ScopeError {
  uint32_t offset = 0;
  std::string message;
  bool found = false;
};

// Open addressing over (scope, name) keys packed in 64 bits: a source of
// several megabytes declares and looks up a name at every few tokens.
template <typename Value>
class ScopeNameTable {
 public:
  Value* Find(uint64_t key);
  const Value* Find(uint64_t key) const;
  // The value under `key`, made with its default when missing.
  Value& operator[](uint64_t key);
  void Reserve(size_t count);

 private:
  static constexpr uint64_t kEmpty = ~uint64_t{0};
  struct Slot {
    uint64_t key = kEmpty;
    Value value{};
  };
  size_t SlotOf(uint64_t key) const;
  void Rehash(size_t size);

  std::vector<Slot> slots_;
  size_t count_ = 0;
};

class Scopes {
 public:
  // `sourceUnits`: the length of the source, to make room ahead for its names.
  explicit Scopes(size_t sourceUnits = 0);

  int32_t Open(ScopeKind kind);
  void Close() { current_ = scopes_[static_cast<size_t>(current_)].parent; }
  void OpenCommonJsModule() { scopes_[static_cast<size_t>(Open(ScopeKind::Function))].commonJsModule = true; }
  int32_t Current() const { return current_; }
  // Makes `scope` the current one again (after a look at what follows a group).
  void SetCurrent(int32_t scope) { current_ = scope; }

  // Declares a name at the current scope; false, with `error` set, when the
  // language forbids the declaration there.
  bool Declare(uint32_t token, uint32_t offset, int32_t name, BindingKind kind, bool strict,
               ScopeError& error);
  void Refer(uint32_t token, uint32_t offset, int32_t name);
  // The binding of the use at `index` keeps its name: export { a }, export let a,
  // var f = function () {}.
  void KeepName(size_t index) { uses_[index].keepsName = true; }
  // A function or class without a name takes the name of the binding that the
  // use at `index` assigns; `nameSlot` as in NameUse.
  void NameFunction(size_t index, uint32_t nameSlot, bool strict) {
    uses_[index].namesFunction = true;
    uses_[index].nameSlot = nameSlot;
    uses_[index].strictFunction = strict;
  }
  void MarkCalled(size_t index) { uses_[index].called = true; }
  void MarkFunctionDeclaration(size_t index) { uses_[index].declaresFunction = true; }
  void MarkExportsItself(size_t index) { uses_[index].exportsItself = true; }
  void AddLabel(uint32_t token, uint32_t depth) { labels_.push_back(LabelUse{token, depth}); }
  const std::vector<LabelUse>& Labels() const { return labels_; }
  // Class bodies, numbered in the order they open: each body's parent is the
  // body around it (-1 for none), so a parent comes before its children.
  int32_t OpenClassBody(int32_t parent) {
    classBodyParents_.push_back(parent);
    return static_cast<int32_t>(classBodyParents_.size() - 1);
  }
  const std::vector<int32_t>& ClassBodyParents() const { return classBodyParents_; }
  void AddPrivateName(uint32_t token, int32_t body, int32_t name) {
    privateNames_.push_back(PrivateNameUse{token, body, name});
  }
  const std::vector<PrivateNameUse>& PrivateNames() const { return privateNames_; }
  // A private name that keeps its spelling (its method's .name is seen, or
  // eval may name it): no shortened private name may take it.
  void KeepPrivateName(int32_t name) { keptPrivateNames_.push_back(name); }
  const std::vector<int32_t>& KeptPrivateNames() const { return keptPrivateNames_; }
  // Drops a use recorded by Refer that turned out to be no name: the `async` of
  // an arrow function read first as a call, async(a) => a.
  void ForgetUse(size_t index) { uses_.erase(uses_.begin() + static_cast<std::ptrdiff_t>(index)); }
  // eval or with in the current scope: the names around may be found at run time.
  void MarkDynamic() { scopes_[static_cast<size_t>(current_)].dynamic = true; }
  // Called where the body of the current function, or of a catch with a
  // pattern, begins.
  void MarkParameterExpressions() {
    Scope& scope = scopes_[static_cast<size_t>(current_)];
    scope.parameterExpressions = true;
    scope.bodyFirstUse = static_cast<uint32_t>(uses_.size());
  }

  // A parenthesised list turned out to be the parameters of an arrow function:
  // the uses from `firstUse` on and the scopes opened from `firstScope` on
  // move into a new function scope, and the names at the tokens `params`
  // become its parameters. Returns the new scope, left current.
  int32_t MakeArrowScope(size_t firstUse, size_t firstScope, const uint32_t* params,
                         size_t paramCount, bool strict, ScopeError& error);

  // Binds every reference, once the last declaration is made; later calls
  // do nothing.
  void Resolve();

  size_t UseCount() const { return uses_.size(); }
  size_t ScopeCount() const { return scopes_.size(); }
  const std::vector<NameUse>& Uses() const { return uses_; }
  const std::vector<Binding>& Bindings() const { return bindings_; }
  std::vector<Binding>& Bindings() { return bindings_; }
  const std::vector<Scope>& AllScopes() const { return scopes_; }
  // Whether `scope` itself declares `name`.
  bool Declares(int32_t scope, int32_t name) const {
    const Entry* e = entries_.Find(Key(scope, name));
    return e != nullptr && e->binding >= 0;
  }
  // Whether a function declared in a block of sloppy code shares the name of
  // a var of `scope`: renaming the var would cut the two apart.
  bool HasBlockFunctionNamed(int32_t scope, int32_t name) const {
    return blockFunctionNames_.Find(Key(scope, name)) != nullptr;
  }

 private:
  // What a scope holds under a name, for the checks of redeclaration.
  struct Entry {
    int32_t binding = -1;
    BindingKind kind = BindingKind::Var;
    bool varThrough = false;  // a var of an inner block passes through this scope
  };
  static uint64_t Key(int32_t scope, int32_t name) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(scope)) << 32) |
           static_cast<uint32_t>(name);
  }
  bool IsVarScope(int32_t scope) const {
    const ScopeKind k = scopes_[static_cast<size_t>(scope)].kind;
    return k == ScopeKind::Script || k == ScopeKind::Module || k == ScopeKind::Function ||
           k == ScopeKind::StaticBlock;
  }
  int32_t NewBinding(int32_t name, int32_t scope, BindingKind kind);
  bool DeclareVar(int32_t name, BindingKind kind, int32_t& binding, std::string& message);
  bool DeclareLexical(int32_t name, BindingKind kind, bool strict, int32_t& binding,
                      std::string& message);

  std::vector<Scope> scopes_;
  std::vector<Binding> bindings_;
  std::vector<NameUse> uses_;
  std::vector<LabelUse> labels_;
  std::vector<int32_t> classBodyParents_;
  std::vector<PrivateNameUse> privateNames_;
  std::vector<int32_t> keptPrivateNames_;
  ScopeNameTable<Entry> entries_;
  // Functions declared in blocks of sloppy code also assign a var of their
  // name in the function around them: (that scope, name) pairs.
  ScopeNameTable<bool> blockFunctionNames_;
  int32_t current_ = -1;
  bool resolved_ = false;
};

}  // namespace pack
