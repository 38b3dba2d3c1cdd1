// The fixed vocabulary of the scanner: punctuators, keywords and literal words.
// A token's code is the position of its text in these tables, so their order is
// part of the token format: the semicolon passes, the emitter and the stages test
// tokens by these numbers.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pack {

// Punctuators, longest four characters. 49 and 50 are the quote characters: they
// make quotes delimiters and start string scanning; no token carries them.
inline constexpr std::array<std::u16string_view, 51> PunctuatorTable = {
    u"{",  u"}",   u"(",   u")",    u"[",  u"]",  u".",  u";",   u",",   //  0 ..  8
    u"<",  u">",   u"<=",  u">=",   u"==", u"!=", u"===", u"!==",        //  9 .. 16
    u"+",  u"-",   u"*",   u"%",    u"++", u"--", u"<<", u">>",  u">>>", // 17 .. 25
    u"&",  u"|",   u"^",   u"!",    u"~",  u"&&", u"||", u"?",   u":",   // 26 .. 34
    u"=",  u"+=",  u"-=",  u"*=",   u"%=", u"<<=", u">>=", u">>>=",      // 35 .. 42
    u"&=", u"|=",  u"^=",                                                // 43 .. 45
    u"/",  u"/=",  u"->",  u"'",    u"\"",                               // 46 .. 50
};

// Keywords in alphabetical order.
inline constexpr std::array<std::u16string_view, 25> KeywordTable = {
    u"break",  u"case",   u"catch", u"continue", u"default", u"delete", u"do",
    u"else",   u"finally", u"for",  u"function", u"if",      u"in",     u"instanceof",
    u"new",    u"return", u"switch", u"this",    u"throw",   u"try",    u"typeof",
    u"var",    u"void",   u"while", u"with",
};

// Words scanned as Literal tokens instead of identifiers, tested in this order.
inline constexpr std::array<std::u16string_view, 6> LiteralWords = {
    u"true", u"false", u"null", u"NaN", u"Infinity", u"undefined",
};

// Punctuator codes that rules test by number.
enum Punct : int32_t {
  kOpenBrace = 0, kCloseBrace = 1, kOpenParen = 2, kCloseParen = 3,
  kOpenBracket = 4, kCloseBracket = 5, kDot = 6, kSemicolon = 7, kComma = 8,
  kLess = 9, kGreater = 10, kPlus = 17, kMinus = 18, kIncrement = 21, kDecrement = 22,
  kNot = 29, kTilde = 30, kQuestion = 33, kColon = 34, kAssign = 35,
  kSlash = 46, kSlashAssign = 47, kArrow = 48, kSingleQuote = 49, kDoubleQuote = 50,
};

// Keyword codes that rules test by number.
enum Kw : int32_t {
  kBreak = 0, kCase = 1, kCatch = 2, kContinue = 3, kDefault = 4, kDelete = 5,
  kDo = 6, kElse = 7, kFinally = 8, kFor = 9, kFunction = 10, kIf = 11, kIn = 12,
  kInstanceof = 13, kNew = 14, kReturn = 15, kSwitch = 16, kThis = 17,
  kThrow = 18, kTry = 19, kTypeof = 20, kVar = 21, kVoid = 22, kWhile = 23,
  kWith = 24,
};

static_assert(PunctuatorTable[kOpenBrace] == u"{" && PunctuatorTable[kCloseBrace] == u"}");
static_assert(PunctuatorTable[kOpenParen] == u"(" && PunctuatorTable[kCloseParen] == u")");
static_assert(PunctuatorTable[kOpenBracket] == u"[" && PunctuatorTable[kCloseBracket] == u"]");
static_assert(PunctuatorTable[kDot] == u"." && PunctuatorTable[kSemicolon] == u";");
static_assert(PunctuatorTable[kComma] == u"," && PunctuatorTable[kLess] == u"<");
static_assert(PunctuatorTable[kGreater] == u">");
static_assert(PunctuatorTable[kPlus] == u"+" && PunctuatorTable[kMinus] == u"-");
static_assert(PunctuatorTable[kIncrement] == u"++" && PunctuatorTable[kDecrement] == u"--");
static_assert(PunctuatorTable[kNot] == u"!" && PunctuatorTable[kTilde] == u"~");
static_assert(PunctuatorTable[kQuestion] == u"?" && PunctuatorTable[kColon] == u":");
static_assert(PunctuatorTable[kAssign] == u"=" && PunctuatorTable[42] == u">>>=");
static_assert(PunctuatorTable[kSlash] == u"/" && PunctuatorTable[kSlashAssign] == u"/=");
static_assert(PunctuatorTable[kArrow] == u"->" && PunctuatorTable[kSingleQuote] == u"'");
static_assert(PunctuatorTable[kDoubleQuote] == u"\"");
static_assert(KeywordTable[kBreak] == u"break" && KeywordTable[kCase] == u"case");
static_assert(KeywordTable[kContinue] == u"continue" && KeywordTable[kDefault] == u"default");
static_assert(KeywordTable[kElse] == u"else" && KeywordTable[kFor] == u"for");
static_assert(KeywordTable[kFunction] == u"function" && KeywordTable[kIf] == u"if");
static_assert(KeywordTable[kIn] == u"in" && KeywordTable[kInstanceof] == u"instanceof");
static_assert(KeywordTable[kReturn] == u"return" && KeywordTable[kSwitch] == u"switch");
static_assert(KeywordTable[kThis] == u"this" && KeywordTable[kThrow] == u"throw");
static_assert(KeywordTable[kVar] == u"var" && KeywordTable[kWhile] == u"while");
static_assert(KeywordTable[kWith] == u"with" && KeywordTable[kTypeof] == u"typeof");

// Keyword code of a word, or -1.
int32_t FindKeyword(std::u16string_view word);

// Whether a word is one of the six literal words.
bool IsLiteralWord(std::u16string_view word);

}  // namespace pack
