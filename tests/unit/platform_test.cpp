#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform.h"
#include "source_text.h"

namespace {

TEST(Cp1251Test, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string wide = platform::ToWide(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(wide[0xC0], u'\u0410');  // А
  EXPECT_EQ(wide[0xFF], u'\u044F');  // я
  EXPECT_EQ(wide[0xB8], u'\u0451');  // ё
  EXPECT_EQ(wide[0x88], u'\u20AC');  // €
  EXPECT_EQ(wide[0x98], u'\u0098');  // unassigned, kept
  EXPECT_EQ(platform::ToNarrow(wide), all);
}

TEST(Cp1251Test, CharactersOutsideBecomeUnderscore) {
  EXPECT_EQ(platform::ToNarrow(u"a\u00E9\u4E2D\u0416"), std::string("a__\xC6"));
}

TEST(Utf8Test, WellFormedOnly) {
  const struct {
    const char* bytes;
    bool valid;
  } rows[] = {
      {"plain", true},
      {"caf\xC3\xA9", true},
      {"\xF0\x9F\x9A\x80", true},
      {"\xC3", false},             // cut short
      {"\xC0\xAF", false},         // overlong "/"
      {"\xED\xA0\x80", false},     // a surrogate
      {"\xF4\x90\x80\x80", false}, // above U+10FFFF
      {"\xE9t\xE9", false},        // code page 1251 text
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bytes);
    EXPECT_EQ(platform::IsUtf8(row.bytes), row.valid);
  }
  EXPECT_EQ(platform::Utf8ToWide("\xF0\x9F\x9A\x80"), u"\U0001F680");
  EXPECT_EQ(platform::WideToUtf8(u"\U0001F680\u0416"), "\xF0\x9F\x9A\x80\xD0\x96");
}

// Malformed input becomes U+FFFD for each byte that starts no sequence, and
// never more text than there is room for: continuation bytes first, a lead cut
// short, an overlong form.
TEST(Utf8Test, MalformedBytesBecomeReplacementCharacters) {
  const struct {
    const char* bytes;
    const char16_t* wide;
  } rows[] = {
      {"\x80\x80\x80\x80\x80x", u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFDx"},
      {"a\xC3", u"a\xFFFD"},
      {"\xC0\xAF/", u"\xFFFD\xFFFD/"},
      {"\xA8\xE2\x80\xA8", u"\xFFFD\u2028"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bytes);
    EXPECT_EQ(platform::Utf8ToWide(row.bytes), row.wide);
  }
}

TEST(SourceTextTest, EncodingIsDetectedAndKept) {
  using std::string_literals::operator""s;
  const struct {
    std::string bytes;
    pack::TextEncoding encoding;
    bool mark;
    std::u16string text;
  } rows[] = {
      {"var x", pack::TextEncoding::Cp1251, false, u"var x"},
      {"s='\xD0\x96'", pack::TextEncoding::Utf8, false, u"s='\u0416'"},
      {"s='\xC6'", pack::TextEncoding::Cp1251, false, u"s='\u0416'"},
      {"\xEF\xBB\xBFx", pack::TextEncoding::Utf8, true, u"x"},
      {"\xFF\xFEx\0\x16\x04"s, pack::TextEncoding::Utf16Le, true, u"x\u0416"},
      {"\xFE\xFF\0x\x04\x16"s, pack::TextEncoding::Utf16Be, true, u"x\u0416"},
      {"\xFF\xFEx", pack::TextEncoding::Cp1251, false, u"\u044F\u044Ex"},  // odd: no UTF-16, kept byte for byte
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bytes);
    const pack::SourceText source = pack::DecodeSource(row.bytes);
    EXPECT_EQ(source.encoding, row.encoding);
    EXPECT_EQ(source.byteOrderMark, row.mark);
    EXPECT_TRUE(source.text == row.text);
    EXPECT_EQ(pack::EncodeOutput(source.text, source.encoding, source.byteOrderMark), row.bytes);
  }
  // --charset decides how the bytes are read; a UTF-16 mark still decides
  const pack::SourceForm latin = pack::DetectSource("s='caf\xE9'", pack::TextEncoding::Latin1);
  EXPECT_TRUE(pack::DecodeSource(latin).text == u"s='caf\u00E9'");
  EXPECT_EQ(pack::EncodeOutput(u"s='caf\u00E9\u0416'", pack::TextEncoding::Latin1, false), "s='caf\xE9_'");
  const pack::SourceForm utf8 = pack::DetectSource("s='caf\xC3\xA9' // \xFF", pack::TextEncoding::Utf8);
  EXPECT_TRUE(pack::DecodeSource(utf8).text.substr(0, 8) == u"s='caf\u00E9'");
  EXPECT_EQ(pack::DetectSource("\xFF\xFE<\0"s, pack::TextEncoding::Utf8).encoding, pack::TextEncoding::Utf16Le);
  // a page starts with "<" after any mark, blanks and line breaks
  for (const std::string& page : {"\xEF\xBB\xBF<p>"s, " \r\n\t<p>"s, "\xFF\xFE\n\0<\0"s}) {
    EXPECT_TRUE(pack::IsHtmlPage(pack::DetectSource(page))) << page;
  }
  EXPECT_FALSE(pack::IsHtmlPage(pack::DetectSource(" x<y")));
  EXPECT_TRUE(pack::IsXmlPage(pack::DetectSource("\n<?xml version=\"1.0\"?><html/>")));
  EXPECT_FALSE(pack::IsXmlPage(pack::DetectSource("<html><?xml?>")));
}

// A large text is checked for UTF-8 in two halves at once: wherever the middle
// falls in a character, and wherever a malformed byte stands, the answer is the
// one a check of the whole gives.
TEST(SourceTextTest, LargeTextsAreCheckedWhole) {
  const std::string cyrillic = "\xD0\x96";      // two bytes
  const std::string symbol = "\xE2\x84\x96";   // three
  const std::string emoji = "\xF0\x9F\x98\x80";  // four
  for (const std::string& character : {cyrillic, symbol, emoji}) {
    for (size_t shift = 0; shift < 4; ++shift) {
      std::string text = std::string(shift, 'x');
      while (text.size() < (size_t{4} << 20) + 64) text += character;
      SCOPED_TRACE(character.size() * 10 + shift);
      EXPECT_EQ(pack::DetectSource(text).encoding, pack::TextEncoding::Utf8);
      for (const size_t at : {size_t{7}, text.size() / 2 - 1, text.size() / 2, text.size() / 2 + 1,
                              text.size() - 2}) {
        std::string broken = text;
        broken[at] = '\xFF';
        EXPECT_EQ(pack::DetectSource(broken).encoding, pack::TextEncoding::Cp1251) << at;
      }
    }
  }
}

class FileTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trimlet-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }
  std::string dir_;
};

TEST_F(FileTest, WriteReplacesWholeAndReadsBack) {
  const std::string path = dir_ + "/out.js";
  ASSERT_TRUE(platform::WriteWholeFile(path, "first version, longer").ok);
  ASSERT_TRUE(platform::WriteWholeFile(path, std::string("x\0y", 3)).ok);
  std::string bytes;
  ASSERT_TRUE(platform::ReadWholeFile(path, bytes).ok);
  EXPECT_EQ(bytes, std::string("x\0y", 3));
}

TEST_F(FileTest, WritingThroughALinkReplacesItsTarget) {
  const std::string target = dir_ + "/target.js";
  ASSERT_TRUE(platform::WriteWholeFile(target, "old").ok);
  ASSERT_EQ(symlink("target.js", (dir_ + "/link.js").c_str()), 0);
  ASSERT_TRUE(platform::WriteWholeFile(dir_ + "/link.js", "new").ok);
  struct stat info {};
  ASSERT_EQ(lstat((dir_ + "/link.js").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  std::string bytes;
  ASSERT_TRUE(platform::ReadWholeFile(target, bytes).ok);
  EXPECT_EQ(bytes, "new");
}

TEST_F(FileTest, TheLongestFileNameCanBeWritten) {
  const std::string path = dir_ + "/" + std::string(252, 'o') + ".js";
  EXPECT_TRUE(platform::WriteWholeFile(path, "x").ok);
}

// Read into memory of its own, a file of any size comes back byte for byte: a
// large one is read in two halves at once.
TEST_F(FileTest, FileBytesHoldTheWholeFile) {
  for (const size_t size : {size_t{0}, size_t{1}, size_t{4099}, (size_t{4} << 20) - 1,
                            size_t{4} << 20, (size_t{9} << 20) + 3}) {
    SCOPED_TRACE(size);
    std::string written(size, '\0');
    for (size_t i = 0; i < size; ++i) written[i] = static_cast<char>((i * 7919) >> 3);
    const std::string path = dir_ + "/in.js";
    ASSERT_TRUE(platform::WriteWholeFile(path, written).ok);
    platform::FileBytes bytes;
    ASSERT_TRUE(platform::ReadWholeFile(path, bytes).ok);
    EXPECT_TRUE(bytes.View() == written);
    bytes.Release();
    EXPECT_EQ(bytes.Size(), 0u);
  }
}

TEST_F(FileTest, FailuresSayWhy) {
  std::string bytes;
  const platform::FileResult missing = platform::ReadWholeFile(dir_ + "/none.js", bytes);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
  EXPECT_FALSE(platform::ReadWholeFile(dir_, bytes).ok);  // a folder
  platform::FileBytes held;
  EXPECT_FALSE(platform::ReadWholeFile(dir_ + "/none.js", held).ok);
  EXPECT_FALSE(platform::ReadWholeFile(dir_, held).ok);
  EXPECT_FALSE(platform::WriteWholeFile(dir_ + "/no/such/dir/out.js", "x").ok);
  EXPECT_FALSE(platform::WriteWholeFile(dir_, "x").ok);  // a folder is not replaced
  struct stat info {};
  EXPECT_EQ(stat(dir_.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}

}  // namespace
