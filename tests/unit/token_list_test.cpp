// Inserting tokens puts them where asked and keeps the bracket matches right:
// after an insertion they must equal those of the same tokens matched afresh.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "token.h"
#include "vocabulary.h"

namespace {

using pack::Token;
using pack::TokenList;

// One token per character: brackets and `;` as punctuators, anything else an
// identifier.
Token MakeToken(char c) {
  const std::string brackets = "{}()[]";
  const size_t b = brackets.find(c);
  if (b != std::string::npos) return Token{static_cast<int32_t>(b), 1, 0, pack::Punctuator, 0, 0};
  if (c == ';') return Token{pack::kSemicolon, 1, 0, pack::Punctuator, 0, 0};
  return Token{0, 1, 0, pack::Identifier, 0, 0};
}

TokenList MakeList(const std::string& text) {
  TokenList list;
  for (char c : text) list.Append(MakeToken(c));
  return list;
}

std::string Spell(const TokenList& list) {
  std::string text;
  for (size_t i = 0; i < list.Size(); ++i) {
    text += list[i].kind == pack::Punctuator ? std::string("{}()[]_;")[static_cast<size_t>(list[i].value)]
                                             : 'x';
  }
  return text;
}

struct InsertRow {
  std::string tokens;
  std::vector<size_t> before;
  std::string expected;
};

TEST(TokenListTest, InsertedSemicolonsKeepTheBracketMatches) {
  const InsertRow rows[] = {
      {"{x(x)}x", {1, 3, 6}, "{;x(;x)};x"},
      {"x{[x]}", {0}, ";x{[x]}"},
      {"{(x)}", {5, 9}, "{(x)};;"},                   // at the end, and past it
      {"{x}x", {2, 2, 2}, "{x;}x"},                   // duplicates count once
      {"({x)}x)", {1, 3, 5, 7}, "(;{x;)};x);"},       // stray closers
      {"{(x[x", {1, 2, 4}, "{;(;x[;x"},               // never closed
      {"x)x]x}", {1, 3}, "x;)x;]x}"},
      {"{{{x}}}", {0, 1, 2, 3, 4, 5, 6, 7}, ";{;{;{;x;};};};"},
  };
  for (const InsertRow& row : rows) {
    SCOPED_TRACE(row.tokens);
    TokenList list = MakeList(row.tokens);
    list.Matches();  // valid before the insertion
    list.InsertBefore(row.before, MakeToken(';'));
    EXPECT_EQ(Spell(list), row.expected);
    EXPECT_EQ(list.Matches(), MakeList(row.expected).Matches());
  }
}

TEST(TokenListTest, InsertedBracketsAreMatchedAfresh) {
  TokenList list = MakeList("(x)x");
  list.Matches();
  list.InsertBefore({3}, MakeToken('('));
  EXPECT_EQ(Spell(list), "(x)(x");
  EXPECT_EQ(list.Matches(), MakeList("(x)(x").Matches());

  TokenList closed = MakeList("(x(x)");
  closed.Matches();
  closed.InsertBefore({2}, MakeToken(')'));
  EXPECT_EQ(Spell(closed), "(x)(x)");
  EXPECT_EQ(closed.Matches(), MakeList("(x)(x)").Matches());
}

// Matches shifted through several insertions in a row, and after an append.
TEST(TokenListTest, MatchesFollowEveryChange) {
  TokenList list = MakeList("{x(x)}[x]");
  list.Matches();
  list.InsertBefore({1, 5}, MakeToken(';'));
  list.InsertBefore({0, 4, 11}, MakeToken(';'));
  EXPECT_EQ(Spell(list), ";{;x(;x);}[x];");
  EXPECT_EQ(list.Matches(), MakeList(";{;x(;x);}[x];").Matches());
  list.Append(MakeToken('}'));
  EXPECT_EQ(list.Matches(), MakeList(";{;x(;x);}[x];}").Matches());
}

}  // namespace
