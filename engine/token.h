// The token record and the token list that every stage after the scanner works on.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace pack {

// The numbers are fixed: the emitter indexes its separator table with them,
// and 3 belongs to no kind.
enum TokenKind : int32_t {
  Punctuator = 0,
  Keyword = 1,
  Identifier = 2,
  Literal = 4,
  RegExp = 5,
};

// What the scanner knows about a token's context, so that later stages need not
// parse: `{` and `}` of object literals, the `)` that closes a control header,
// and a token standing where an object literal's property name goes.
enum TokenFlag : uint8_t {
  kObjectBrace = 1,       // `{` opening or `}` closing an object literal
  kHeaderClose = 2,       // `)` closing the header of if/while/for/with/switch
  kKeyPosition = 4,       // right after the `{` or a `,` directly inside an object literal
  kAfterDot = 8,          // right after a `.`: a property name
  kParamsClose = 16,      // `)` closing the parameters of a function, accessor or catch
  kFunctionValue = 32,    // `}` closing the body of a function expression
  kValueColon = 64,       // `:` of a ternary or an object key, not of a label or case
  kKeywordName = 128,     // a keyword spelling scanned as a name: {default: 1}, {get if() {}}
};

// Sixteen bytes: every stage walks the whole list, several times.
struct Token {
  int32_t value;     // code, or index into the text table of the kind; -1: no text
  int32_t line;      // 1-based line of the token's last character; -1 when inserted
  int32_t source;    // the source index given to AddSource; -1 when inserted
  int8_t kind;       // a TokenKind
  uint8_t newLine;   // 1 when a line break or a source start lies before the token
  uint8_t flags;     // TokenFlag bits

  bool Is(TokenKind k, int32_t v) const { return kind == k && value == v; }
  bool IsPunct(int32_t code) const { return kind == Punctuator && value == code; }
  bool IsKeyword(int32_t code) const { return kind == Keyword && value == code; }
  bool Has(TokenFlag f) const { return (flags & f) != 0; }
};

static_assert(sizeof(Token) == 16, "a token stays sixteen bytes");

// Makes room for tokens without writing it: a list grows by whole ranges that
// are written right after.
template <typename T>
struct UninitializedRoom : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedRoom<U>;
  };
  UninitializedRoom() = default;
  template <typename U>
  UninitializedRoom(const UninitializedRoom<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// A position in a TokenList: the index of a token, or Size() for the end.
using TokenIterator = size_t;

// Ordered tokens of one packer object. The scanner appends; the semicolon passes
// insert ";" tokens in batches (positions collected during a pass are merged when
// it ends, which keeps every pass linear); the stages re-point values in place.
class TokenList {
 public:
  size_t Size() const { return tokens_.size(); }
  bool Empty() const { return tokens_.empty(); }
  Token& operator[](size_t i) { return tokens_[i]; }
  const Token& operator[](size_t i) const { return tokens_[i]; }
  const Token* Last() const { return tokens_.empty() ? nullptr : &tokens_.back(); }
  Token* Last() { return tokens_.empty() ? nullptr : &tokens_.back(); }

  void Append(const Token& t) {
    tokens_.push_back(t);
    matchesValid_ = false;
  }
  // Appends the tokens of `from` at positions [first, stop), as they are.
  void AppendCopies(const TokenList& from, size_t first, size_t stop) {
    tokens_.insert(tokens_.end(), from.tokens_.begin() + static_cast<std::ptrdiff_t>(first),
                   from.tokens_.begin() + static_cast<std::ptrdiff_t>(stop));
    matchesValid_ = false;
  }
  // Makes room for `n` tokens; growth stays geometric over many sources.
  void Reserve(size_t n);
  // Adds `n` tokens left unwritten, for the caller to write before anything
  // reads them; returns the index of the first.
  size_t AppendUnwritten(size_t n) {
    const size_t first = tokens_.size();
    tokens_.resize(first + n);
    matchesValid_ = false;
    return first;
  }

  // Drops every token from position `n` on.
  void Truncate(size_t n) {
    if (n < tokens_.size()) tokens_.resize(n);
    matchesValid_ = false;
  }

  // Inserts `token` before each position in `before` (ascending, duplicates
  // ignored). Positions refer to the list as it was before the call.
  void InsertBefore(const std::vector<size_t>& before, const Token& token);

  // For an opener ( `{` `(` `[` ), the index of its closer, or Size() when it is
  // never closed. A closer closes the innermost open group of its own kind only
  // when that group is the innermost open one; a stray closer is an ordinary token.
  const std::vector<uint32_t>& Matches() const;

  // The matches found by a walk over the list that has other work to do at
  // each token: See(i) for every index in order, then Finish(), after which
  // Matches() gives them without walking again. A long list may be walked in
  // two parts at once: a walk of the later part, made with `kLaterPart` after
  // the walk of the earlier one, keeps the closers it cannot match itself, and
  // the earlier walk takes them over with Join once both parts are seen.
  class MatchWalk {
   public:
    enum Part { kWhole, kLaterPart };
    explicit MatchWalk(const TokenList& tokens, Part part = kWhole);
    void See(size_t i) {
      const Token& t = tokens_.tokens_[i];
      // `{` `}` `(` `)` `[` `]` are codes 0 to 5, each closer its opener's plus one.
      if (t.kind != Punctuator || t.value < 0 || t.value > 5) return;
      if (t.value % 2 == 0) {
        open_.push_back(static_cast<uint32_t>(i));
      } else if (!open_.empty()) {
        Close(static_cast<uint32_t>(i));
      } else if (part_ == kLaterPart) {
        unmatched_.push_back(static_cast<uint32_t>(i));  // it may close a group of the earlier part
      }
    }
    // Matches the closers that `later` left to the groups still open here, as
    // one walk over both parts would have, and takes over its open groups.
    void Join(const MatchWalk& later);
    void Finish() { tokens_.matchesValid_ = true; }

   private:
    // A closer closes the innermost open group if it is of its kind; else it is stray.
    void Close(uint32_t i) {
      if (tokens_.tokens_[open_.back()].value + 1 != tokens_.tokens_[i].value) return;
      tokens_.matches_[open_.back()] = i;
      open_.pop_back();
    }

    const TokenList& tokens_;
    const Part part_;
    std::vector<uint32_t> open_;       // indices of open groups, innermost last
    std::vector<uint32_t> unmatched_;  // closers of a later part with no group open in it
  };

 private:
  std::vector<Token, UninitializedRoom<Token>> tokens_;
  mutable std::vector<uint32_t> matches_;
  mutable bool matchesValid_ = false;
};

}  // namespace pack
