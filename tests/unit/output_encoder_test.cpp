// The packed text written straight as output bytes must equal the UTF-16 text
// converted as a whole, however the pieces split it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "packer.h"
#include "source_text.h"

namespace {

using pack::TextEncoding;

struct PiecesRow {
  std::vector<std::u16string> pieces;
  TextEncoding encoding;
  bool byteOrderMark;
};

TEST(OutputEncoderTest, PiecesGiveTheBytesOfTheWholeText) {
  const PiecesRow rows[] = {
      {{u"var a=1;", u"f(a)"}, TextEncoding::Utf8, false},
      {{u"s=\"\u0416\u00e9\"", u";"}, TextEncoding::Utf8, true},
      {{u"x=\"\U0001F600\""}, TextEncoding::Utf8, false},
      {{u"x=\"\xD83D", u"\xDE00\""}, TextEncoding::Utf8, false},  // a pair split in two
      {{u"a\xD83D", u"b"}, TextEncoding::Utf8, false},            // lone high, then ASCII
      {{u"a\xD83D", u"\u0416"}, TextEncoding::Utf8, false},       // lone high, then Cyrillic
      {{u"a\xD83D"}, TextEncoding::Utf8, false},                  // lone high at the end
      {{u"\xDE00", u"a"}, TextEncoding::Utf8, false},             // lone low
      {{u"\xD83D", u"\xD83D", u"\xDE00"}, TextEncoding::Utf8, false},
      {{u"s=\"\u0416\u2116\"", u"\u4E2D", u";"}, TextEncoding::Cp1251, false},  // one unmappable
      {{u"\xD83D", u"\xDE00"}, TextEncoding::Cp1251, false},
      {{}, TextEncoding::Utf8, true},
      // longer than the encoder's stage, ASCII and not
      {{std::u16string(5000, u'x'), std::u16string(3000, u'\u0416') + u"\xD83D",
        u"\xDE00" + std::u16string(4095, u'y')},
       TextEncoding::Utf8, false},
      {{std::u16string(4097, u'\u0416'), std::u16string(9000, u'z')}, TextEncoding::Cp1251, false},
  };
  for (const PiecesRow& row : rows) {
    std::u16string whole;
    pack::OutputEncoder encoder(row.encoding, row.byteOrderMark, 4);
    for (const std::u16string& piece : row.pieces) {
      whole += piece;
      encoder.Append(piece);
    }
    SCOPED_TRACE(std::string(whole.begin(), whole.begin() + std::min<size_t>(whole.size(), 40)));
    EXPECT_EQ(encoder.Finish(), pack::EncodeOutput(whole, row.encoding, row.byteOrderMark));
  }
}

TEST(OutputEncoderTest, OutputBytesMatchTheEncodedOutput) {
  const std::u16string sources[] = {
      u"var s = \"\u0416\u00e9\U0001F600\"\nf(s)",
      u"function f(x) { return x + +1 }\n/re/.test(\"\u2116\")",
      u"a = '\xD83D'\nb = '\xDE00'",
  };
  for (const std::u16string& source : sources) {
    SCOPED_TRACE(std::string(source.begin(), source.end()));
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp1251}) {
      trimlet packer;
      ASSERT_TRUE(packer.AddSource(source, 0, nullptr));
      packer.Process();
      const std::optional<std::u16string> text = packer.Output();
      const std::optional<std::string> bytes = packer.OutputBytes(encoding, true);
      ASSERT_TRUE(text && bytes);
      EXPECT_EQ(*bytes, pack::EncodeOutput(*text, encoding, true));
    }
  }
}

// A long list is written in two parts on two threads, cut at a punctuator near
// the middle, and from texts encoded once each unless one of them holds half of
// a surrogate pair at an end (the first snippet has one). Shifting the text by
// one token at a time puts the cut at every place of a snippet full of
// separators that depend on what follows.
TEST(OutputEncoderTest, TwoPartsGiveTheBytesOfOne) {
  const std::u16string common =
      u"a + +b\nx-- > y\nz = /re/ / 2\nif (a) x\nelse b\nc = d < !--e\n"
      u"w = 1 .toString()\ns = '\U0001F600'\nt = /\u2116/\n";
  for (const std::u16string& snippet :
       {common + u"v = '\u0416\xD83D'\n", common + u"v = \u0416\n"}) {
    std::u16string body;
    for (int i = 0; i < 6000; ++i) body += snippet;
    for (size_t shift = 0; shift < 40; shift += 3) {
      std::u16string source;
      for (size_t k = 0; k < shift; ++k) source += u"x\n";
      source += body;
      SCOPED_TRACE(shift);
      trimlet packer;
      ASSERT_TRUE(packer.AddSource(source, 0, nullptr));
      packer.Process();
      ASSERT_GT(packer.Tokens().Size(), size_t{1} << 17);
      const std::optional<std::u16string> text = packer.Output();
      ASSERT_TRUE(text);
      for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp1251}) {
        const std::optional<std::string> bytes = packer.OutputBytes(encoding, true);
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(*bytes == pack::EncodeOutput(*text, encoding, true));
      }
    }
  }
}

}  // namespace
