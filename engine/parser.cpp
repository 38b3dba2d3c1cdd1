#include "parser.h"

#include <cstdint>
#include <unordered_map>
#include <utility>

#include "char_class.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace pack {

namespace {

// What the parser knows of an expression it has read: enough to tell whether
// it may stand where a pattern or an assignment target goes, and to check the
// rules that depend on the form of an operand.
constexpr size_t kNoUse = SIZE_MAX;

struct Expr {
  enum Kind : uint8_t {
    kOther, kName, kMember, kCall, kArray, kObject, kAssign, kArrow, kString, kOptional,
    kPrivateName, kSuper, kImportCall,
  };
  Kind kind = kOther;
  bool pattern = false;        // an array or object literal that reads as a pattern too
  bool coverInit = false;      // holds {a = 1}: only a pattern may
  bool parenthesized = false;
  bool unary = false;          // a unary expression: not allowed before `**`
  bool legacyOctalString = false;
  uint8_t logical = 0;         // 1: a && or || at its top; 2: a ?? at its top
  uint32_t token = 0;          // kName, kString: its token
  int32_t name = -1;           // kName: the identifier
  // kName: its use in the scopes; none for undefined, NaN and Infinity, which are literals
  size_t use = kNoUse;
  size_t nameOffset = 0;
  size_t coverInitOffset = 0;
  size_t targetsEnd = 0;       // kAssign to a pattern: where the pattern's targets end
  bool privateMember = false;  // a member access through #name
  bool memberTarget = false;   // kAssign to a member: [a.b = 1] = x
  // A function, class or arrow without a name of its own, which takes the name
  // of the binding it initialises (its .name): ({f = function () {}} = o)
  bool anonymousFunction = false;
  // Of a function or class expression without a name: the token its name
  // would go before (function NAME (, class NAME {); 0 for an arrow.
  uint32_t nameSlot = 0;
};

// A function without a name of its own takes the name of the binding it
// initialises as its .name; the parser marks that use (Scopes::NameFunction),
// and each call of a name (Scopes::MarkCalled), so that renaming knows when
// the .name could be seen:
//   var f = function () {}   let g = () => {}   h = class {}   ({k = function () {}} = o)

struct Context {
  bool strict = false;
  bool yield = false;        // in a generator: yield is an operator
  bool await = false;        // in an async function or a module's top level: await is one
  bool returnOk = false;
  bool superProperty = false;
  bool superCall = false;
  bool newTarget = false;
  bool inParameters = false;  // yield and await expressions are not allowed here
  bool noArguments = false;   // class field initialisers and static blocks
  bool staticBlock = false;
  bool module = false;
  bool functionBody = false;
};

struct Label {
  int32_t name;
  bool loop;
};

enum FunctionKind : uint8_t {
  kPlainFunction = 0,
  kAsyncFunction = 1,
  kGeneratorFunction = 2,
  kArrowFunction = 4,
  kMethod = 8,
  kGetter = 16,
  kSetter = 32,
  kConstructor = 64,
  kDerivedConstructor = 128,
};

const Token kInsertedSemicolon{kSemicolon, -1, -1, Punctuator, 1, 0};

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  const char16_t lower = static_cast<char16_t>(c | 0x20);
  return lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : -1;
}

// The value of a string literal of a module (strict code, so no octal
// escapes), its quotes included in `text`: what import and export names and
// attribute keys are compared by.  'typ\u0065' is "type".
std::u16string StringValue(std::u16string_view text) {
  std::u16string value;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    const char16_t c = text[i];
    if (c != u'\\') {
      value.push_back(c);
      continue;
    }
    const char16_t e = text[++i];
    char32_t cp = 0;
    switch (e) {
      case u'n': value.push_back(u'\n'); break;
      case u't': value.push_back(u'\t'); break;
      case u'r': value.push_back(u'\r'); break;
      case u'b': value.push_back(u'\b'); break;
      case u'f': value.push_back(u'\f'); break;
      case u'v': value.push_back(u'\v'); break;
      case u'0': value.push_back(u'\0'); break;
      case u'\r':
        if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        break;
      case u'\n': case 0x2028: case 0x2029: break;
      case u'x':
        value.push_back(static_cast<char16_t>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
        i += 2;
        break;
      case u'u':
        if (text[i + 1] == u'{') {
          for (i += 2; text[i] != u'}'; ++i) cp = cp * 16 + static_cast<char32_t>(HexDigit(text[i]));
        } else {
          for (int k = 0; k < 4; ++k) cp = cp * 16 + static_cast<char32_t>(HexDigit(text[++i]));
        }
        if (cp >= 0x10000) {
          value.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
          value.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
          value.push_back(static_cast<char16_t>(cp));
        }
        break;
      default: value.push_back(e); break;
    }
  }
  return value;
}

// Whether every surrogate of a UTF-16 text is half of a pair.
bool IsWellFormed(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

template <typename Unit>
class Parser {
 public:
  Parser(Lexer<Unit>& lexer, TokenList& tokens, Scopes& scopes, const ParseOptions& options)
      : lex_(lexer), tokens_(tokens), scopes_(scopes), options_(options),
        identifiers_(lexer.Tables().identifiers), literals_(lexer.Tables().literals) {
    context_.module = options.goal == Goal::Module;
    context_.strict = context_.module;
    context_.await = context_.module;
    pendingSourceEnd_ = options.endPreviousSource;
  }

  void ParseProgram();

 private:
  // --- tokens ---
  const Lexeme& Cur() const { return lex_.Current(); }
  bool IsP(int32_t code) const { return Cur().IsPunct(code); }
  bool IsK(int32_t code) const { return Cur().IsKeyword(code); }
  bool IsWord(std::string_view w) const { return lex_.IsWord(w); }
  bool IsPlainName() const { return Cur().kind == Identifier && !Cur().Has(kPrivateName); }
  uint32_t NextIndex() const { return static_cast<uint32_t>(tokens_.Size()); }
  [[noreturn]] void Fail(const std::string& message) const { lex_.Fail(Cur().begin, message); }
  [[noreturn]] void FailAt(size_t offset, const std::string& message) const {
    lex_.Fail(offset, message);
  }
  [[noreturn]] void Unexpected() const;
  [[noreturn]] void FailTooDeep() const {
    throw SyntaxError{Cur().begin, "nesting too deep", false, true};
  }
  // import and export outside a module: the caller may read the source as one.
  [[noreturn]] void FailNeedsModule(const char* message) const {
    throw SyntaxError{Cur().begin, message, true, false};
  }
  void Append(int8_t kind, int32_t value, uint8_t flags);
  uint32_t Take(uint8_t flags = 0);
  uint32_t TakeAsName(uint8_t flags);
  void Expect(int32_t punct);
  void ExpectKeyword(int32_t keyword);
  void InsertSemicolon() { tokens_.Append(kInsertedSemicolon); }
  void AppendCommentsBefore(size_t offset);
  void ExpectSemicolon();
  bool CanInsertSemicolon() const {
    return IsP(kSemicolon) || IsP(kCloseBrace) || Cur().kind == kEndOfInput || Cur().newLineBefore;
  }
  void CheckLiteral();
  struct Depth {
    explicit Depth(Parser& p) : parser(p) {
      const char here = 0;
      if (++parser.depth_ > parser.options_.mostNesting ||
          reinterpret_cast<uintptr_t>(&here) < parser.stackLimit_) {
        parser.FailTooDeep();
      }
    }
    ~Depth() { --parser.depth_; }
    Parser& parser;
  };

  // --- names ---
  // Whether an identifier's text is `name`.
  bool Named(int32_t value, std::u16string_view name) const {
    return value >= 0 && identifiers_.Text(value) == name;
  }
  // Whether a property key, a name or a string without escapes, spells `name`.
  bool NamedAsKey(const Lexeme& key, int32_t plain, std::u16string_view name) const {
    if (key.kind == Literal && key.Has(kStringLiteral)) {
      const std::u16string_view text = literals_.Text(key.value);
      return text.size() == name.size() + 2 && text.substr(1, name.size()) == name;
    }
    return plain >= 0 && identifiers_.Text(plain) == name;
  }
  bool IsEvalOrArguments(int32_t value) const {
    return Named(value, u"eval") || Named(value, u"arguments");
  }
  // undefined, NaN and Infinity are read as literals but are names of the
  // global object, which code may also declare: function f(undefined) {}
  bool IsGlobalNameLiteral(const Lexeme& l) const {
    if (l.kind != Literal || l.Has(kStringLiteral)) return false;
    const std::u16string_view text = literals_.Text(l.value);
    return text == u"undefined" || text == u"NaN" || text == u"Infinity";
  }
  bool IsReservedInStrict(const Lexeme& l) const;
  void CheckIdentifierReference(const Lexeme& l) const;
  void CheckBindingName(const Lexeme& l);
  uint32_t ParseBindingIdentifier(BindingKind kind);
  void Declare(uint32_t token, size_t offset, int32_t name, BindingKind kind);
  void Refer(uint32_t token, size_t offset, int32_t name) {
    scopes_.Refer(token, static_cast<uint32_t>(offset), name);
  }

  // --- statements ---
  void ParseDirectivesAndStatements(bool functionBody, bool& becameStrict, bool simpleParams,
                                    size_t firstParamCheck);
  void ParseStatementListItem();
  void ParseStatement();
  void ParseSubStatement();
  void ParseBlock();
  void ParseVariableStatement(BindingKind kind, bool inFor, bool& single, bool& initialised);
  void ParseBindingElement(BindingKind kind, bool& simple);
  void ParseBindingPattern(BindingKind kind);
  void ParseIf();
  void ParseFor();
  void ParseWhile();
  void ParseDoWhile();
  void ParseJump(bool isBreak);
  void ParseReturn();
  void ParseWith();
  void ParseSwitch();
  void ParseThrow();
  void ParseTry();
  void ParseLabelledOrExpression(bool labelled, bool forbidLabelledFunction);
  void ParseExpressionStatement();
  bool AtLetDeclaration();
  bool AtUsingDeclaration(bool inFor);
  bool AtAsyncFunction();
  // At the top level of the source, where a module's import and export go.
  bool AtModuleTopLevel() const {
    return scopes_.AllScopes()[static_cast<size_t>(scopes_.Current())].parent < 0;
  }
  void ParseFunctionDeclaration(bool statementPosition);
  void ParseClass(bool declaration, bool nameRequired);
  void ParseClassBody(bool derived);
  void ParseClassMember(bool derived, bool& sawConstructor);
  // The private names of the classes around the parser: each class body
  // declares some and uses some; a use that no class around declares is an error.
  struct PrivateName {
    uint8_t what;  // 1 getter, 2 setter, 3 field or method (or a getter and setter pair)
    bool isStatic;
    // A method, or a field an anonymous function initialises: the function's
    // .name is the private name, seen wherever the function is read, not called.
    bool namesFunction = false;
    bool readAsValue = false;
    bool kept = false;
  };
  struct PrivateOccurrence {
    int32_t name;
    size_t offset;
    uint32_t token;
    bool called;  // #m in this.#m(), a declaration, or #x in `#x in o`: no value is read
  };
  struct PrivateScope {
    int32_t body = -1;
    bool dynamic = false;  // a direct eval inside may name any of its private names
    std::unordered_map<int32_t, PrivateName> declared;
    std::vector<PrivateOccurrence> occurrences;  // declarations and uses
  };
  void DeclarePrivate(int32_t name, uint8_t what, bool isStatic, size_t offset, uint32_t token);
  void UsePrivate(int32_t name, size_t offset, uint32_t token, bool called);
  void ClosePrivateScope();
  void TakePrivateMember(bool allowCalls);
  void ParseImport();
  void ParseExport();
  void ParseModuleSpecifier();
  void ParseImportAttributes();
  std::u16string ParseModuleExportName(uint8_t flags);
  void AfterFunctionDeclaration();

  // --- functions ---
  void ParseFunctionRest(uint8_t kind, size_t nameOffset, int32_t name, bool nameIsEvalOrArguments,
                         bool nameReserved);
  bool ParseParameters(uint8_t kind, std::vector<std::pair<int32_t, size_t>>& names);
  void ParseFunctionBody(uint8_t kind, bool simpleParams,
                         const std::vector<std::pair<int32_t, size_t>>& names);
  Expr ParseArrowRest(uint8_t kind, size_t useMark, size_t scopeMark, size_t targetsMark,
                      bool simple, bool duplicatesChecked);
  void ParseConciseBody(uint8_t kind);
  void ParseMethod(uint8_t kind);
  void EnterClassElement(bool staticBlock);
  uint8_t ParseMethodHead(bool classMember, bool& accessor);

  // --- expressions ---
  Expr ParseExpression(bool allowIn);
  Expr ParseAssignment(bool allowIn);
  Expr ParseYield(bool allowIn);
  Expr ParseConditional(bool allowIn);
  Expr ParseBinary(int minPrecedence, bool allowIn);
  Expr ParseUnary();
  Expr ParseUpdate();
  Expr ParseLeftHandSide();
  Expr ParseMemberTail(Expr e, bool allowCalls);
  Expr ParseNew();
  Expr ParseSuper();
  Expr ParseImportExpression();
  Expr ParsePrimary();
  Expr ParseIdentifierExpression();
  Expr ParseParenthesized();
  Expr ParseArrayLiteral();
  Expr ParseObjectLiteral();
  void ParsePropertyName(bool& computed, int32_t& plainName, bool& isConstructorName, bool classMember,
                         bool& isPrivate);
  void ParseTemplate(bool tagged);
  void ParseArguments();
  bool KeepTarget(const Expr& element, size_t elementMark);
  void CheckSimpleTarget(const Expr& e, size_t offset) const;
  // The names a destructuring assignment assigns: not eval or arguments in strict code.
  void CheckPatternTargets(size_t mark) const {
    if (!context_.strict) return;
    for (size_t k = mark; k < targets_.size(); ++k) {
      if (IsEvalOrArguments(tokens_[targets_[k]].value)) {
        Fail("eval and arguments cannot be assigned in strict code");
      }
    }
  }
  void CheckAssignmentTarget(const Expr& e, size_t offset) const;

  Lexer<Unit>& lex_;
  TokenList& tokens_;
  Scopes& scopes_;
  const ParseOptions options_;
  TextTable& identifiers_;
  TextTable& literals_;
  Context context_;
  std::vector<Label> labels_;
  int32_t loops_ = 0;
  bool afterLabel_ = false;    // the statement being parsed is the body of a label
  size_t labelSetStart_ = 0;   // the labels that name that statement begin here
  int32_t switches_ = 0;
  int32_t depth_ = 0;
  bool pendingSourceEnd_ = false;
  uintptr_t stackLimit_ = 0;  // the lowest address the parse's frames may reach
  bool first_ = true;
  // Names that an enclosing parenthesised list or literal may turn into
  // parameters or pattern targets: token indices.
  std::vector<uint32_t> targets_;
  ScopeError scopeError_;
  std::vector<PrivateScope> privateScopes_;
  size_t nextComment_ = 0;  // the first kept comment not yet appended
  // Yield and await expressions, and names spelled await, read so far: an
  // arrow's parameters may hold none of the first, an async arrow's none of
  // either. (x = yield) => x   async (await) => 1
  uint32_t yieldsAndAwaits_ = 0;
  uint32_t awaitNames_ = 0;
  // The statement being read is the body of an if, a loop or a with, or of
  // labels that are: a labelled function may not stand there.
  bool labelledFunctionForbidden_ = false;
  int32_t switchScope_ = -1;  // the scope of the innermost switch's cases
  bool moduleTopLevel_ = true;
  // Export names seen, and the local names an export list names.
  std::vector<std::u16string> exportNames_;
  std::vector<std::pair<int32_t, size_t>> exportedLocals_;
  void AddExportName(std::u16string name, size_t offset);
  friend struct Depth;
};

// ---------------------------------------------------------------------------
// Tokens

template <typename Unit>
void Parser<Unit>::Unexpected() const {
  if (Cur().kind == kEndOfInput) Fail("unexpected end of input");
  if (Cur().IsPunct(kAt)) Fail("decorators are a proposal, not yet part of the language");
  Fail("unexpected token");
}

template <typename Unit>
void Parser<Unit>::Append(int8_t kind, int32_t value, uint8_t flags) {
  if (pendingSourceEnd_) {
    pendingSourceEnd_ = false;
    const Token* last = tokens_.Last();
    if (last != nullptr && !last->IsPunct(kSemicolon)) tokens_.Append(kInsertedSemicolon);
  }
  AppendCommentsBefore(Cur().begin);
  const uint8_t newLine = first_ || Cur().newLineBefore ? 1 : 0;
  first_ = false;
  tokens_.Append(Token{value, Cur().line, options_.source, kind, newLine, flags});
  if (tokens_.KeepsPositions()) tokens_.PositionOf(tokens_.Size() - 1) = lex_.PositionOf(Cur().begin);
}

// The comments kept that stand before `offset`, as tokens of their own, each
// where it stood between the tokens around it.
template <typename Unit>
void Parser<Unit>::AppendCommentsBefore(size_t offset) {
  const std::vector<KeptComment>& comments = lex_.Comments();
  for (; nextComment_ < comments.size() && comments[nextComment_].offset < offset; ++nextComment_) {
    const KeptComment& c = comments[nextComment_];
    tokens_.Append(Token{c.text, c.line, options_.source, Comment, 0, 0});
    if (tokens_.KeepsPositions()) tokens_.PositionOf(tokens_.Size() - 1) = lex_.PositionOf(c.offset);
  }
}

// A name written with escapes keeps them where its plain spelling would read
// as a word: for (\u0061sync of x) is a loop over a variable, for (async of
// is a syntax error.
template <typename Unit>
uint32_t Parser<Unit>::Take(uint8_t flags) {
  const uint32_t index = NextIndex();
  const Lexeme& l = Cur();
  int32_t value = l.value;
  if (l.kind == Identifier && l.Has(kEscapedName) && ActsAsWord(identifiers_.Text(l.value))) {
    std::u16string written;
    for (size_t k = l.begin; k < l.end; ++k) written.push_back(static_cast<char16_t>(lex_.Text()[k]));
    value = identifiers_.Intern(written);
  }
  Append(static_cast<int8_t>(l.kind), value, flags);
  lex_.Next();
  return index;
}

// A keyword or literal word where a name goes (o.class, {default: 1}): kept as a name.
template <typename Unit>
uint32_t Parser<Unit>::TakeAsName(uint8_t flags) {
  const uint32_t index = NextIndex();
  const Lexeme& l = Cur();
  if (l.kind == Keyword) {
    Append(Identifier, identifiers_.Intern(KeywordTable[static_cast<size_t>(l.value)]), flags);
  } else if (l.kind == Literal && !l.Has(kStringLiteral) && l.value >= 0 &&
             IsLiteralWord(literals_.Text(l.value))) {
    Append(Identifier, identifiers_.Intern(literals_.Text(l.value)), flags);
  } else {
    Append(static_cast<int8_t>(l.kind), l.value, flags);
  }
  lex_.Next();
  return index;
}

template <typename Unit>
void Parser<Unit>::Expect(int32_t punct) {
  if (!IsP(punct)) {
    if (Cur().kind == kEndOfInput) Fail("unexpected end of input");
    Fail(std::string("expected \"") + std::string(PunctuatorTable[static_cast<size_t>(punct)].begin(),
                                                  PunctuatorTable[static_cast<size_t>(punct)].end()) +
         "\"");
  }
  Take();
}

template <typename Unit>
void Parser<Unit>::ExpectKeyword(int32_t keyword) {
  if (!IsK(keyword)) {
    const std::u16string_view w = KeywordTable[static_cast<size_t>(keyword)];
    Fail("expected \"" + std::string(w.begin(), w.end()) + "\"");
  }
  Take();
}

// A statement ends with ";", or where a line break, a "}" or the end of the
// input stands in its place; packed, a line break becomes ";".
template <typename Unit>
void Parser<Unit>::ExpectSemicolon() {
  if (IsP(kSemicolon)) {
    Take(kEndsStatement);
  } else if (IsP(kCloseBrace) || Cur().kind == kEndOfInput) {
    return;
  } else if (Cur().newLineBefore) {
    InsertSemicolon();
  } else {
    Fail("expected \";\"");
  }
}

// Numbers and strings that strict code refuses: 017, 08, "\01".
template <typename Unit>
void Parser<Unit>::CheckLiteral() {
  if (context_.strict && Cur().Has(kLegacyOctal)) {
    Fail(Cur().Has(kStringLiteral) ? "octal escape sequences are not allowed in strict code"
                                   : "legacy octal literals are not allowed in strict code");
  }
}

// ---------------------------------------------------------------------------
// Names

template <typename Unit>
bool Parser<Unit>::IsReservedInStrict(const Lexeme& l) const {
  static constexpr std::string_view kWords[] = {"implements", "interface", "let",    "package",
                                                "private",    "protected", "public", "static",
                                                "yield"};
  for (std::string_view w : kWords) {
    if (lex_.IsWord(l, w)) return true;
  }
  return false;
}

template <typename Unit>
void Parser<Unit>::CheckIdentifierReference(const Lexeme& l) const {
  if (l.Has(kEscapedKeyword)) {
    const std::u16string_view text = identifiers_.Text(l.value);
    const bool reserved = FindKeyword(text) >= 0 || IsLiteralWord(text) ? true : false;
    const bool literalWord = text == u"NaN" || text == u"Infinity" || text == u"undefined";
    if (reserved && !literalWord) FailAt(l.begin, "a keyword cannot be written with escapes");
  }
  const bool escaped = l.Has(kEscapedName);
  // The names refused in some places (implements interface let package private
  // protected public static yield await arguments) are 3 to 10 letters long and
  // begin with one of six letters: most names pass at once.
  if (!escaped) {
    const size_t length = l.end - l.begin;
    if (length < 3 || length > 10) return;
    switch (lex_.Text()[l.begin]) {
      case u'a': case u'i': case u'l': case u'p': case u's': case u'y': break;
      default: return;
    }
  }
  const std::u16string_view text = identifiers_.Text(l.value);
  if (context_.strict && (IsReservedInStrict(l) || (escaped && (text == u"implements" || text == u"interface" ||
      text == u"let" || text == u"package" || text == u"private" || text == u"protected" ||
      text == u"public" || text == u"static" || text == u"yield")))) {
    FailAt(l.begin, "this name is reserved in strict code");
  }
  if (text == u"yield" && (context_.yield || (context_.inParameters && context_.yield))) {
    FailAt(l.begin, "yield cannot be a name here");
  }
  if (text == u"await" && (context_.await || context_.staticBlock || context_.module)) {
    FailAt(l.begin, "await cannot be a name here");
  }
  if (text == u"arguments" && context_.noArguments) {
    FailAt(l.begin, "arguments is not allowed in class field initialisers or static blocks");
  }
}

template <typename Unit>
void Parser<Unit>::CheckBindingName(const Lexeme& l) {
  if (IsGlobalNameLiteral(l)) return;
  if (Named(l.key, u"await")) ++awaitNames_;
  if (l.kind != Identifier || l.Has(kPrivateName)) Unexpected();
  CheckIdentifierReference(l);
  if (context_.strict && IsEvalOrArguments(l.value)) {
    FailAt(l.begin, "eval and arguments cannot be declared in strict code");
  }
}

template <typename Unit>
void Parser<Unit>::Declare(uint32_t token, size_t offset, int32_t name, BindingKind kind) {
  if (!scopes_.Declare(token, static_cast<uint32_t>(offset), name, kind, context_.strict, scopeError_)) {
    FailAt(scopeError_.offset, scopeError_.message);
  }
}

template <typename Unit>
uint32_t Parser<Unit>::ParseBindingIdentifier(BindingKind kind) {
  const Lexeme l = Cur();
  CheckBindingName(l);
  if (kind == BindingKind::Lexical && lex_.IsWord(l, "let")) {
    Fail("let cannot be a lexically bound name");
  }
  const uint32_t token = Take();
  if (!IsGlobalNameLiteral(l)) Declare(token, l.begin, l.key, kind);
  return token;
}

// ---------------------------------------------------------------------------
// Programs and statements

template <typename Unit>
void Parser<Unit>::ParseProgram() {
  const char top = 0;
  const auto here = reinterpret_cast<uintptr_t>(&top);
  stackLimit_ = here > options_.stackBudget ? here - options_.stackBudget : 0;
  lex_.Next();
  if (Cur().kind == Hashbang) {
    if (options_.keepHashbang) {
      Take();
    } else {
      lex_.Next();
    }
  }
  if (context_.module) scopes_.Open(ScopeKind::Module);
  if (options_.goal == Goal::CommonJs) {
    scopes_.OpenCommonJsModule();
    context_.returnOk = true;
    context_.newTarget = true;
  }
  // The ";" that ends the source before goes in now, so that token positions
  // seen from here on stay where they are.
  if (Cur().kind != kEndOfInput && pendingSourceEnd_) {
    pendingSourceEnd_ = false;
    const Token* last = tokens_.Last();
    if (last != nullptr && !last->IsPunct(kSemicolon)) tokens_.Append(kInsertedSemicolon);
  }
  bool becameStrict = false;
  ParseDirectivesAndStatements(false, becameStrict, true, 0);
  AppendCommentsBefore(SIZE_MAX);
  if (context_.module) {
    for (const auto& [name, offset] : exportedLocals_) {
      if (!scopes_.Declares(scopes_.Current(), name)) FailAt(offset, "an exported name must be declared in the module");
    }
    scopes_.Close();
  }
  lex_.FinishProgress();
}

// A directive prologue, then statements up to "}" (a function body) or the end.
template <typename Unit>
void Parser<Unit>::ParseDirectivesAndStatements(bool functionBody, bool& becameStrict,
                                                bool simpleParams, size_t) {
  bool prologue = true;
  bool octalBefore = false;
  while (!(functionBody ? IsP(kCloseBrace) : Cur().kind == kEndOfInput)) {
    if (Cur().kind == kEndOfInput) Unexpected();
    if (prologue && Cur().kind == Literal && Cur().Has(kStringLiteral)) {
      const Lexeme l = Cur();
      const size_t before = tokens_.Size();
      ParseStatementListItem();
      // A directive is a statement of one string literal, nothing else.
      const bool lone = tokens_.Size() == before + 1 ||
                        (tokens_.Size() == before + 2 && tokens_[before + 1].IsPunct(kSemicolon));
      if (!lone) {
        prologue = false;
        continue;
      }
      if (l.Has(kLegacyOctal)) octalBefore = true;
      if (l.end - l.begin == 12) {
        const std::u16string_view text = literals_.Text(l.value);
        if (text.substr(1, 10) == u"use strict") {
          if (!simpleParams) FailAt(l.begin, "\"use strict\" is not allowed in a function with a non-simple parameter list");
          if (octalBefore) FailAt(l.begin, "octal escape sequences are not allowed in strict code");
          if (!context_.strict) becameStrict = true;
          context_.strict = true;
        }
      }
      continue;
    }
    prologue = false;
    ParseStatementListItem();
  }
}

template <typename Unit>
bool Parser<Unit>::AtLetDeclaration() {
  if (!IsWord("let")) return false;
  const Lexeme next = lex_.Peek();
  if (next.IsPunct(kOpenBracket) || next.IsPunct(kOpenBrace)) return true;
  if (next.kind == Identifier && !next.Has(kPrivateName)) return true;
  if (IsGlobalNameLiteral(next)) return true;
  // `let yield`, `let await`, `let let` are names the binding check refuses
  if (next.kind == Keyword) return context_.strict;
  return false;
}

// `using x = ...` and `await using x = ...`: the name must follow on the same line.
template <typename Unit>
bool Parser<Unit>::AtUsingDeclaration(bool inFor) {
  if (!IsWord("using")) return false;
  const Lexeme next = lex_.Peek();
  if (next.newLineBefore || next.kind != Identifier || next.Has(kPrivateName)) return false;
  // for (using of x): using is the target; for (using of = y;;) declares of
  if (inFor && lex_.IsWord(next, "of")) return lex_.PeekSecond().IsPunct(kAssign);
  return true;
}

template <typename Unit>
bool Parser<Unit>::AtAsyncFunction() {
  if (!IsWord("async")) return false;
  const Lexeme next = lex_.Peek();
  return next.IsKeyword(kFunction) && !next.newLineBefore;
}

template <typename Unit>
void Parser<Unit>::ParseStatementListItem() {
  Depth depth(*this);
  if (IsK(kFunction)) {
    ParseFunctionDeclaration(false);
  } else if (AtAsyncFunction()) {
    ParseFunctionDeclaration(false);
  } else if (IsK(kClass)) {
    ParseClass(true, true);
  } else if (IsK(kConst)) {
    bool single = false, initialised = false;
    ParseVariableStatement(BindingKind::Lexical, false, single, initialised);
    ExpectSemicolon();
  } else if (AtLetDeclaration()) {
    bool single = false, initialised = false;
    ParseVariableStatement(BindingKind::Lexical, false, single, initialised);
    ExpectSemicolon();
  } else if (AtUsingDeclaration(false)) {
    if (scopes_.AllScopes()[static_cast<size_t>(scopes_.Current())].kind == ScopeKind::Script) {
      Fail("using declarations are not allowed at the top level of a script");
    }
    if (scopes_.Current() == switchScope_) Fail("using declarations are not allowed in a case clause");
    bool single = false, initialised = false;
    ParseVariableStatement(BindingKind::Lexical, false, single, initialised);
    ExpectSemicolon();
  } else if (IsWord("await") && context_.await && !context_.inParameters) {
    // A second look ahead only after `using`: past `await` a "/" may start a
    // regular expression that a look in division mode would misread.
    //   await /x\/y/.test(s)   await using r = f()
    const Lexeme next = lex_.Peek();
    const bool usingNext = lex_.IsWord(next, "using") && !next.newLineBefore;
    const Lexeme after = usingNext ? lex_.PeekSecond() : Lexeme{};
    if (usingNext && after.kind == Identifier && !after.Has(kPrivateName) && !after.newLineBefore) {
      if (scopes_.AllScopes()[static_cast<size_t>(scopes_.Current())].kind == ScopeKind::Script) {
        Fail("using declarations are not allowed at the top level of a script");
      }
      if (scopes_.Current() == switchScope_) Fail("using declarations are not allowed in a case clause");
      Take(kPropertyName);
      bool single = false, initialised = false;
      ParseVariableStatement(BindingKind::Lexical, false, single, initialised);
      ExpectSemicolon();
    } else {
      ParseStatement();
    }
  } else if (IsK(kImport) && !context_.module && AtModuleTopLevel()) {
    const Lexeme next = lex_.Peek();
    if (!next.IsPunct(kOpenParen) && !next.IsPunct(kDot)) {
      FailNeedsModule("import declarations may only appear in a module");
    }
    ParseStatement();
  } else if (IsK(kImport) && context_.module) {
    const Lexeme next = lex_.Peek();
    if (next.IsPunct(kOpenParen) || next.IsPunct(kDot)) {
      ParseStatement();
    } else {
      if (scopes_.AllScopes()[static_cast<size_t>(scopes_.Current())].kind != ScopeKind::Module) {
        Fail("import declarations may only appear at the top level of a module");
      }
      ParseImport();
    }
  } else if (IsK(kExport)) {
    if (!context_.module && AtModuleTopLevel()) {
      FailNeedsModule("export declarations may only appear in a module");
    }
    if (!context_.module ||
        scopes_.AllScopes()[static_cast<size_t>(scopes_.Current())].kind != ScopeKind::Module) {
      Fail("export declarations may only appear at the top level of a module");
    }
    ParseExport();
  } else {
    ParseStatement();
  }
}

// The body of if, while, for, with and labels: a statement, never a declaration.
template <typename Unit>
void Parser<Unit>::ParseSubStatement() {
  if (IsK(kClass) || IsK(kConst)) Fail("a declaration is not allowed here");
  labelledFunctionForbidden_ = true;
  ParseStatement();
}

template <typename Unit>
void Parser<Unit>::ParseStatement() {
  Depth depth(*this);
  // A loop's labels may be named by continue: a: b: while (x) continue a;
  if (afterLabel_ && (IsK(kFor) || IsK(kWhile) || IsK(kDo))) {
    for (size_t k = labelSetStart_; k < labels_.size(); ++k) labels_[k].loop = true;
  }
  const bool labelled = afterLabel_;
  afterLabel_ = false;
  const bool forbidLabelledFunction = labelledFunctionForbidden_;
  labelledFunctionForbidden_ = false;
  if (Cur().kind == Punctuator) {
    switch (Cur().value) {
      case kOpenBrace:
        scopes_.Open(ScopeKind::Block);
        ParseBlock();
        scopes_.Close();
        return;
      case kSemicolon:
        Take();
        return;
      default:
        break;
    }
  } else if (Cur().kind == Keyword) {
    switch (Cur().value) {
      case kVar: {
        bool single = false, initialised = false;
        ParseVariableStatement(BindingKind::Var, false, single, initialised);
        ExpectSemicolon();
        return;
      }
      case kIf: ParseIf(); return;
      case kFor: ParseFor(); return;
      case kWhile: ParseWhile(); return;
      case kDo: ParseDoWhile(); return;
      case kContinue: ParseJump(false); return;
      case kBreak: ParseJump(true); return;
      case kReturn: ParseReturn(); return;
      case kWith: ParseWith(); return;
      case kSwitch: ParseSwitch(); return;
      case kThrow: ParseThrow(); return;
      case kTry: ParseTry(); return;
      case kDebugger:
        Take();
        ExpectSemicolon();
        return;
      case kFunction:
        Fail("a function declaration is not allowed here");
      case kClass:
        Fail("a class declaration is not allowed here");
      case kConst:
        Fail("a lexical declaration is not allowed here");
      case kImport:
        break;  // import(...) and import.meta
      case kExport:
        Fail("export declarations may only appear at the top level of a module");
      case kEnum:
        Fail("enum is a reserved word");
      default:
        break;
    }
  }
  if (IsWord("let")) {
    const Lexeme next = lex_.Peek();
    if (next.IsPunct(kOpenBracket)) Fail("a lexical declaration is not allowed here");
  }
  if (AtAsyncFunction()) Fail("an async function declaration is not allowed here");
  ParseLabelledOrExpression(labelled, forbidLabelledFunction);
}

template <typename Unit>
void Parser<Unit>::ParseBlock() {
  Expect(kOpenBrace);
  while (!IsP(kCloseBrace)) {
    if (Cur().kind == kEndOfInput) Unexpected();
    ParseStatementListItem();
  }
  Take();
}

// var, let, const and using lists. In a for header `inFor` leaves out `in`
// from initialisers and lets a declaration without one stand before in/of.
template <typename Unit>
void Parser<Unit>::ParseVariableStatement(BindingKind kind, bool inFor, bool& single,
                                          bool& initialised) {
  const bool isConst = IsK(kConst);
  const bool isUsing = IsWord("using");
  if (Cur().kind == Keyword) {
    Take();
  } else {
    Take(kPropertyName);  // let, using
  }
  single = true;
  initialised = false;
  int count = 0;
  for (;;) {
    ++count;
    bool simple = true;
    const size_t use = scopes_.UseCount();
    if (IsP(kOpenBracket) || IsP(kOpenBrace)) {
      if (isUsing) Fail("a using declaration binds names, not patterns");
      simple = false;
      ParseBindingPattern(kind);
    } else {
      ParseBindingIdentifier(kind);
    }
    if (IsP(kAssign)) {
      Take();
      initialised = true;
      const Expr value = ParseAssignment(!inFor);
      if (value.anonymousFunction && simple) scopes_.NameFunction(use, value.nameSlot, context_.strict);
    } else if (!inFor || !(IsK(kIn) || IsWord("of"))) {
      if (!simple) Fail("a destructuring declaration needs an initialiser");
      if (isConst || isUsing) Fail("a const declaration needs an initialiser");
    }
    if (!IsP(kComma)) break;
    Take();
  }
  single = count == 1;
}

// A name or a pattern with an optional default, as a declaration or parameter.
template <typename Unit>
void Parser<Unit>::ParseBindingElement(BindingKind kind, bool& simple) {
  Depth depth(*this);
  const size_t use = scopes_.UseCount();
  bool named = false;
  if (IsP(kOpenBracket) || IsP(kOpenBrace)) {
    simple = false;
    ParseBindingPattern(kind);
  } else {
    named = true;
    ParseBindingIdentifier(kind);
  }
  if (IsP(kAssign)) {
    simple = false;
    Take();
    const Expr value = ParseAssignment(true);
    if (value.anonymousFunction && named) scopes_.NameFunction(use, value.nameSlot, context_.strict);
  }
}

template <typename Unit>
void Parser<Unit>::ParseBindingPattern(BindingKind kind) {
  Depth depth(*this);
  bool simple = false;
  if (IsP(kOpenBracket)) {
    Take();
    while (!IsP(kCloseBracket)) {
      if (IsP(kComma)) {
        Take();
        continue;
      }
      if (IsP(kEllipsis)) {
        Take();
        if (IsP(kOpenBracket) || IsP(kOpenBrace)) {
          ParseBindingPattern(kind);
        } else {
          ParseBindingIdentifier(kind);
        }
        if (!IsP(kCloseBracket)) Fail("a rest element must be last");
        break;
      }
      ParseBindingElement(kind, simple);
      if (!IsP(kCloseBracket)) Expect(kComma);
    }
    Take();
    return;
  }
  Expect(kOpenBrace);
  while (!IsP(kCloseBrace)) {
    if (IsP(kEllipsis)) {
      Take();
      ParseBindingIdentifier(kind);
      if (!IsP(kCloseBrace)) Fail("a rest element must be last");
      break;
    }
    const Lexeme key = Cur();
    bool computed = false, ctorName = false, isPrivate = false;
    int32_t plain = -1;
    if (IsPlainName() || key.kind == Keyword) {
      // {a}, {a = 1} or {a: b}
      const Lexeme next = lex_.Peek();
      if (!next.IsPunct(kColon) && key.kind == Identifier) {
        CheckBindingName(key);
        if (kind == BindingKind::Lexical && lex_.IsWord(key, "let")) Fail("let cannot be a lexically bound name");
        const uint32_t token = Take(kShorthand);
        const size_t use = scopes_.UseCount();
        Declare(token, key.begin, key.key, kind);
        if (IsP(kAssign)) {
          Take();
          const Expr value = ParseAssignment(true);
          if (value.anonymousFunction) scopes_.NameFunction(use, value.nameSlot, context_.strict);
        }
        if (!IsP(kCloseBrace)) Expect(kComma);
        continue;
      }
    }
    ParsePropertyName(computed, plain, ctorName, false, isPrivate);
    if (isPrivate) Unexpected();
    Expect(kColon);
    ParseBindingElement(kind, simple);
    if (!IsP(kCloseBrace)) Expect(kComma);
  }
  Take();
}

template <typename Unit>
void Parser<Unit>::ParseIf() {
  Take();
  Expect(kOpenParen);
  ParseExpression(true);
  Expect(kCloseParen);
  // Old scripts may write a function declaration as the body of an if.
  if (IsK(kFunction) && !context_.strict) {
    scopes_.Open(ScopeKind::Block);
    ParseFunctionDeclaration(true);
    scopes_.Close();
  } else {
    ParseSubStatement();
  }
  if (IsK(kElse)) {
    Take();
    if (IsK(kFunction) && !context_.strict) {
      scopes_.Open(ScopeKind::Block);
      ParseFunctionDeclaration(true);
      scopes_.Close();
    } else {
      ParseSubStatement();
    }
  }
}

template <typename Unit>
void Parser<Unit>::ParseWhile() {
  Take();
  Expect(kOpenParen);
  ParseExpression(true);
  Expect(kCloseParen);
  ++loops_;
  ParseSubStatement();
  --loops_;
}

// A do-while statement ends after its ")" whatever follows: do x(); while (y) z()
template <typename Unit>
void Parser<Unit>::ParseDoWhile() {
  Take();
  ++loops_;
  ParseSubStatement();
  --loops_;
  ExpectKeyword(kWhile);
  Expect(kOpenParen);
  ParseExpression(true);
  Expect(kCloseParen);
  if (IsP(kSemicolon)) {
    Take();
  } else if (!IsP(kCloseBrace) && Cur().kind != kEndOfInput) {
    InsertSemicolon();
  }
}

template <typename Unit>
void Parser<Unit>::ParseFor() {
  Take();
  bool isAwait = false;
  if (IsWord("await")) {
    if (!context_.await || context_.inParameters) Fail("for await is only allowed in async functions and modules");
    isAwait = true;
    Take(kPropertyName);
  }
  Expect(kOpenParen);
  const int32_t outer = scopes_.Current();
  bool opened = false;
  bool declaration = false;
  bool lexical = false;
  bool usingDeclaration = false;
  bool patternDeclaration = false;
  bool single = false, initialised = false;
  Expr init;
  size_t initOffset = Cur().begin;
  bool initIsLetName = false;
  bool startsWithAsyncName = false;
  if (IsP(kSemicolon)) {
    if (isAwait) Fail("for await needs of");
  } else if (IsK(kVar)) {
    declaration = true;
    const Lexeme next = lex_.Peek();
    patternDeclaration = next.IsPunct(kOpenBracket) || next.IsPunct(kOpenBrace);
    ParseVariableStatement(BindingKind::Var, true, single, initialised);
  } else if (IsK(kConst) || AtLetDeclaration() || AtUsingDeclaration(true) ||
             (IsWord("let") && context_.strict)) {
    scopes_.Open(ScopeKind::Block);
    opened = true;
    declaration = lexical = true;
    usingDeclaration = IsWord("using");
    ParseVariableStatement(BindingKind::Lexical, true, single, initialised);
  } else if (IsWord("await") && context_.await && lex_.IsWord(lex_.Peek(), "using") &&
             !lex_.Peek().newLineBefore && lex_.PeekSecond().kind == Identifier &&
             !lex_.PeekSecond().newLineBefore) {
    scopes_.Open(ScopeKind::Block);
    opened = true;
    declaration = lexical = true;
    usingDeclaration = true;
    Take(kPropertyName);
    ParseVariableStatement(BindingKind::Lexical, true, single, initialised);
  } else {
    initIsLetName = IsWord("let");
    startsWithAsyncName = IsWord("async") && !Cur().Has(kEscapedName);
    const size_t mark = targets_.size();
    init = ParseExpression(false);
    if ((IsWord("of") || IsK(kIn)) && (init.kind == Expr::kArray || init.kind == Expr::kObject)) {
      CheckPatternTargets(mark);
    }
    targets_.resize(mark);
  }
  if (IsWord("of") && !(declaration && initialised)) {
    if (declaration && !single) Fail("for-of takes a single declaration");
    if (!declaration) {
      if (initIsLetName) FailAt(initOffset, "for-of cannot start with let");
      if (startsWithAsyncName && init.kind == Expr::kName && !isAwait) FailAt(initOffset, "for (async of ...) is ambiguous");
      CheckAssignmentTarget(init, initOffset);
    }
    Take(kPropertyName);
    ParseAssignment(true);
  } else if (IsK(kIn) && !isAwait) {
    if (declaration && !single) Fail("for-in takes a single declaration");
    if (declaration && initialised && (lexical || context_.strict || patternDeclaration)) {
      Fail("a for-in declaration cannot have an initialiser");
    }
    if (usingDeclaration) Fail("for-in cannot declare with using");
    if (!declaration) CheckAssignmentTarget(init, initOffset);
    Take();
    ParseExpression(true);
  } else {
    if (isAwait) Fail("for await needs of");
    if (declaration && !initialised) {
      // const and patterns were checked for initialisers by the declaration
    }
    if (!declaration && init.coverInit) FailAt(init.coverInitOffset, "invalid shorthand property initialiser");
    Expect(kSemicolon);
    if (!IsP(kSemicolon)) ParseExpression(true);
    Expect(kSemicolon);
    if (!IsP(kCloseParen)) ParseExpression(true);
  }
  Expect(kCloseParen);
  ++loops_;
  ParseSubStatement();
  --loops_;
  if (opened) scopes_.SetCurrent(outer);
}

template <typename Unit>
void Parser<Unit>::ParseJump(bool isBreak) {
  Take();
  if (IsPlainName() && !Cur().newLineBefore) {
    const Lexeme l = Cur();
    size_t found = labels_.size();
    for (size_t k = 0; k < labels_.size(); ++k) {
      if (labels_[k].name == l.key && (isBreak || labels_[k].loop)) found = k;
    }
    if (found == labels_.size()) Fail("no such label");
    scopes_.AddLabel(Take(kPropertyName), static_cast<uint32_t>(found));
  } else if (isBreak ? (loops_ == 0 && switches_ == 0) : loops_ == 0) {
    Fail(isBreak ? "break outside a loop or switch" : "continue outside a loop");
  }
  ExpectSemicolon();
}

template <typename Unit>
void Parser<Unit>::ParseReturn() {
  if (!context_.returnOk) Fail("return outside a function");
  Take();
  if (!CanInsertSemicolon()) ParseExpression(true);
  ExpectSemicolon();
}

template <typename Unit>
void Parser<Unit>::ParseWith() {
  if (context_.strict) Fail("with is not allowed in strict code");
  Take();
  Expect(kOpenParen);
  ParseExpression(true);
  Expect(kCloseParen);
  scopes_.MarkDynamic();
  ParseSubStatement();
}

template <typename Unit>
void Parser<Unit>::ParseSwitch() {
  Take();
  Expect(kOpenParen);
  ParseExpression(true);
  Expect(kCloseParen);
  Expect(kOpenBrace);
  const int32_t outerSwitch = switchScope_;
  switchScope_ = scopes_.Open(ScopeKind::Block);
  ++switches_;
  bool sawDefault = false;
  while (!IsP(kCloseBrace)) {
    if (IsK(kCase)) {
      Take();
      ParseExpression(true);
    } else if (IsK(kDefault)) {
      if (sawDefault) Fail("a switch may have only one default");
      sawDefault = true;
      Take();
    } else {
      Unexpected();
    }
    Expect(kColon);
    while (!IsP(kCloseBrace) && !IsK(kCase) && !IsK(kDefault)) {
      if (Cur().kind == kEndOfInput) Unexpected();
      ParseStatementListItem();
    }
  }
  --switches_;
  switchScope_ = outerSwitch;
  scopes_.Close();
  Take();
}

template <typename Unit>
void Parser<Unit>::ParseThrow() {
  Take();
  if (Cur().newLineBefore) Fail("a line break cannot follow throw");
  ParseExpression(true);
  ExpectSemicolon();
}

template <typename Unit>
void Parser<Unit>::ParseTry() {
  Take();
  scopes_.Open(ScopeKind::Block);
  ParseBlock();
  scopes_.Close();
  bool handled = false;
  if (IsK(kCatch)) {
    handled = true;
    Take();
    scopes_.Open(ScopeKind::Catch);
    if (IsP(kOpenParen)) {
      Take();
      bool simple = true;
      if (IsP(kOpenBracket) || IsP(kOpenBrace)) {
        ParseBindingPattern(BindingKind::Lexical);
        // the pattern's defaults do not see the block's names (one scope here)
        scopes_.MarkParameterExpressions();
      } else {
        ParseBindingIdentifier(BindingKind::Catch);
      }
      (void)simple;
      Expect(kCloseParen);
    }
    ParseBlock();
    scopes_.Close();
  }
  if (IsK(kFinally)) {
    handled = true;
    Take();
    scopes_.Open(ScopeKind::Block);
    ParseBlock();
    scopes_.Close();
  }
  if (!handled) Fail("expected catch or finally");
}

template <typename Unit>
void Parser<Unit>::ParseLabelledOrExpression(bool labelled, bool forbidLabelledFunction) {
  if (IsPlainName() && !Cur().Has(kEscapedKeyword)) {
    const Lexeme next = lex_.Peek();
    if (next.IsPunct(kColon)) {
      const Lexeme l = Cur();
      if (lex_.IsWord(l, "await") && (context_.await || context_.module)) Unexpected();
      CheckIdentifierReference(l);
      for (const Label& label : labels_) {
        if (label.name == l.key) Fail("a label of this name is already open");
      }
      scopes_.AddLabel(Take(kPropertyName), static_cast<uint32_t>(labels_.size()));
      Take();
      if (!labelled) labelSetStart_ = labels_.size();
      labels_.push_back(Label{l.key, false});
      if (IsK(kFunction)) {
        if (context_.strict) Fail("a labelled function is not allowed in strict code");
        if (forbidLabelledFunction) Fail("a labelled function is not allowed here");
        ParseFunctionDeclaration(true);
      } else {
        if (IsK(kClass) || IsK(kConst)) Fail("a declaration is not allowed here");
        afterLabel_ = true;
        labelledFunctionForbidden_ = forbidLabelledFunction;
        ParseStatement();
        afterLabel_ = false;
      }
      labels_.pop_back();
      return;
    }
  }
  ParseExpressionStatement();
}

template <typename Unit>
void Parser<Unit>::ParseExpressionStatement() {
  const size_t offset = Cur().begin;
  const size_t mark = targets_.size();
  const Expr e = ParseExpression(true);
  targets_.resize(mark);
  if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
  (void)offset;
  // A statement of one string is a directive, or does nothing: it stays a string.
  if (e.kind == Expr::kString && !e.parenthesized && e.token + 1 == tokens_.Size()) {
    tokens_[e.token].flags |= kKeepLiteral;
  }
  ExpectSemicolon();
}

// ---------------------------------------------------------------------------
// Functions

template <typename Unit>
void Parser<Unit>::ParseFunctionDeclaration(bool statementPosition) {
  uint8_t kind = kPlainFunction;
  if (IsWord("async")) {
    Take(kPropertyName);
    kind |= kAsyncFunction;
    if (statementPosition) Fail("an async function declaration is not allowed here");
  }
  Take();
  if (IsP(kStar)) {
    Take();
    kind |= kGeneratorFunction;
    if (statementPosition) Fail("a generator declaration is not allowed here");
  }
  const Lexeme name = Cur();
  if (!IsPlainName()) Unexpected();
  CheckBindingName(name);
  const ScopeKind where = scopes_.AllScopes()[static_cast<size_t>(scopes_.Current())].kind;
  const bool varLike = where == ScopeKind::Function || where == ScopeKind::Script ||
                       where == ScopeKind::StaticBlock;
  // Old scripts declare functions in blocks; strict code and modules scope them to the block.
  BindingKind bindingKind = BindingKind::Var;
  if (!varLike) {
    bindingKind = (!context_.strict && kind == kPlainFunction) ? BindingKind::BlockFunction
                                                               : BindingKind::Lexical;
  }
  if (where == ScopeKind::Module) bindingKind = BindingKind::Lexical;
  const uint32_t token = Take();
  if (bindingKind == BindingKind::Var) {
    // a function where var would be declares a var-like name, not a var
    Declare(token, name.begin, name.key, BindingKind::FunctionDecl);
  } else {
    Declare(token, name.begin, name.key, bindingKind);
  }
  scopes_.MarkFunctionDeclaration(scopes_.UseCount() - 1);
  // The name is checked again if the body turns out to be strict.
  ParseFunctionRest(kind, name.begin, name.value,
                    IsEvalOrArguments(name.value), IsReservedInStrict(name));
  AfterFunctionDeclaration();
}

// Packed output has always had a ";" after a function declaration that a
// statement follows; it is kept, so that packed text stays as it was:
//   function f(){}\ng()   ->   function f(){};g()
// but not before else, which it would cut from its if.
template <typename Unit>
void Parser<Unit>::AfterFunctionDeclaration() {
  const Lexeme& l = Cur();
  bool continuesNothing = false;
  switch (l.kind) {
    case Identifier:
    case Literal:
    case RegExp:
      continuesNothing = true;
      break;
    case Keyword:
      continuesNothing = l.value != kIn && l.value != kInstanceof && l.value != kElse;
      break;
    case Punctuator:
      continuesNothing = l.value == kNot || l.value == kTilde || l.value == kOpenBrace ||
                         l.value == kSlash || l.value == kSlashAssign ||
                         ((l.value == kIncrement || l.value == kDecrement) && l.newLineBefore);
      break;
    default:
      break;
  }
  if (continuesNothing) {
    InsertSemicolon();
    tokens_.Last()->flags |= kAfterFunctionDeclaration;
  }
}

// Parameters and body; the function's name is already taken.
template <typename Unit>
void Parser<Unit>::ParseFunctionRest(uint8_t kind, size_t nameOffset, int32_t, bool nameIsEvalOrArguments,
                                     bool nameReserved) {
  const Context saved = context_;
  std::vector<Label> savedLabels;
  savedLabels.swap(labels_);
  const int32_t savedLoops = loops_, savedSwitches = switches_;
  loops_ = switches_ = 0;
  context_.yield = (kind & kGeneratorFunction) != 0;
  context_.await = (kind & kAsyncFunction) != 0;
  context_.returnOk = true;
  context_.newTarget = true;
  context_.superProperty = (kind & kMethod) != 0;
  context_.superCall = (kind & kDerivedConstructor) != 0;
  context_.noArguments = false;
  context_.staticBlock = false;
  context_.functionBody = true;
  context_.inParameters = false;
  scopes_.Open(ScopeKind::Function);
  std::vector<std::pair<int32_t, size_t>> names;
  const bool simple = ParseParameters(kind, names);
  const bool wasStrict = context_.strict;
  ParseFunctionBody(kind, simple, names);
  if (!wasStrict && context_.strict && nameOffset != static_cast<size_t>(-1) &&
      (nameIsEvalOrArguments || nameReserved)) {
    FailAt(nameOffset, "this name is not allowed in strict code");
  }
  scopes_.Close();
  context_ = saved;
  labels_.swap(savedLabels);
  loops_ = savedLoops;
  switches_ = savedSwitches;
}

// Returns whether the list is simple (plain names only).
template <typename Unit>
bool Parser<Unit>::ParseParameters(uint8_t kind, std::vector<std::pair<int32_t, size_t>>& names) {
  Expect(kOpenParen);
  const bool savedInParameters = context_.inParameters;
  context_.inParameters = true;
  bool simple = true;
  bool rest = false;
  int32_t count = 0;
  const size_t firstUse = scopes_.UseCount();
  while (!IsP(kCloseParen)) {
    ++count;
    if (IsP(kEllipsis)) {
      Take();
      simple = false;
      rest = true;
      bool restSimple = true;
      if (IsP(kOpenBracket) || IsP(kOpenBrace)) {
        ParseBindingPattern(BindingKind::Param);
      } else {
        ParseBindingIdentifier(BindingKind::Param);
      }
      (void)restSimple;
      if (!IsP(kCloseParen)) Fail("a rest parameter must be last");
      break;
    }
    ParseBindingElement(BindingKind::Param, simple);
    if (!IsP(kCloseParen)) Expect(kComma);
  }
  Take();
  context_.inParameters = savedInParameters;
  if ((kind & kGetter) && count != 0) Fail("a getter takes no parameters");
  if ((kind & kSetter) && (count != 1 || rest)) Fail("a setter takes exactly one parameter");
  for (size_t u = firstUse; u < scopes_.UseCount(); ++u) {
    const NameUse& use = scopes_.Uses()[u];
    if (use.declares && use.scope == scopes_.Current()) names.emplace_back(use.name, use.offset);
  }
  if (!simple) scopes_.MarkParameterExpressions();
  return simple;
}

template <typename Unit>
void Parser<Unit>::ParseFunctionBody(uint8_t kind, bool simpleParams,
                                     const std::vector<std::pair<int32_t, size_t>>& names) {
  Expect(kOpenBrace);
  bool becameStrict = false;
  ParseDirectivesAndStatements(true, becameStrict, simpleParams, 0);
  Take();
  // Parameters once more, now that the body may have made the code strict.
  const bool noDuplicates = context_.strict || !simpleParams || (kind & (kArrowFunction | kMethod));
  for (size_t i = 0; i < names.size(); ++i) {
    if (context_.strict && IsEvalOrArguments(names[i].first)) {
      FailAt(names[i].second, "eval and arguments cannot be parameters in strict code");
    }
    if (becameStrict) {
      const std::u16string_view text = identifiers_.Text(names[i].first);
      if (text == u"implements" || text == u"interface" || text == u"let" || text == u"package" ||
          text == u"private" || text == u"protected" || text == u"public" || text == u"static" ||
          text == u"yield") {
        FailAt(names[i].second, "this name is reserved in strict code");
      }
    }
  }
  if (noDuplicates) {
    std::unordered_map<int32_t, size_t> seen;
    for (const auto& [name, offset] : names) {
      if (!seen.emplace(name, offset).second) FailAt(offset, "duplicate parameter name");
    }
  }
}

// ---------------------------------------------------------------------------
// Classes

template <typename Unit>
void Parser<Unit>::ParseClass(bool declaration, bool nameRequired) {
  const Context saved = context_;
  context_.strict = true;
  Take();
  const int32_t outer = scopes_.Current();
  if (IsPlainName() && !IsK(kExtends) && !(IsWord("implements") && false)) {
    if (IsWord("extends")) {
      // not a name
    }
    const Lexeme name = Cur();
    CheckBindingName(name);
    if (lex_.IsWord(name, "let") || lex_.IsWord(name, "yield") || lex_.IsWord(name, "static") ||
        lex_.IsWord(name, "implements")) {
      Fail("this name is reserved in strict code");
    }
    if (declaration) {
      context_.strict = saved.strict;
      const uint32_t token = Take();
      Declare(token, name.begin, name.key, BindingKind::Lexical);
      scopes_.MarkFunctionDeclaration(scopes_.UseCount() - 1);
      context_.strict = true;
      scopes_.Open(ScopeKind::Class);
      // inside, the name is a binding of its own
    } else {
      scopes_.Open(ScopeKind::Class);
      const uint32_t token = Take();
      Declare(token, name.begin, name.key, BindingKind::SelfName);
    }
  } else {
    if (nameRequired && declaration) Unexpected();
    scopes_.Open(ScopeKind::Class);
  }
  bool derived = false;
  if (IsK(kExtends)) {
    Take();
    derived = true;
    if (ParseLeftHandSide().kind == Expr::kArrow) Fail("an arrow function needs parentheses here");
  }
  ParseClassBody(derived);
  scopes_.SetCurrent(outer);
  context_ = saved;
}

template <typename Unit>
void Parser<Unit>::ParseClassBody(bool derived) {
  Expect(kOpenBrace);
  bool sawConstructor = false;
  const int32_t parentBody = privateScopes_.empty() ? -1 : privateScopes_.back().body;
  privateScopes_.emplace_back();
  privateScopes_.back().body = scopes_.OpenClassBody(parentBody);
  while (!IsP(kCloseBrace)) {
    if (IsP(kSemicolon)) {
      Take();
      continue;
    }
    if (Cur().kind == kEndOfInput) Unexpected();
    ParseClassMember(derived, sawConstructor);
  }
  ClosePrivateScope();
  Take();
}

// A getter and a setter of one name make a pair; anything else declared twice
// is an error, and so is a pair of which one half is static.
template <typename Unit>
void Parser<Unit>::DeclarePrivate(int32_t name, uint8_t what, bool isStatic, size_t offset, uint32_t token) {
  PrivateScope& scope = privateScopes_.back();
  scope.occurrences.push_back(PrivateOccurrence{name, offset, token, true});
  const auto [it, added] = scope.declared.try_emplace(name, PrivateName{what, isStatic});
  if (added) return;
  PrivateName& declared = it->second;
  const bool pair = ((declared.what == 1 && what == 2) || (declared.what == 2 && what == 1)) &&
                    declared.isStatic == isStatic;
  if (!pair) FailAt(offset, "this private name is already declared");
  declared.what = 3;
}

template <typename Unit>
void Parser<Unit>::UsePrivate(int32_t name, size_t offset, uint32_t token, bool called) {
  if (privateScopes_.empty()) FailAt(offset, "a private name is only allowed in a class that declares it");
  privateScopes_.back().occurrences.push_back(PrivateOccurrence{name, offset, token, called});
}

// The uses a class body does not declare go to the class around it. Its own
// names may be shortened unless a direct eval inside could name them, or a
// function whose .name one is may be read.
template <typename Unit>
void Parser<Unit>::ClosePrivateScope() {
  PrivateScope scope = std::move(privateScopes_.back());
  privateScopes_.pop_back();
  for (const PrivateOccurrence& o : scope.occurrences) {
    const auto found = scope.declared.find(o.name);
    if (found != scope.declared.end()) {
      found->second.readAsValue = found->second.readAsValue || !o.called;
      continue;
    }
    if (privateScopes_.empty()) FailAt(o.offset, "this private name is not declared in a class around it");
    privateScopes_.back().occurrences.push_back(o);
  }
  for (const PrivateOccurrence& o : scope.occurrences) {
    const auto found = scope.declared.find(o.name);
    if (found == scope.declared.end()) continue;
    PrivateName& p = found->second;
    if (!scope.dynamic && !(p.namesFunction && p.readAsValue)) {
      scopes_.AddPrivateName(o.token, scope.body, o.name);
    } else if (!p.kept) {
      p.kept = true;
      scopes_.KeepPrivateName(o.name);
    }
  }
}

// One member: a method, accessor, field or static block.
//   static x = 1     #y     get z() {}     static { }     async *gen() {}     [k]() {}
template <typename Unit>
void Parser<Unit>::ParseClassMember(bool derived, bool& sawConstructor) {
  bool isStatic = false;
  if (IsWord("static")) {
    const Lexeme next = lex_.Peek();
    if (next.IsPunct(kOpenBrace)) {
      Take(kPropertyName);
      const Context saved = context_;
      EnterClassElement(true);
      std::vector<Label> savedLabels;
      savedLabels.swap(labels_);
      const int32_t savedLoops = loops_, savedSwitches = switches_;
      loops_ = switches_ = 0;
      scopes_.Open(ScopeKind::StaticBlock);
      ParseBlock();
      scopes_.Close();
      labels_.swap(savedLabels);
      loops_ = savedLoops;
      switches_ = savedSwitches;
      context_ = saved;
      return;
    }
    if (!(next.IsPunct(kOpenParen) || next.IsPunct(kAssign) || next.IsPunct(kSemicolon) ||
          next.IsPunct(kCloseBrace))) {
      isStatic = true;
      Take(kPropertyName);
    }
  }
  bool accessor = false;
  uint8_t kind = ParseMethodHead(true, accessor);
  bool computed = false, ctorName = false, isPrivate = false;
  int32_t plain = -1;
  const size_t nameOffset = Cur().begin;
  const Lexeme keyLexeme = Cur();
  const uint32_t nameToken = NextIndex();
  ParsePropertyName(computed, plain, ctorName, true, isPrivate);
  const bool isMethodLike = IsP(kOpenParen);
  if (isPrivate) {
    if (lex_.IsWord(keyLexeme, "#constructor")) FailAt(nameOffset, "#constructor is not allowed");
    const uint8_t what = accessor ? ((kind & kGetter) ? 1 : 2) : 3;
    DeclarePrivate(plain, what, isStatic, nameOffset, nameToken);
    if (isMethodLike && !accessor) privateScopes_.back().declared[plain].namesFunction = true;
  }
  if (isMethodLike) {
    if (ctorName && !isStatic && !computed) {
      if (kind != kMethod) FailAt(nameOffset, "the constructor cannot be an accessor, generator or async");
      if (sawConstructor) FailAt(nameOffset, "a class may have only one constructor");
      sawConstructor = true;
      kind |= kConstructor;
      if (derived) kind |= kDerivedConstructor;
    }
    if (isStatic && !computed && NamedAsKey(keyLexeme, plain, u"prototype")) {
      FailAt(nameOffset, "a static member cannot be named prototype");
    }
    ParseMethod(kind);
    return;
  }
  if (kind != kMethod) Unexpected();
  // A field: a name, then an optional initialiser, ended like a statement.
  if (ctorName && !computed) FailAt(nameOffset, "a field cannot be named constructor");
  if (isStatic && !computed &&
      (NamedAsKey(keyLexeme, plain, u"prototype") || NamedAsKey(keyLexeme, plain, u"constructor"))) {
    FailAt(nameOffset, "this static field name is not allowed");
  }
  if (IsP(kAssign)) {
    Take();
    const Context saved = context_;
    EnterClassElement(false);
    scopes_.Open(ScopeKind::Function);
    const size_t mark = targets_.size();
    const Expr e = ParseAssignment(true);
    targets_.resize(mark);
    if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
    if (isPrivate && e.anonymousFunction) privateScopes_.back().declared[plain].namesFunction = true;
    scopes_.Close();
    context_ = saved;
  }
  ExpectSemicolon();
}

// The words before a member's name: async, *, get and set. Each is the name
// itself when what follows ends a name: {async: 1}, {get}, class { set = 1 }.
// get\nx() {} is an accessor: no line break ends a field named get there; a
// line break after async does.
template <typename Unit>
uint8_t Parser<Unit>::ParseMethodHead(bool classMember, bool& accessor) {
  const auto endsName = [&](const Lexeme& next) {
    return next.IsPunct(kOpenParen) || next.IsPunct(kAssign) || next.IsPunct(kCloseBrace) ||
           (classMember ? next.IsPunct(kSemicolon) : next.IsPunct(kColon) || next.IsPunct(kComma));
  };
  uint8_t kind = kMethod;
  accessor = false;
  if (IsWord("async")) {
    const Lexeme next = lex_.Peek();
    if (!next.newLineBefore && !endsName(next)) {
      Take(kPropertyName);
      kind |= kAsyncFunction;
    }
  }
  if (IsP(kStar)) {
    Take();
    kind |= kGeneratorFunction;
  }
  if ((IsWord("get") || IsWord("set")) && kind == kMethod) {
    const Lexeme next = lex_.Peek();
    if (!endsName(next) && !next.IsPunct(kStar)) {
      kind |= IsWord("get") ? kGetter : kSetter;
      accessor = true;
      Take(kPropertyName);
    }
  }
  return kind;
}

// A static block or a field's initialiser: code of the class, like a method
// body, where super.x and new.target may stand but arguments and await may not.
template <typename Unit>
void Parser<Unit>::EnterClassElement(bool staticBlock) {
  context_.await = false;
  context_.yield = false;
  context_.returnOk = false;
  context_.superProperty = true;
  context_.superCall = false;
  context_.newTarget = true;
  context_.noArguments = true;
  context_.staticBlock = staticBlock;
  context_.inParameters = false;
}

template <typename Unit>
void Parser<Unit>::ParseMethod(uint8_t kind) {
  ParseFunctionRest(kind, static_cast<size_t>(-1), -1, false, false);
}

// ---------------------------------------------------------------------------
// Modules

template <typename Unit>
void Parser<Unit>::ParseModuleSpecifier() {
  if (!(Cur().kind == Literal && Cur().Has(kStringLiteral))) Fail("expected a module name string");
  Take(kKeepLiteral);
}

// with { type: "json" }
template <typename Unit>
void Parser<Unit>::ParseImportAttributes() {
  if (!IsK(kWith)) {
    if (IsWord("assert") && !Cur().newLineBefore) Fail("import assertions were replaced by import attributes (with)");
    return;
  }
  Take();
  Expect(kOpenBrace);
  std::vector<std::u16string> keys;
  while (!IsP(kCloseBrace)) {
    std::u16string key;
    if (IsPlainName() || Cur().kind == Keyword ||
        (Cur().kind == Literal && !Cur().Has(kStringLiteral))) {
      if (Cur().kind == Identifier) key = std::u16string(identifiers_.Text(Cur().value));
      if (Cur().kind == Keyword) key = std::u16string(KeywordTable[static_cast<size_t>(Cur().value)]);
      if (Cur().kind == Literal) key = std::u16string(literals_.Text(Cur().value));
      TakeAsName(kPropertyName);
    } else if (Cur().kind == Literal && Cur().Has(kStringLiteral)) {
      key = StringValue(literals_.Text(Cur().value));
      Take(kKeepLiteral);
    } else {
      Unexpected();
    }
    for (const std::u16string& k : keys) {
      if (k == key) FailAt(Cur().begin, "duplicate import attribute");
    }
    keys.push_back(key);
    Expect(kColon);
    if (!(Cur().kind == Literal && Cur().Has(kStringLiteral))) Fail("an import attribute's value must be a string");
    Take(kKeepLiteral);
    if (!IsP(kCloseBrace)) Expect(kComma);
  }
  Take();
}

// A name in an import or export list: a name or a string.
// A name in an import or export list, a name or a string; returns its value.
template <typename Unit>
std::u16string Parser<Unit>::ParseModuleExportName(uint8_t flags) {
  if (Cur().kind == Literal && Cur().Has(kStringLiteral)) {
    std::u16string value = StringValue(literals_.Text(Cur().value));
    if (!IsWellFormed(value)) Fail("a module name string must not hold a lone surrogate");
    Take(kKeepLiteral);
    return value;
  }
  if (IsPlainName() || Cur().kind == Keyword || Cur().kind == Literal) {
    const uint32_t token = TakeAsName(flags);
    const Token& t = tokens_[token];
    return std::u16string(t.kind == Identifier ? identifiers_.Text(t.value) : literals_.Text(t.value));
  }
  Unexpected();
}

template <typename Unit>
void Parser<Unit>::AddExportName(std::u16string name, size_t offset) {
  for (const std::u16string& seen : exportNames_) {
    if (seen == name) FailAt(offset, "this name is already exported");
  }
  exportNames_.push_back(std::move(name));
}

template <typename Unit>
void Parser<Unit>::ParseImport() {
  Take();
  if (IsWord("source") || IsWord("defer")) {
    const Lexeme next = lex_.Peek();
    if (next.kind == Identifier || next.IsPunct(kStar)) {
      if (!lex_.IsWord(next, "from")) Fail("source and deferred imports are proposals, not yet part of the language");
    }
  }
  if (Cur().kind == Literal && Cur().Has(kStringLiteral)) {
    ParseModuleSpecifier();
    ParseImportAttributes();
    ExpectSemicolon();
    return;
  }
  bool needFrom = false;
  if (IsPlainName()) {
    ParseBindingIdentifier(BindingKind::Import);
    needFrom = true;
    if (IsP(kComma)) {
      Take();
      if (!IsP(kStar) && !IsP(kOpenBrace)) Unexpected();
    }
  }
  if (IsP(kStar)) {
    Take();
    if (!IsWord("as")) Fail("expected \"as\"");
    Take(kPropertyName);
    ParseBindingIdentifier(BindingKind::Import);
    needFrom = true;
  } else if (IsP(kOpenBrace)) {
    Take();
    while (!IsP(kCloseBrace)) {
      // { a }   { a as b }   { "x" as b }   { default as b }
      const Lexeme name = Cur();
      const bool stringName = name.kind == Literal && name.Has(kStringLiteral);
      const Lexeme next = lex_.Peek();
      if (lex_.IsWord(next, "as")) {
        ParseModuleExportName(kPropertyName);
        Take(kPropertyName);
        ParseBindingIdentifier(BindingKind::Import);
      } else {
        if (stringName || name.kind != Identifier) Fail("expected \"as\"");
        const Lexeme l = Cur();
        CheckBindingName(l);
        const uint32_t token = Take(kShorthand);
        Declare(token, l.begin, l.key, BindingKind::Import);
      }
      if (!IsP(kCloseBrace)) Expect(kComma);
    }
    Take();
    needFrom = true;
  }
  if (needFrom) {
    if (!IsWord("from")) Fail("expected \"from\"");
    Take(kPropertyName);
  }
  ParseModuleSpecifier();
  ParseImportAttributes();
  ExpectSemicolon();
}

template <typename Unit>
void Parser<Unit>::ParseExport() {
  Take();
  const size_t firstUse = scopes_.UseCount();
  if (IsK(kDefault)) {
    AddExportName(u"default", Cur().begin);
    Take();
    if (IsK(kFunction) || AtAsyncFunction()) {
      // export default function () {}: the name may be left out
      uint8_t kind = kPlainFunction;
      if (IsWord("async")) {
        Take(kPropertyName);
        kind |= kAsyncFunction;
      }
      Take();
      if (IsP(kStar)) {
        Take();
        kind |= kGeneratorFunction;
      }
      if (IsPlainName()) {
        const Lexeme name = Cur();
        CheckBindingName(name);
        const uint32_t token = Take();
        Declare(token, name.begin, name.key, BindingKind::Lexical);
        // exported as default, its name is still the function's .name
        scopes_.KeepName(scopes_.UseCount() - 1);
      }
      ParseFunctionRest(kind, static_cast<size_t>(-1), -1, false, false);
      AfterFunctionDeclaration();
      return;
    }
    if (IsK(kClass)) {
      ParseClass(true, false);
      if (scopes_.UseCount() > firstUse && scopes_.Uses()[firstUse].declares) scopes_.KeepName(firstUse);
      return;
    }
    const size_t mark = targets_.size();
    const Expr e = ParseAssignment(true);
    targets_.resize(mark);
    if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
    ExpectSemicolon();
    return;
  }
  if (IsP(kStar)) {
    Take();
    if (IsWord("as")) {
      Take(kPropertyName);
      const size_t offset = Cur().begin;
      AddExportName(ParseModuleExportName(kPropertyName), offset);
    }
    if (!IsWord("from")) Fail("expected \"from\"");
    Take(kPropertyName);
    ParseModuleSpecifier();
    ParseImportAttributes();
    ExpectSemicolon();
    return;
  }
  if (IsP(kOpenBrace)) {
    // export { a, b as c, d as "e" } [from "m"]
    Take();
    std::vector<std::pair<size_t, bool>> locals;  // token index, written as a string
    std::vector<std::pair<int32_t, size_t>> localNames;
    while (!IsP(kCloseBrace)) {
      const Lexeme name = Cur();
      const bool stringName = name.kind == Literal && name.Has(kStringLiteral);
      const size_t index = tokens_.Size();
      const Lexeme next = lex_.Peek();
      const bool renamed = lex_.IsWord(next, "as");
      std::u16string exported = ParseModuleExportName(renamed ? 0 : kShorthand);
      locals.emplace_back(index, stringName || name.kind != Identifier || name.Has(kEscapedKeyword));
      localNames.emplace_back(name.key, name.begin);
      size_t exportedOffset = name.begin;
      if (renamed) {
        Take(kPropertyName);
        exportedOffset = Cur().begin;
        exported = ParseModuleExportName(kPropertyName);
      }
      AddExportName(std::move(exported), exportedOffset);
      if (!IsP(kCloseBrace)) Expect(kComma);
    }
    Take();
    if (IsWord("from")) {
      for (auto& [index, str] : locals) tokens_[index].flags = static_cast<uint8_t>((tokens_[index].flags & ~kShorthand) | kPropertyName);
      Take(kPropertyName);
      ParseModuleSpecifier();
      ParseImportAttributes();
    } else {
      for (auto& [index, str] : locals) {
        if (str) Fail("a local name must be a name, not a string or keyword");
        Refer(static_cast<uint32_t>(index), 0, tokens_[index].value);
        // export { a } exports the name itself; export { a as b } only the binding
        if (tokens_[index].flags & kShorthand) scopes_.MarkExportsItself(scopes_.UseCount() - 1);
      }
      // Each must be declared in the module, which the end of the module tells.
      exportedLocals_.insert(exportedLocals_.end(), localNames.begin(), localNames.end());
    }
    ExpectSemicolon();
    return;
  }
  if (IsK(kVar) || IsK(kConst) || AtLetDeclaration()) {
    bool single = false, initialised = false;
    ParseVariableStatement(IsK(kVar) ? BindingKind::Var : BindingKind::Lexical, false, single,
                           initialised);
    ExpectSemicolon();
  } else if (IsK(kFunction) || AtAsyncFunction()) {
    ParseFunctionDeclaration(false);
  } else if (IsK(kClass)) {
    ParseClass(true, true);
  } else {
    Unexpected();
  }
  // export var a, {b} = o: the names declared at the module's own level
  for (size_t u = firstUse; u < scopes_.UseCount(); ++u) {
    const NameUse& use = scopes_.Uses()[u];
    if (use.declares && use.scope == scopes_.Current()) {
      AddExportName(std::u16string(identifiers_.Text(use.name)), use.offset);
      scopes_.KeepName(u);
    }
  }
}

// ---------------------------------------------------------------------------
// Expressions

template <typename Unit>
Expr Parser<Unit>::ParseExpression(bool allowIn) {
  Expr e = ParseAssignment(allowIn);
  if (!IsP(kComma)) return e;
  while (IsP(kComma)) {
    Take();
    const Expr next = ParseAssignment(allowIn);
    if (next.coverInit && !e.coverInit) {
      e.coverInit = true;
      e.coverInitOffset = next.coverInitOffset;
    }
  }
  Expr result;
  result.coverInit = e.coverInit;
  result.coverInitOffset = e.coverInitOffset;
  return result;
}

template <typename Unit>
void Parser<Unit>::CheckSimpleTarget(const Expr& e, size_t offset) const {
  if (e.kind == Expr::kName) {
    if (context_.strict && IsEvalOrArguments(e.name)) {
      FailAt(offset, "eval and arguments cannot be assigned in strict code");
    }
    return;
  }
  if (e.kind == Expr::kMember && !e.parenthesized) return;
  if (e.kind == Expr::kMember) return;  // (a.b) = 1
  if (e.kind == Expr::kCall && !context_.strict && !e.parenthesized) return;  // f() = 1 fails when run
  FailAt(offset, "invalid assignment target");
}

template <typename Unit>
void Parser<Unit>::CheckAssignmentTarget(const Expr& e, size_t offset) const {
  if ((e.kind == Expr::kArray || e.kind == Expr::kObject) && !e.parenthesized) {
    if (!e.pattern) FailAt(offset, "invalid destructuring target");
    return;
  }
  CheckSimpleTarget(e, offset);
}

template <typename Unit>
Expr Parser<Unit>::ParseAssignment(bool allowIn) {
  Depth depth(*this);
  if (IsWord("yield") && context_.yield) {
    if (context_.inParameters) Fail("yield is not allowed in parameters");
    return ParseYield(allowIn);
  }
  // async x => ...
  if (IsWord("async")) {
    const Lexeme next = lex_.Peek();
    if (next.kind == Identifier && !next.newLineBefore && !next.Has(kPrivateName) &&
        lex_.PeekSecond().IsPunct(kArrow)) {
      Take(kPropertyName);
      const Lexeme param = Cur();
      if (lex_.IsWord(param, "await")) Fail("await cannot be a parameter name of an async function");
      const size_t useMark = scopes_.UseCount();
      const size_t scopeMark = scopes_.ScopeCount();
      const Context saved = context_;
      context_.await = true;
      CheckBindingName(param);
      context_ = saved;
      const uint32_t token = Take();
      Refer(token, param.begin, param.key);
      if (!IsP(kArrow) || Cur().newLineBefore) Fail("expected \"=>\"");
      const size_t targetsMark = targets_.size();
      targets_.push_back(token);
      return ParseArrowRest(kAsyncFunction | kArrowFunction, useMark, scopeMark, targetsMark, true, true);
    }
  }
  const size_t offset = Cur().begin;
  const bool startsWithName = IsPlainName();
  const Lexeme first = Cur();
  const size_t targetsBefore = targets_.size();
  const size_t useMark = scopes_.UseCount();
  const size_t scopeMark = scopes_.ScopeCount();
  Expr left = ParseConditional(allowIn);
  if (left.kind == Expr::kArrow) return left;
  // x => ...
  if (IsP(kArrow) && startsWithName && left.kind == Expr::kName && !left.parenthesized &&
      tokens_.Size() == left.token + 1) {
    if (Cur().newLineBefore) Fail("a line break cannot come before =>");
    CheckBindingName(first);
    const size_t targetsMark = targets_.size();
    targets_.push_back(left.token);
    return ParseArrowRest(kArrowFunction, useMark, scopeMark, targetsMark, true, true);
  }
  if (Cur().kind != Punctuator) return left;
  const int32_t op = Cur().value;
  if (op == kAssign) {
    CheckAssignmentTarget(left, offset);
    if (left.kind == Expr::kArray || left.kind == Expr::kObject) CheckPatternTargets(targetsBefore);
    Take();
    const size_t patternEnd = targets_.size();
    const Expr right = ParseAssignment(allowIn);
    if (right.coverInit) FailAt(right.coverInitOffset, "invalid shorthand property initialiser");
    if (left.use != kNoUse && !left.parenthesized && right.anonymousFunction) {
      scopes_.NameFunction(left.use, right.nameSlot, context_.strict);
    }
    Expr e;
    e.kind = Expr::kAssign;
    e.token = left.kind == Expr::kName ? left.token : 0;
    e.name = left.kind == Expr::kName ? left.name : -1;
    e.pattern = left.kind == Expr::kArray || left.kind == Expr::kObject;
    e.memberTarget = left.kind == Expr::kMember;
    e.targetsEnd = patternEnd;
    return e;
  }
  const bool compound = (op >= kPlusAssign && op <= kBitXorAssign) || op == kSlashAssign ||
                        op == kCoalesceAssign || op == kExponentAssign || op == kAndAssign ||
                        op == kOrAssign;
  if (!compound) return left;
  if (left.kind == Expr::kCall && (op == kCoalesceAssign || op == kAndAssign || op == kOrAssign)) {
    FailAt(offset, "invalid assignment target");
  }
  CheckSimpleTarget(left, offset);
  Take();
  const Expr right = ParseAssignment(allowIn);
  if (right.coverInit) FailAt(right.coverInitOffset, "invalid shorthand property initialiser");
  // a ||= function () {} names the function too
  const bool logical = op == kCoalesceAssign || op == kAndAssign || op == kOrAssign;
  if (logical && left.use != kNoUse && !left.parenthesized && right.anonymousFunction) {
    scopes_.NameFunction(left.use, right.nameSlot, context_.strict);
  }
  return Expr{};
}

template <typename Unit>
Expr Parser<Unit>::ParseYield(bool allowIn) {
  if (Cur().Has(kEscapedName)) Fail("yield cannot be written with escapes");
  ++yieldsAndAwaits_;
  Take(kPropertyName);
  // yield ends at a line break: yield\nx is yield; x
  if (Cur().newLineBefore) return Expr{};
  if (IsP(kStar)) {
    Take();
    ParseAssignment(allowIn);
    return Expr{};
  }
  const Lexeme& l = Cur();
  const bool ends = l.kind == kEndOfInput ||
                    (l.kind == Punctuator &&
                     (l.value == kCloseParen || l.value == kCloseBracket || l.value == kCloseBrace ||
                      l.value == kComma || l.value == kSemicolon || l.value == kColon ||
                      l.value == kQuestion || l.value == kArrow)) ||
                    (l.kind == Keyword && l.value == kIn) ||
                    (l.kind == Template && false);
  if (!ends) ParseAssignment(allowIn);
  return Expr{};
}

template <typename Unit>
Expr Parser<Unit>::ParseConditional(bool allowIn) {
  Expr e = ParseBinary(0, allowIn);
  if (!IsP(kQuestion) || e.kind == Expr::kArrow) return e;
  if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
  Take();
  ParseAssignment(true);
  Expect(kColon);
  ParseAssignment(allowIn);
  return Expr{};
}

namespace {

// The binding power of a binary operator; 0 when it is none.
int Precedence(const Lexeme& l, bool allowIn) {
  if (l.kind == Keyword) {
    if (l.value == kInstanceof) return 9;
    if (l.value == kIn) return allowIn ? 9 : 0;
    return 0;
  }
  if (l.kind != Punctuator) return 0;
  switch (l.value) {
    case kCoalesce: return 1;
    case kOr: return 2;
    case kAnd: return 3;
    case kBitOr: return 4;
    case kBitXor: return 5;
    case kBitAnd: return 6;
    case kEqual: case kNotEqual: case kStrictEqual: case kStrictNotEqual: return 7 + 1;
    case kLess: case kGreater: case kLessEqual: case kGreaterEqual: return 9;
    case kShiftLeft: case kShiftRight: case kShiftRightUnsigned: return 10;
    case kPlus: case kMinus: return 11;
    case kStar: case kSlash: case kPercent: return 12;
    case kExponent: return 13;
    default: return 0;
  }
}

}  // namespace

template <typename Unit>
Expr Parser<Unit>::ParseBinary(int minPrecedence, bool allowIn) {
  Expr left;
  // #x in o
  if (Cur().kind == Identifier && Cur().Has(kPrivateName)) {
    const int32_t name = Cur().key;
    const size_t offset = Cur().begin;
    UsePrivate(name, offset, Take(kPropertyName), true);
    if (!IsK(kIn) || !allowIn || minPrecedence > 9) Unexpected();
    left.kind = Expr::kPrivateName;
  } else {
    left = ParseUnary();
  }
  for (;;) {
    const int precedence = Precedence(Cur(), allowIn);
    if (precedence == 0 || precedence < minPrecedence || left.kind == Expr::kArrow) break;
    if (left.kind == Expr::kPrivateName && !IsK(kIn)) Unexpected();
    const int32_t op = Cur().kind == Punctuator ? Cur().value : -1;
    if (op == kExponent && left.unary) Fail("a unary expression before ** needs parentheses");
    if (left.coverInit) FailAt(left.coverInitOffset, "invalid shorthand property initialiser");
    Take();
    // ** groups to the right; the others to the left.
    const Expr right = ParseBinary(op == kExponent ? precedence : precedence + 1, allowIn);
    if (right.coverInit) FailAt(right.coverInitOffset, "invalid shorthand property initialiser");
    if (right.kind == Expr::kPrivateName) Unexpected();
    if (right.kind == Expr::kArrow) Fail("an arrow function needs parentheses here");
    uint8_t logical = 0;
    if (op == kCoalesce) {
      if (left.logical == 1 || right.logical == 1) Fail("?? cannot be mixed with && or || without parentheses");
      logical = 2;
    } else if (op == kAnd || op == kOr) {
      if (left.logical == 2 || right.logical == 2) Fail("?? cannot be mixed with && or || without parentheses");
      logical = 1;
    }
    left = Expr{};
    left.logical = logical;
  }
  if (left.kind == Expr::kPrivateName) Unexpected();
  return left;
}

template <typename Unit>
Expr Parser<Unit>::ParseUnary() {
  Depth depth(*this);
  const Lexeme& l = Cur();
  if (l.kind == Keyword && (l.value == kDelete || l.value == kVoid || l.value == kTypeof)) {
    const bool isDelete = l.value == kDelete;
    Take();
    const size_t offset = Cur().begin;
    const Expr operand = ParseUnary();
    if (isDelete && context_.strict && operand.kind == Expr::kName && operand.name >= 0) {
      FailAt(offset, "deleting a plain name is not allowed in strict code");
    }
    if (isDelete && operand.privateMember) FailAt(offset, "private fields cannot be deleted");
    Expr e;
    e.unary = true;
    return e;
  }
  if (l.kind == Punctuator && (l.value == kPlus || l.value == kMinus || l.value == kNot ||
                               l.value == kTilde)) {
    Take();
    ParseUnary();
    Expr e;
    e.unary = true;
    return e;
  }
  if (IsWord("await") && (context_.await || (context_.module && !context_.functionBody))) {
    if (context_.inParameters) Fail("await is not allowed in parameters");
    if (Cur().Has(kEscapedName)) Fail("await cannot be written with escapes");
    ++yieldsAndAwaits_;
    Take(kPropertyName);
    ParseUnary();
    Expr e;
    e.unary = true;
    return e;
  }
  return ParseUpdate();
}

template <typename Unit>
Expr Parser<Unit>::ParseUpdate() {
  if (IsP(kIncrement) || IsP(kDecrement)) {
    Take();
    const size_t offset = Cur().begin;
    const Expr operand = ParseUnary();
    if (operand.unary) FailAt(offset, "invalid increment or decrement target");
    CheckSimpleTarget(operand, offset);
    return Expr{};
  }
  const size_t offset = Cur().begin;
  Expr e = ParseLeftHandSide();
  // x\n++y is x; ++y
  if ((IsP(kIncrement) || IsP(kDecrement)) && !Cur().newLineBefore && e.kind != Expr::kArrow) {
    CheckSimpleTarget(e, offset);
    Take();
    return Expr{};
  }
  return e;
}

template <typename Unit>
Expr Parser<Unit>::ParseLeftHandSide() {
  Expr e;
  if (IsK(kNew)) {
    e = ParseNew();
  } else if (IsK(kSuper)) {
    e = ParseSuper();
  } else if (IsK(kImport)) {
    e = ParseImportExpression();
  } else {
    e = ParsePrimary();
  }
  if (e.kind == Expr::kArrow) return e;
  return ParseMemberTail(e, true);
}

template <typename Unit>
void Parser<Unit>::ParseArguments() {
  Expect(kOpenParen);
  while (!IsP(kCloseParen)) {
    if (IsP(kEllipsis)) Take();
    const size_t mark = targets_.size();
    const Expr e = ParseAssignment(true);
    targets_.resize(mark);
    if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
    if (!IsP(kCloseParen)) Expect(kComma);
  }
  Take();
}

// The #x of o.#x: a call o.#x() reads no value of its own.
template <typename Unit>
void Parser<Unit>::TakePrivateMember(bool allowCalls) {
  const int32_t name = Cur().key;
  const size_t offset = Cur().begin;
  const uint32_t token = Take(kPropertyName);
  UsePrivate(name, offset, token, allowCalls && IsP(kOpenParen));
}

// Member accesses, calls, optional chains and tagged templates after `e`.
template <typename Unit>
Expr Parser<Unit>::ParseMemberTail(Expr e, bool allowCalls) {
  bool optional = false;
  for (;;) {
    if (IsP(kDot)) {
      Take();
      if (Cur().kind == Identifier && Cur().Has(kPrivateName)) {
        TakePrivateMember(allowCalls);
        e = Expr{};
        e.kind = Expr::kMember;
        e.privateMember = true;
        continue;
      }
      if (!(Cur().kind == Identifier || Cur().kind == Keyword ||
            (Cur().kind == Literal && !Cur().Has(kStringLiteral) && IsLiteralWord(literals_.Text(Cur().value))))) {
        Unexpected();
      }
      TakeAsName(kPropertyName);
      e = Expr{};
      e.kind = Expr::kMember;
    } else if (IsP(kQuestionDot)) {
      if (!allowCalls) Fail("an optional chain cannot follow new");
      Take();
      optional = true;
      if (IsP(kOpenParen)) {
        if (e.use != kNoUse) scopes_.MarkCalled(e.use);
        ParseArguments();
      } else if (IsP(kOpenBracket)) {
        Take();
        ParseExpression(true);
        Expect(kCloseBracket);
      } else if (Cur().kind == Identifier && Cur().Has(kPrivateName)) {
        TakePrivateMember(true);
      } else if (Cur().kind == Template) {
        Fail("a tagged template cannot be part of an optional chain");
      } else {
        if (!(Cur().kind == Identifier || Cur().kind == Keyword || Cur().kind == Literal)) Unexpected();
        if (Cur().kind == Literal && (Cur().Has(kStringLiteral) || !IsLiteralWord(literals_.Text(Cur().value)))) Unexpected();
        TakeAsName(kPropertyName);
      }
      e = Expr{};
      e.kind = Expr::kOptional;
    } else if (IsP(kOpenBracket)) {
      Take();
      const size_t mark = targets_.size();
      const Expr key = ParseExpression(true);
      targets_.resize(mark);
      if (key.coverInit) FailAt(key.coverInitOffset, "invalid shorthand property initialiser");
      Expect(kCloseBracket);
      const bool wasOptional = e.kind == Expr::kOptional;
      e = Expr{};
      e.kind = wasOptional ? Expr::kOptional : Expr::kMember;
    } else if (IsP(kOpenParen) && allowCalls) {
      if (e.use != kNoUse) scopes_.MarkCalled(e.use);
      const bool isEval = e.kind == Expr::kName && Named(e.name, u"eval") && !e.parenthesized;
      // require("./x") names a module, which bundlers read as written.
      const bool isRequire = e.kind == Expr::kName && Named(e.name, u"require") && !e.parenthesized;
      const size_t firstArgument = tokens_.Size() + 1;
      ParseArguments();
      if (isRequire && tokens_.Size() == firstArgument + 2 &&
          tokens_[firstArgument].kind == Literal && tokens_[firstArgument + 1].IsPunct(kCloseParen)) {
        const std::u16string_view text = literals_.Text(tokens_[firstArgument].value);
        if (!text.empty() && (text[0] == u'"' || text[0] == u'\'')) tokens_[firstArgument].flags |= kKeepLiteral;
      }
      if (isEval) {
        scopes_.MarkDynamic();
        for (PrivateScope& scope : privateScopes_) scope.dynamic = true;
      }
      const bool wasOptional = e.kind == Expr::kOptional;
      e = Expr{};
      e.kind = wasOptional ? Expr::kOptional : Expr::kCall;
    } else if (Cur().kind == Template) {
      if (optional) Fail("a tagged template cannot be part of an optional chain");
      ParseTemplate(true);
      e = Expr{};  // a call, but never a target
    } else {
      break;
    }
    if (optional && e.kind != Expr::kOptional) e.kind = Expr::kOptional;
  }
  if (e.kind == Expr::kOptional && (IsP(kAssign) || IsP(kIncrement) || IsP(kDecrement))) {
    if (!Cur().newLineBefore || IsP(kAssign)) Fail("an optional chain cannot be assigned to");
  }
  return e;
}

template <typename Unit>
Expr Parser<Unit>::ParseNew() {
  Depth depth(*this);
  Take();
  if (IsP(kDot)) {
    Take();
    if (!IsWord("target")) Fail("expected new.target");
    if (!context_.newTarget) Fail("new.target is only allowed in functions");
    Take(kPropertyName);
    Expr e;
    e.kind = Expr::kOther;
    return e;
  }
  Expr callee;
  if (IsK(kNew)) {
    callee = ParseNew();
  } else if (IsK(kSuper)) {
    callee = ParseSuper();
    if (callee.kind == Expr::kSuper) Fail("super() cannot follow new");
  } else if (IsK(kImport)) {
    const Lexeme next = lex_.Peek();
    if (next.IsPunct(kOpenParen)) Fail("import() cannot follow new");
    callee = ParseImportExpression();
  } else {
    callee = ParsePrimary();
    if (callee.kind == Expr::kArrow) Fail("an arrow function cannot follow new");
  }
  callee = ParseMemberTail(callee, false);
  if (IsP(kOpenParen)) ParseArguments();
  Expr e;
  e.kind = Expr::kOther;
  return e;
}

template <typename Unit>
Expr Parser<Unit>::ParseSuper() {
  Take();
  if (IsP(kOpenParen)) {
    if (!context_.superCall) Fail("super() is only allowed in the constructor of a derived class");
    ParseArguments();
    Expr e;
    e.kind = Expr::kCall;
    return e;
  }
  if (!context_.superProperty) Fail("super is only allowed in methods");
  if (IsP(kDot)) {
    Take();
    if (Cur().kind == Identifier && Cur().Has(kPrivateName)) Unexpected();
    if (!(Cur().kind == Identifier || Cur().kind == Keyword || Cur().kind == Literal)) Unexpected();
    TakeAsName(kPropertyName);
  } else if (IsP(kOpenBracket)) {
    Take();
    ParseExpression(true);
    Expect(kCloseBracket);
  } else {
    Unexpected();
  }
  Expr e;
  e.kind = Expr::kMember;
  return e;
}

// import(x), import(x, options), import.meta
template <typename Unit>
Expr Parser<Unit>::ParseImportExpression() {
  Take();
  if (IsP(kDot)) {
    Take();
    if (IsWord("meta")) {
      if (!context_.module) FailNeedsModule("import.meta is only allowed in modules");
      Take(kPropertyName);
      Expr e;
      e.kind = Expr::kOther;
      return e;
    }
    if (IsWord("source") || IsWord("defer")) Fail("source and deferred imports are proposals, not yet part of the language");
    Fail("expected import.meta");
  }
  if (!IsP(kOpenParen)) Unexpected();
  Take();
  if (IsP(kCloseParen)) Fail("import() needs a module name");
  const auto keepIfString = [&]() {
    if (Cur().kind == Literal && Cur().Has(kStringLiteral)) {
      const Lexeme next = lex_.Peek();
      if (next.IsPunct(kCloseParen) || next.IsPunct(kComma)) {
        Take(kKeepLiteral);
        return true;
      }
    }
    return false;
  };
  if (!keepIfString()) {
    const size_t mark = targets_.size();
    ParseAssignment(true);
    targets_.resize(mark);
  }
  if (IsP(kComma)) {
    Take();
    if (!IsP(kCloseParen)) {
      const size_t mark = targets_.size();
      ParseAssignment(true);
      targets_.resize(mark);
      if (IsP(kComma)) Take();
    }
  }
  Expect(kCloseParen);
  return Expr{};  // never a target
}

template <typename Unit>
void Parser<Unit>::ParseTemplate(bool tagged) {
  for (;;) {
    if (Cur().Has(kBadEscape) && !tagged) Fail("invalid escape in template");
    const bool tail = Cur().Has(kTemplateTail);
    Take();
    if (tail) return;
    const size_t mark = targets_.size();
    const Expr e = ParseExpression(true);
    targets_.resize(mark);
    if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
    if (!IsP(kCloseBrace)) Fail("expected \"}\" to close the template substitution");
    lex_.RescanTemplateContinuation();
  }
}

template <typename Unit>
Expr Parser<Unit>::ParseIdentifierExpression() {
  const Lexeme l = Cur();
  CheckIdentifierReference(l);
  if (Named(l.key, u"await")) ++awaitNames_;
  const uint32_t token = Take();
  Refer(token, l.begin, l.key);
  Expr e;
  e.kind = Expr::kName;
  e.use = scopes_.UseCount() - 1;
  e.token = token;
  e.name = l.value;
  e.nameOffset = l.begin;
  return e;
}

template <typename Unit>
Expr Parser<Unit>::ParsePrimary() {
  const Lexeme& l = Cur();
  switch (l.kind) {
    case Identifier: {
      if (l.Has(kPrivateName)) Unexpected();
      if (IsWord("async")) {
        const Lexeme next = lex_.Peek();
        if (next.IsKeyword(kFunction) && !next.newLineBefore) {
          Take(kPropertyName);
          Take();
          uint8_t kind = kAsyncFunction;
          if (IsP(kStar)) {
            Take();
            kind |= kGeneratorFunction;
          }
          scopes_.Open(ScopeKind::Function);
          Expr e;
          e.anonymousFunction = !IsPlainName();
          if (e.anonymousFunction) e.nameSlot = NextIndex();
          if (IsPlainName()) {
            const Context saved = context_;
            context_.staticBlock = false;
            context_.await = true;
            context_.yield = (kind & kGeneratorFunction) != 0;
            const Lexeme name = Cur();
            CheckBindingName(name);
            context_ = saved;
            const uint32_t token = Take();
            Declare(token, name.begin, name.key, BindingKind::SelfName);
          }
          ParseFunctionRest(kind, static_cast<size_t>(-1), -1, false, false);
          scopes_.Close();
          return e;
        }
        if (next.IsPunct(kOpenParen) && !next.newLineBefore) {
          // async(...) is a call, or the parameters of an async arrow
          const size_t scopeMark = scopes_.ScopeCount();
          const size_t targetsMark = targets_.size();
          const Lexeme asyncWord = Cur();
          const uint32_t asyncToken = Take();
          Refer(asyncToken, asyncWord.begin, asyncWord.key);
          const size_t useMark = scopes_.UseCount();
          Take();
          bool trailingComma = false;
          bool valid = true;
          bool hasAwait = false;
          bool simpleList = true;
          const uint32_t yieldsAndAwaitsBefore = yieldsAndAwaits_;
          const uint32_t awaitNamesBefore = awaitNames_;
          while (!IsP(kCloseParen)) {
            const size_t elementMark = targets_.size();
            const bool awaitHere = IsWord("await");
            hasAwait = hasAwait || awaitHere;
            if (IsP(kEllipsis)) {
              Take();
              simpleList = false;
              const Expr rest = ParseAssignment(true);
              if (!KeepTarget(rest, elementMark) || rest.kind == Expr::kAssign) valid = false;
              if (!IsP(kCloseParen)) valid = false;
            } else {
              const Expr e = ParseAssignment(true);
              if (e.kind != Expr::kName || e.parenthesized) simpleList = false;
              if (!KeepTarget(e, elementMark)) valid = false;
            }
            trailingComma = false;
            if (!IsP(kCloseParen)) {
              Expect(kComma);
              trailingComma = true;
            }
          }
          Take();
          (void)trailingComma;
          if (IsP(kArrow) && !Cur().newLineBefore) {
            if (!valid) Fail("invalid arrow function parameters");
            if (hasAwait || awaitNames_ != awaitNamesBefore || yieldsAndAwaits_ != yieldsAndAwaitsBefore) {
              Fail("an async arrow function's parameters cannot hold await");
            }
            // the async word is the arrow's keyword, not a reference
            tokens_[asyncToken].flags |= kPropertyName;
            scopes_.ForgetUse(useMark - 1);
            return ParseArrowRest(kAsyncFunction | kArrowFunction, useMark - 1, scopeMark,
                                  targetsMark, simpleList, false);
          }
          targets_.resize(targetsMark);
          Expr e;
          e.kind = Expr::kCall;
          return e;
        }
      }
      if (IsWord("let") && context_.strict) Fail("let is reserved in strict code");
      return ParseIdentifierExpression();
    }
    case Keyword:
      switch (l.value) {
        case kThis: {
          Take();
          return Expr{};
        }
        case kFunction: {
          Take();
          uint8_t kind = kPlainFunction;
          if (IsP(kStar)) {
            Take();
            kind |= kGeneratorFunction;
          }
          scopes_.Open(ScopeKind::Function);
          size_t nameOffset = static_cast<size_t>(-1);
          bool evalOrArguments = false, reserved = false;
          const uint32_t nameSlot = NextIndex();
          if (IsPlainName()) {
            const Context saved = context_;
            context_.staticBlock = false;
            context_.yield = (kind & kGeneratorFunction) != 0;
            context_.await = false;
            const Lexeme name = Cur();
            CheckBindingName(name);
            context_ = saved;
            nameOffset = name.begin;
            evalOrArguments = IsEvalOrArguments(name.value);
            reserved = IsReservedInStrict(name);
            const uint32_t token = Take();
            Declare(token, name.begin, name.key, BindingKind::SelfName);
          }
          ParseFunctionRest(kind, nameOffset, -1, evalOrArguments, reserved);
          scopes_.Close();
          Expr e;
          e.anonymousFunction = nameOffset == static_cast<size_t>(-1);
          if (e.anonymousFunction) e.nameSlot = nameSlot;
          return e;
        }
        case kClass: {
          Expr e;
          e.anonymousFunction = lex_.Peek().kind != Identifier;
          if (e.anonymousFunction) e.nameSlot = NextIndex() + 1;
          ParseClass(false, false);
          return e;
        }
        default:
          Unexpected();
      }
    case Literal: {
      CheckLiteral();
      Expr e;
      if (IsGlobalNameLiteral(l)) {
        e.kind = Expr::kName;
        e.token = Take();
        return e;
      }
      if (l.Has(kStringLiteral)) {
        e.kind = Expr::kString;
        e.legacyOctalString = l.Has(kLegacyOctal);
      }
      e.token = Take();
      return e;
    }
    case Template:
      ParseTemplate(false);
      return Expr{};
    case Punctuator:
      switch (l.value) {
        case kOpenParen: return ParseParenthesized();
        case kOpenBracket: return ParseArrayLiteral();
        case kOpenBrace: return ParseObjectLiteral();
        case kSlash:
        case kSlashAssign:
          lex_.RescanRegExp();
          Take();
          return Expr{};
        default:
          Unexpected();
      }
    default:
      Unexpected();
  }
}

// Whether an element of a list or literal can stand in a pattern, keeping the
// names it makes targets of and dropping any its value used:
//   [a, b = f(c), [d], {e}]   -> a b d e     [f(a)] -> not a pattern
template <typename Unit>
bool Parser<Unit>::KeepTarget(const Expr& element, size_t elementMark) {
  switch (element.kind) {
    case Expr::kName:
      targets_.resize(elementMark);
      targets_.push_back(element.token);
      return !element.parenthesized;
    case Expr::kArray:
    case Expr::kObject:
      if (element.parenthesized || !element.pattern) {
        targets_.resize(elementMark);
        return false;
      }
      return true;
    case Expr::kAssign:
      if (element.parenthesized) {
        targets_.resize(elementMark);
        return false;
      }
      if (element.pattern) {
        targets_.resize(element.targetsEnd);
        return true;
      }
      targets_.resize(elementMark);
      if (element.name >= 0) {
        targets_.push_back(element.token);
        return true;
      }
      return element.memberTarget;
    default:
      targets_.resize(elementMark);
      return false;
  }
}

template <typename Unit>
Expr Parser<Unit>::ParseParenthesized() {
  const size_t useMark = scopes_.UseCount();
  const size_t scopeMark = scopes_.ScopeCount();
  const size_t targetsMark = targets_.size();
  const size_t openOffset = Cur().begin;
  Take();
  bool valid = true;        // every element can be a parameter
  bool onlyArrow = false;   // (), a trailing comma or a rest element
  bool simpleList = true;   // plain names only
  const uint32_t yieldsAndAwaitsBefore = yieldsAndAwaits_;
  int count = 0;
  Expr single;
  size_t yieldOrAwaitOffset = static_cast<size_t>(-1);
  while (!IsP(kCloseParen)) {
    const size_t elementMark = targets_.size();
    if ((IsWord("yield") || IsWord("await")) && yieldOrAwaitOffset == static_cast<size_t>(-1)) {
      yieldOrAwaitOffset = Cur().begin;
    }
    if (IsP(kEllipsis)) {
      Take();
      onlyArrow = true;
      simpleList = false;
      bool simple = true;
      if (IsP(kOpenBracket) || IsP(kOpenBrace)) {
        const Expr rest = ParsePrimary();
        if (!KeepTarget(rest, elementMark)) valid = false;
      } else {
        const Expr rest = ParseIdentifierExpression();
        if (!KeepTarget(rest, elementMark)) valid = false;
      }
      (void)simple;
      if (!IsP(kCloseParen)) Fail("a rest parameter must be last");
      ++count;
      break;
    }
    const Expr e = ParseAssignment(true);
    if (e.kind != Expr::kName || e.parenthesized) simpleList = false;
    if (!KeepTarget(e, elementMark)) valid = false;
    if (count == 0) single = e;
    ++count;
    if (!IsP(kCloseParen)) {
      Expect(kComma);
      if (IsP(kCloseParen)) onlyArrow = true;
    }
  }
  if (count == 0) onlyArrow = true;
  Take();
  if (IsP(kArrow)) {
    if (Cur().newLineBefore) Fail("a line break cannot come before =>");
    if (!valid) FailAt(openOffset, "invalid arrow function parameters");
    if (yieldOrAwaitOffset != static_cast<size_t>(-1) && (context_.yield || context_.await)) {
      FailAt(yieldOrAwaitOffset, "yield and await cannot be arrow parameters here");
    }
    if (yieldsAndAwaits_ != yieldsAndAwaitsBefore) {
      FailAt(openOffset, "an arrow function's parameters cannot hold yield or await");
    }
    return ParseArrowRest(kArrowFunction, useMark, scopeMark, targetsMark, simpleList, false);
  }
  if (onlyArrow) FailAt(openOffset, "expected \"=>\" after an arrow function's parameters");
  targets_.resize(targetsMark);
  if (count == 1) {
    Expr e = single;
    e.parenthesized = true;
    e.logical = 0;
    e.unary = false;
    if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
    if (e.kind == Expr::kAssign || e.kind == Expr::kArrow) e.kind = Expr::kOther;
    // (function () {}) is still a function without a name
    return e;
  }
  Expr e;
  e.parenthesized = true;
  return e;
}

// `=>` and the body of an arrow function whose parameters were read as an
// expression: their names become the parameters of a new function scope.
template <typename Unit>
Expr Parser<Unit>::ParseArrowRest(uint8_t kind, size_t useMark, size_t scopeMark,
                                  size_t targetsMark, bool simpleList, bool) {
  // Every name in the list must be a valid parameter name.
  for (size_t k = targetsMark; k < targets_.size(); ++k) {
    const Token& t = tokens_[targets_[k]];
    if (context_.strict && IsEvalOrArguments(t.value)) {
      Fail("eval and arguments cannot be parameters in strict code");
    }
    const std::u16string_view text = identifiers_.Text(t.value);
    if ((kind & kAsyncFunction) && text == u"await") Fail("await cannot be a parameter name of an async function");
  }
  const int32_t outer = scopes_.Current();
  scopeError_ = ScopeError{};
  scopes_.MakeArrowScope(useMark, scopeMark, targets_.data() + targetsMark,
                         targets_.size() - targetsMark, context_.strict, scopeError_);
  if (scopeError_.found) FailAt(scopeError_.offset, scopeError_.message);
  // a parameter list with defaults or patterns
  bool simple = simpleList;
  for (size_t i = useMark; i < scopes_.UseCount(); ++i) {
    if (!scopes_.Uses()[i].declares && scopes_.Uses()[i].scope == scopes_.Current()) simple = false;
  }
  if (!simple) scopes_.MarkParameterExpressions();
  std::vector<std::pair<int32_t, size_t>> names;
  for (size_t k = targetsMark; k < targets_.size(); ++k) {
    names.emplace_back(tokens_[targets_[k]].value, 0);
  }
  targets_.resize(targetsMark);
  Take();  // =>
  const Context saved = context_;
  std::vector<Label> savedLabels;
  savedLabels.swap(labels_);
  const int32_t savedLoops = loops_, savedSwitches = switches_;
  loops_ = switches_ = 0;
  context_.await = (kind & kAsyncFunction) != 0 || (context_.module && !context_.functionBody && false);
  if (kind & kAsyncFunction) context_.await = true;
  context_.yield = false;
  context_.returnOk = true;
  context_.inParameters = false;
  context_.staticBlock = false;
  if (IsP(kOpenBrace)) {
    context_.functionBody = true;
    bool strictParams = true;
    (void)strictParams;
    ParseFunctionBody(kind, simple, names);
  } else {
    context_.functionBody = saved.functionBody;
    const size_t mark = targets_.size();
    const Expr body = ParseAssignment(true);
    targets_.resize(mark);
    if (body.coverInit) FailAt(body.coverInitOffset, "invalid shorthand property initialiser");
  }
  context_ = saved;
  labels_.swap(savedLabels);
  loops_ = savedLoops;
  switches_ = savedSwitches;
  scopes_.SetCurrent(outer);
  Expr e;
  e.kind = Expr::kArrow;
  e.anonymousFunction = true;
  return e;
}

template <typename Unit>
Expr Parser<Unit>::ParseArrayLiteral() {
  Depth depth(*this);
  Take();
  Expr result;
  result.kind = Expr::kArray;
  result.pattern = true;
  while (!IsP(kCloseBracket)) {
    if (IsP(kComma)) {
      Take();
      continue;
    }
    const size_t elementMark = targets_.size();
    if (IsP(kEllipsis)) {
      Take();
      const Expr e = ParseAssignment(true);
      if (e.coverInit) {
        result.coverInit = true;
        result.coverInitOffset = e.coverInitOffset;
      }
      if (!KeepTarget(e, elementMark) || e.kind == Expr::kAssign) {
        if (!(e.kind == Expr::kMember)) result.pattern = false;
      }
      if (!IsP(kCloseBracket)) {
        result.pattern = false;
        Expect(kComma);
      }
      continue;
    }
    const Expr e = ParseAssignment(true);
    if (e.coverInit && !result.coverInit) {
      result.coverInit = true;
      result.coverInitOffset = e.coverInitOffset;
    }
    if (!KeepTarget(e, elementMark) && !(e.kind == Expr::kMember && !e.parenthesized) &&
        !(e.kind == Expr::kName)) {
      result.pattern = false;
    }
    if (e.kind == Expr::kName && e.parenthesized) {
      // ([(a)] = x) is allowed; (([a]) = x) is not: a parenthesised name is a simple target
    }
    if (!IsP(kCloseBracket)) Expect(kComma);
  }
  Take();
  return result;
}

// A property name: a name, keyword, string, number or [computed]; private
// names in classes. `plainName` is the identifier of a plain name, else -1.
template <typename Unit>
void Parser<Unit>::ParsePropertyName(bool& computed, int32_t& plainName, bool& isConstructorName,
                                     bool classMember, bool& isPrivate) {
  computed = false;
  plainName = -1;
  isConstructorName = false;
  isPrivate = false;
  const Lexeme l = Cur();
  if (l.kind == Identifier && l.Has(kPrivateName)) {
    if (!classMember) Unexpected();
    isPrivate = true;
    plainName = l.key;
    Take(kPropertyName);
    return;
  }
  if (l.kind == Identifier || l.kind == Keyword) {
    const uint32_t token = TakeAsName(kPropertyName);
    plainName = tokens_[token].value;
    isConstructorName = identifiers_.Text(plainName) == u"constructor";
    return;
  }
  if (l.kind == Literal) {
    CheckLiteral();
    if (l.Has(kStringLiteral)) {
      const std::u16string_view text = literals_.Text(l.value);
      isConstructorName = text.size() == 13 && text.substr(1, 11) == u"constructor";
      Take(kKeepLiteral);
    } else {
      TakeAsName(kPropertyName);
    }
    return;
  }
  if (IsP(kOpenBracket)) {
    computed = true;
    Take();
    const size_t mark = targets_.size();
    const Expr e = ParseAssignment(true);
    targets_.resize(mark);
    if (e.coverInit) FailAt(e.coverInitOffset, "invalid shorthand property initialiser");
    Expect(kCloseBracket);
    return;
  }
  Unexpected();
}

template <typename Unit>
Expr Parser<Unit>::ParseObjectLiteral() {
  Depth depth(*this);
  Take();
  Expr result;
  result.kind = Expr::kObject;
  result.pattern = true;
  bool sawProto = false;
  while (!IsP(kCloseBrace)) {
    const size_t elementMark = targets_.size();
    if (IsP(kEllipsis)) {
      Take();
      const Expr e = ParseAssignment(true);
      if (e.coverInit && !result.coverInit) {
        result.coverInit = true;
        result.coverInitOffset = e.coverInitOffset;
      }
      if (e.kind == Expr::kName && !e.parenthesized) {
        targets_.resize(elementMark);
        targets_.push_back(e.token);
      } else {
        targets_.resize(elementMark);
        if (!(e.kind == Expr::kMember)) result.pattern = false;
      }
      if (!IsP(kCloseBrace)) {
        result.pattern = false;
        Expect(kComma);
      }
      continue;
    }
    bool accessor = false;
    const uint8_t kind = ParseMethodHead(false, accessor);
    const Lexeme key = Cur();
    // {a}  {a = 1}: a shorthand, both key and variable
    if (kind == kMethod && key.kind == Identifier && !key.Has(kPrivateName)) {
      const Lexeme next = lex_.Peek();
      if (next.IsPunct(kComma) || next.IsPunct(kCloseBrace) || next.IsPunct(kAssign)) {
        CheckIdentifierReference(key);
        if (key.Has(kEscapedKeyword)) Fail("a keyword cannot be written with escapes");
        const uint32_t token = Take(kShorthand);
        Refer(token, key.begin, key.key);
        const size_t use = scopes_.UseCount() - 1;
        targets_.resize(elementMark);
        targets_.push_back(token);
        if (IsP(kAssign)) {
          if (!result.coverInit) {
            result.coverInit = true;
            result.coverInitOffset = Cur().begin;
          }
          Take();
          const size_t mark = targets_.size();
          const Expr value = ParseAssignment(true);
          if (value.anonymousFunction) scopes_.NameFunction(use, value.nameSlot, context_.strict);
          targets_.resize(mark);
        }
        if (!IsP(kCloseBrace)) Expect(kComma);
        continue;
      }
    }
    bool computed = false, ctorName = false, isPrivate = false;
    int32_t plain = -1;
    const bool stringKey = key.kind == Literal && key.Has(kStringLiteral);
    ParsePropertyName(computed, plain, ctorName, false, isPrivate);
    if (IsP(kOpenParen)) {
      result.pattern = false;
      targets_.resize(elementMark);
      ParseMethod(kind);
    } else {
      if (kind != kMethod) Unexpected();
      Expect(kColon);
      // __proto__ may be set once
      bool isProto = false;
      if (!computed) {
        if (plain >= 0 && identifiers_.Text(plain) == u"__proto__") isProto = true;
        if (stringKey) {
          const std::u16string_view text = literals_.Text(key.value);
          if (text.size() == 11 && text.substr(1, 9) == u"__proto__") isProto = true;
        }
      }
      if (isProto) {
        if (sawProto && !result.coverInit) {
          // a second __proto__ is an error unless the literal is a pattern
          result.coverInit = true;
          result.coverInitOffset = key.begin;
        }
        sawProto = true;
      }
      const size_t valueMark = targets_.size();
      const Expr value = ParseAssignment(true);
      if (value.coverInit && !result.coverInit) {
        result.coverInit = true;
        result.coverInitOffset = value.coverInitOffset;
      }
      if (!KeepTarget(value, valueMark) && !(value.kind == Expr::kMember && !value.parenthesized) &&
          !(value.kind == Expr::kName)) {
        result.pattern = false;
      }
    }
    if (!IsP(kCloseBrace)) Expect(kComma);
  }
  Take();
  return result;
}

}  // namespace

template <typename Unit>
void ParseSource(Lexer<Unit>& lexer, TokenList& tokens, Scopes& scopes, const ParseOptions& options) {
  Parser<Unit> parser(lexer, tokens, scopes, options);
  parser.ParseProgram();
}

template void ParseSource(Lexer<char16_t>&, TokenList&, Scopes&, const ParseOptions&);
template void ParseSource(Lexer<uint8_t>&, TokenList&, Scopes&, const ParseOptions&);

}  // namespace pack
