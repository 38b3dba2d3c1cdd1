#include "context_rules.h"

#include "text_tables.h"
#include "vocabulary.h"

namespace pack {

bool BraceOpensObject(const Token* prev) {
  if (prev == nullptr) return false;
  if (prev->kind == Keyword) {
    switch (prev->value) {
      case kReturn: case kTypeof: case kIn: case kInstanceof: case kNew:
      case kDelete: case kVoid: case kThrow: case kCase:
        return true;
      default:
        return false;
    }
  }
  if (prev->kind != Punctuator) return false;
  switch (prev->value) {
    case kColon:
      return prev->Has(kValueColon);
    case kCloseParen: case kCloseBracket: case kOpenBrace: case kCloseBrace:
    case kSemicolon: case kDot: case kIncrement: case kDecrement:
      return false;
    default:
      return true;  // ( [ , = : ? and every operator
  }
}

bool SlashStartsRegExp(const Token* prev) {
  if (prev == nullptr) return true;
  switch (prev->kind) {
    case Identifier:
    case Literal:
    case RegExp:
      return false;
    case Keyword:
      return prev->value != kThis;
    case Punctuator:
      switch (prev->value) {
        case kCloseParen: return prev->Has(kHeaderClose);
        case kCloseBracket: case kIncrement: case kDecrement: return false;
        case kCloseBrace: return !prev->Has(kObjectBrace) && !prev->Has(kFunctionValue);
        default: return true;
      }
    default:
      return true;
  }
}

bool ParenOpensHeader(const Token* prev) {
  return prev != nullptr && prev->kind == Keyword &&
         (prev->value == kIf || prev->value == kWhile || prev->value == kFor ||
          prev->value == kWith || prev->value == kSwitch);
}

}  // namespace pack

namespace pack {

bool IsAccessorWord(const Token& t, const TextTable& identifiers) {
  if (t.kind != Identifier || !t.Has(kKeyPosition)) return false;
  const std::u16string_view text = identifiers.Text(t.value);
  return text == u"get" || text == u"set";
}

bool IsAccessorWord(const Token& t) { return IsAccessorWord(t, IdentifierTable()); }

bool IsAccessorPrefix(const TokenList& tokens, size_t i) {
  if (i + 2 >= tokens.Size()) return false;
  const Token& name = tokens[i + 1];
  if (name.kind != Identifier && name.kind != Literal) return false;
  return tokens[i + 2].IsPunct(kOpenParen) && IsAccessorWord(tokens[i]);
}

}  // namespace pack
