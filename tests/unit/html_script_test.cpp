#include "html_script.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "pack_document.h"
#include "platform.h"

namespace {

struct Row {
  const char* input;
  const char* expected;
};

pack::PackOptions NoStages() { return {false, false}; }

std::string PackPage(std::string_view page, const pack::PackOptions& options = NoStages()) {
  return platform::WideToUtf8(pack::PackHtml(platform::Utf8ToWide(page), options));
}

// The plain segments of a page, and how many script blocks stand between them.
struct Split {
  std::vector<std::u16string> plain;
  size_t scripts = 0;
};

Split SplitPage(std::string_view page) {
  pack::HtmlDocument document;
  document.Parse(platform::Utf8ToWide(page));
  Split split;
  for (const pack::HtmlSegment& segment : document.segments) {
    if (segment.isScript) {
      ++split.scripts;
    } else {
      split.plain.push_back(segment.text);
    }
  }
  return split;
}

// One row: the page packs to `expected`; and a browser reads the packed page
// with the same blocks and the same text around them, byte for byte.
void ExpectPages(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "page: " << row.input);
    const std::string packed = PackPage(row.input);
    EXPECT_EQ(packed, row.expected);
    const Split before = SplitPage(row.input);
    const Split after = SplitPage(packed);
    EXPECT_EQ(after.plain, before.plain);
    EXPECT_EQ(after.scripts, before.scripts);
  }
}

TEST(HtmlPageTest, PacksScriptBodies) {
  ExpectPages({
      {"<p>Hi</p><script>a = 1;</script>", "<p>Hi</p><script><!--\na=1;\n//--></script>"},
      {"<head><script>a = 1</script></head>", "<head><script><!--\na=1\n//--></script></head>"},
      {"<script>a = 1</script>", "<script><!--\na=1\n//--></script>"},
      {"<SCRIPT LANGUAGE=\"JavaScript1.2\">a = 1</SCRIPT>",
       "<SCRIPT LANGUAGE=\"JavaScript1.2\"><!--\na=1\n//--></SCRIPT>"},
      {"<ScRiPt\n>a = 1</sCrIpT >", "<ScRiPt\n><!--\na=1\n//--></sCrIpT >"},
      {"<script/>a = 1</script/>", "<script/><!--\na=1\n//--></script/>"},
      // Bodies that pack to nothing leave the tags side by side.
      {"<script src=\"x.js\"></script>", "<script src=\"x.js\"></script>"},
      {"<script src=\"x.js\">\n</script>", "<script src=\"x.js\"></script>"},
      {"<script>// none\n/* here */</script>", "<script></script>"},
      // The classic hidden body gets one wrapper, and `Begin` is no code.
      {"<script>\n<!--\na = 1\n//-->\n</script>", "<script><!--\na=1\n//--></script>"},
      {"<script><!-- Begin\nvar x = 1;\n// End -->\n</script>",
       "<script><!--\nvar x=1;\n//--></script>"},
      {"<script>\n<!-- hide\nx()\n-->\n</script>", "<script><!--\nx()\n//--></script>"},
      // Line ends outside the bodies stay as they were.
      {"<p>\r\n</p>\r\n<script>\r\na = 1\r\nb = 2\r\n</script>\r\n",
       "<p>\r\n</p>\r\n<script><!--\na=1;b=2\n//--></script>\r\n"},
      {"<script>a = 1</script>\n<p>\xD0\x9F\xD1\x80\xD0\xB8</p>\n<script>b = 2</script>",
       "<script><!--\na=1\n//--></script>\n<p>\xD0\x9F\xD1\x80\xD0\xB8</p>\n<script><!--\nb=2\n//--></script>"},
      // A "<" that starts no tag is text, and "</" tags are skipped whole.
      {"<p>1 < 2</p><script>a = 1</script>", "<p>1 < 2</p><script><!--\na=1\n//--></script>"},
      {"<!DOCTYPE html><div title='<script>'></div id=\">\"><script>a = 1</script>",
       "<!DOCTYPE html><div title='<script>'></div id=\">\"><script><!--\na=1\n//--></script>"},
  });
}

// Classic JavaScript is packed, and modules as modules, bare (a module has no
// HTML comments); templates, data and other languages come out as they went in.
TEST(HtmlPageTest, ScriptTypes) {
  ExpectPages({
      {"<script type=\"text/template\"><b>a = 1</b></script>",
       "<script type=\"text/template\"><b>a = 1</b></script>"},
      {"<script type=\"module\">import a from './a.js'\nawait a()</script>",
       "<script type=\"module\">import a from './a.js';await a()</script>"},
      {"<script type=\"importmap\">{\"imports\": {}}</script>",
       "<script type=\"importmap\">{\"imports\": {}}</script>"},
      {"<script defer type=\"text/template\">a = 1</script>",
       "<script defer type=\"text/template\">a = 1</script>"},
      {"<script type=text/x-template>a = 1</script>", "<script type=text/x-template>a = 1</script>"},
      {"<script data-x=\"a>b\" type=\"text/template\">a = 1</script>",
       "<script data-x=\"a>b\" type=\"text/template\">a = 1</script>"},
      {"<script type=\"text/template\" type=\"text/javascript\">a = 1</script>",
       "<script type=\"text/template\" type=\"text/javascript\">a = 1</script>"},
      {"<script language=vbscript>a = 1</script>", "<script language=vbscript>a = 1</script>"},
      {"<script type=\"text/javascript; charset=utf-8\">a = 1</script>",
       "<script type=\"text/javascript; charset=utf-8\"><!--\na=1\n//--></script>"},
      {"<script type=\"\" language=\"vbscript\">a = 1</script>",
       "<script type=\"\" language=\"vbscript\"><!--\na=1\n//--></script>"},
      {"<script type=\"text/javascript\" language=\"vbscript\">a = 1</script>",
       "<script type=\"text/javascript\" language=\"vbscript\"><!--\na=1\n//--></script>"},
      // The body of any script element ends at its end tag, whatever its type.
      {"<script type=\"text/template\"><div><script>a</div></script><script>b = 1</script>",
       "<script type=\"text/template\"><div><script>a</div></script><script><!--\nb=1\n//--></script>"},
  });
}

TEST(HtmlPageTest, PageStructure) {
  ExpectPages({
      // A commented-out block is plain text.
      {"<!-- <script>a = 1</script> -->", "<!-- <script>a = 1</script> -->"},
      {"<!--> <script>a = 1</script>", "<!--> <script><!--\na=1\n//--></script>"},
      {"<!-- open <script>a = 1</script>", "<!-- open <script>a = 1</script>"},
      {"<!-- x --!><script>a = 1</script>", "<!-- x --!><script><!--\na=1\n//--></script>"},
      // In <svg> and <math> "<!--" is a real comment: their scripts stay as written.
      {"<svg><script><![CDATA[a = 1]]></script></svg><script>b = 1</script>",
       "<svg><script><![CDATA[a = 1]]></script></svg><script><!--\nb=1\n//--></script>"},
      {"<math><script>a = 1</script></math>", "<math><script>a = 1</script></math>"},
      {"<SVG/><script>a = 1</script>", "<SVG/><script><!--\na=1\n//--></script>"},
      {"<svg width=1/><script>a = 1</script></svg>", "<svg width=1/><script>a = 1</script></svg>"},
      {"<svg><![CDATA[</svg>]]><script>a = 1</script></svg>",
       "<svg><![CDATA[</svg>]]><script>a = 1</script></svg>"},
      // Elements that are no scripts, or whose text is never run as one.
      {"<scripts>a = 1</scripts>", "<scripts>a = 1</scripts>"},
      {"<noscript><script>a = 1</script></noscript>", "<noscript><script>a = 1</script></noscript>"},
      {"<TEXTAREA><script>a = 1</script></TEXTAREA><script>b = 1</script>",
       "<TEXTAREA><script>a = 1</script></TEXTAREA><script><!--\nb=1\n//--></script>"},
      // Unterminated tags and blocks leave the rest of the page as it is.
      {"<p>x</p><script", "<p>x</p><script"},
      {"<p title=\"x><script>a = 1</script>", "<p title=\"x><script>a = 1</script>"},
      {"<script>a = 1</script><script>b = 2", "<script><!--\na=1\n//--></script><script>b = 2"},
      // "</script" ends a block wherever it stands, unless it is hidden by
      // "<!--" and a "<script" before it, as browsers read it.
      {"<script>s = \"<\\/script>\"; t = 1</script>",
       "<script><!--\ns=\"<\\/script>\";t=1\n//--></script>"},
      {"<script>a = \"</scripts>\"</script>", "<script><!--\na=\"</scripts>\"\n//--></script>"},
      {"<script><!--\ndocument.write(\"<script src=\\\"a.js\\\"></script>\");\n//--></script>",
       "<script><!--\ndocument.write(\"<script src=\\\"a.js\\\"></script>\");\n//--></script>"},
  });
}

// Packing must not move the end of a block; a body that would end early once
// packed is kept as it stood.
TEST(HtmlPageTest, BodiesThatCannotBePackedSafely) {
  ExpectPages({
      // Dropping the comment takes away the "<script" that hid the string's end tag.
      {"<script><!--\n// <script>\nx(\"</script>\");\n//--></script>",
       "<script><!--\n// <script>\nx(\"</script>\");\n//--></script>"},
  });
  // Whatever the emitter makes of `a < /script/`, the block must still end at
  // its own end tag.
  const std::string page = "<script>if (a < /script/.test(b)) c()</script><p>after</p>";
  const Split after = SplitPage(PackPage(page));
  EXPECT_EQ(after.plain, SplitPage(page).plain);
  EXPECT_EQ(after.scripts, 1u);
}

std::string Rendered(const std::vector<pack::HtmlAttribute>& attributes) {
  std::string text;
  for (const pack::HtmlAttribute& attribute : attributes) {
    if (!text.empty()) text += '|';
    text += platform::WideToUtf8(attribute.name) + '=' + platform::WideToUtf8(attribute.value);
  }
  return text;
}

// A block that is not JavaScript stays as it stands, and the problem is told
// with the page's own line and column; the other blocks are packed.
TEST(HtmlPageTest, BlocksThatAreNotJavaScriptAreKept) {
  const std::string page = "<p>x</p>\n<script>a = 1</script>\n<script>\n  b = = 2</script>";
  std::vector<pack::SourceProblem> kept;
  const std::string packed = platform::WideToUtf8(
      pack::PackHtml(platform::Utf8ToWide(page), NoStages(), &kept));
  EXPECT_EQ(packed, "<p>x</p>\n<script><!--\na=1\n//--></script>\n<script>\n  b = = 2</script>");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].line, 4);
  EXPECT_EQ(kept[0].column, 7);
}

TEST(HtmlAttributesTest, ReadAsHtmlReadsThem) {
  const std::vector<Row> rows = {
      {"", ""},
      {" defer type=\"text/template\"", "defer=|type=text/template"},
      {" language=vbscript src=\"a.js\"", "language=vbscript|src=a.js"},
      {" a='x\"y' b = \"1\"\tc", "a=x\"y|b=1|c="},
      {"/type=module/", "type=module/"},
      {" x=\"a>b\" y>z=1", "x=a>b|y="},
      {" t=\"open", "t=open"},
      {" a=>", "a="},
      {" =x", "=x="},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "attributes: " << row.input);
    EXPECT_EQ(Rendered(pack::ParseAttributes(platform::Utf8ToWide(row.input))), row.expected);
  }
}

TEST(HtmlAttributesTest, JavaScriptTags) {
  struct TagRow {
    const char* tagText;
    bool javaScript;
  };
  const std::vector<TagRow> rows = {
      {"script", true},
      {"SCRIPT", true},
      {"script\ttype=\"text/ecmascript\"", true},
      {"script type=\" application/x-javascript \"", true},
      {"script type=\"text/javascript;charset=utf-8\"", true},
      {"script language=\"JavaScript1.2\"", true},
      {"script language=\"\"", true},
      {"script language=\"javascript1.8\"", false},
      {"script type=\"module\"", false},
      {"script type=\"text/javascriptx\"", false},
      {"script type=text/vbscript", false},
      {"scripts", false},
      {"noscript", false},
      {" script", false},
      {"scrip", false},
  };
  for (const TagRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "tag: " << row.tagText);
    EXPECT_EQ(pack::IsJavaScriptTag(platform::Utf8ToWide(row.tagText)), row.javaScript);
  }
}

// Pages arrive as bytes: text outside the blocks comes back in its own
// encoding, code page 1251 or UTF-8.
TEST(HtmlPageTest, PagesAsFileBytes) {
  const std::vector<Row> rows = {
      {"<html>\r\n<script language=\"JavaScript\">\r\n<!-- Begin\r\nvar x = 1\r\n// End -->\r\n"
       "</script>\r\n</html>\r\n",
       "<html>\r\n<script language=\"JavaScript\"><!--\nvar x=1\n//--></script>\r\n</html>\r\n"},
      {"<p>\xCF\xF0\xE8\xE2\xE5\xF2</p><script>a = '\xEC\xE8\xF0'</script>",
       "<p>\xCF\xF0\xE8\xE2\xE5\xF2</p><script><!--\na='\xEC\xE8\xF0'\n//--></script>"},
      {"<p>\xD0\x9F\xD1\x80\xD0\xB8</p><script>a = '\xE2\x82\xAC'</script>",
       "<p>\xD0\x9F\xD1\x80\xD0\xB8</p><script><!--\na='\xE2\x82\xAC'\n//--></script>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "page: " << row.input);
    const pack::PackResult result = pack::PackDocument(row.input, NoStages());
    EXPECT_EQ(result.status, pack::PackStatus::Ok);
    EXPECT_TRUE(result.html);
    EXPECT_EQ(result.bytes, row.expected);
  }
}

// The name given to `i` in each block of `packed`.
std::vector<std::string> RenamedLocals(const std::string& packed) {
  std::vector<std::string> names;
  for (size_t at = packed.find("var "); at != std::string::npos; at = packed.find("var ", at)) {
    at += 4;
    names.push_back(packed.substr(at, packed.find('=', at) - at));
  }
  return names;
}

// Each block names its locals on its own, and never after a global that it
// uses, whichever block declares that global.
TEST(HtmlPageTest, BlocksNameTheirLocalsApart) {
  const std::string page =
      "<script>function n() { var i = 0; return i }</script>\n"
      "<script>function g() { var i = n(); return i }</script>";
  const std::vector<std::string> names = RenamedLocals(PackPage(page, {false, true}));
  ASSERT_EQ(names.size(), 2u) << PackPage(page, {false, true});
  EXPECT_NE(names[0], "i");
  EXPECT_NE(names[1], "i");
  EXPECT_NE(names[1], "n");
}

// Pages put together from pieces that matter to the split: whatever the mix,
// the packed page has the same blocks with the same text around them.
TEST(HtmlPageTest, MixedPiecesKeepThePageAroundTheBlocks) {
  const std::vector<const char*> pieces = {
      "<script>", "</script>", "<SCRIPT type=module>", "<script language=vbscript>", "<!--",
      "-->", "\n", "\r\n", "a = 1", "x(\"</script>\")", "x(\"<script>\")", "// c\n", "<",
      "<p title=\">\">", "<textarea>", "</textarea>", "<!x>", "</", ">", "'", "\"", "b--\n>c",
      "if (a < /script/.test(b)) c()", "<script src='a.js'>", "/* <!-- */", "<scripts>",
      "<svg>", "</svg>", "function f(s) { var i = s; return i }", "--!>",
  };
  const std::vector<pack::PackOptions> everyOption = {
      {false, false}, {true, false}, {false, true}, {true, true}};
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string page;
    const uint32_t count = next(12);
    for (uint32_t i = 0; i < count; ++i) page += pieces[next(static_cast<uint32_t>(pieces.size()))];
    SCOPED_TRACE(testing::Message() << "page: " << page);
    const Split before = SplitPage(page);
    for (const pack::PackOptions& options : everyOption) {
      const std::string packed = PackPage(page, options);
      const Split after = SplitPage(packed);
      ASSERT_EQ(after.plain, before.plain) << packed;
      ASSERT_EQ(after.scripts, before.scripts) << packed;
    }
  }
}

}  // namespace
