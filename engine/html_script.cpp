#include "html_script.h"

#include <array>
#include <optional>

namespace pack {
namespace {

constexpr size_t kNone = std::u16string_view::npos;

// Blanks as the HTML tokenizer knows them: tab, LF, FF, CR, space.
constexpr bool IsHtmlSpace(char16_t c) {
  return c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r' || c == u' ';
}
constexpr bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
constexpr char16_t ToLowerAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Tag and attribute names and MIME types ignore ASCII letter case; `lower` is
// written in lower case.
bool EqualsIgnoreCase(std::u16string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (ToLowerAscii(text[i]) != static_cast<char16_t>(lower[i])) return false;
  }
  return true;
}
bool HasAtIgnoreCase(std::u16string_view text, size_t pos, std::string_view lower) {
  return pos <= text.size() && EqualsIgnoreCase(text.substr(pos, lower.size()), lower);
}

std::u16string_view TrimHtmlSpace(std::u16string_view text) {
  while (!text.empty() && IsHtmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHtmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The types a browser runs as a classic script.
constexpr std::array<std::string_view, 16> kJavaScriptTypes = {
    "application/ecmascript", "application/javascript", "application/x-ecmascript",
    "application/x-javascript", "text/ecmascript", "text/javascript", "text/javascript1.0",
    "text/javascript1.1", "text/javascript1.2", "text/javascript1.3", "text/javascript1.4",
    "text/javascript1.5", "text/jscript", "text/livescript", "text/x-ecmascript",
    "text/x-javascript",
};

bool IsJavaScriptType(std::u16string_view type) {
  for (std::string_view known : kJavaScriptTypes) {
    if (EqualsIgnoreCase(type, known)) return true;
  }
  return false;
}

// A `type` value names JavaScript by what stands before any ";":
//   text/javascript; charset=utf-8   -> JavaScript
//   module, text/template, application/json -> not
bool IsJavaScriptTypeAttribute(std::u16string_view value) {
  value = TrimHtmlSpace(value);
  return IsJavaScriptType(TrimHtmlSpace(value.substr(0, value.find(u';'))));
}

// Elements whose content the tokenizer reads as text up to their own end tag,
// so that <textarea><script>x()</script></textarea> shows code, not runs it.
// With scripting on, <noscript> is one of them.
constexpr std::array<std::string_view, 8> kTextElements = {
    "iframe", "noembed", "noframes", "noscript", "style", "textarea", "title", "xmp",
};

bool IsTextElement(std::u16string_view name) {
  for (std::string_view element : kTextElements) {
    if (EqualsIgnoreCase(name, element)) return true;
  }
  return false;
}

// A tag name ends at a blank, "/" or ">".
size_t TagNameEnd(std::u16string_view tagText) {
  size_t i = 0;
  while (i < tagText.size() && !IsHtmlSpace(tagText[i]) && tagText[i] != u'/' && tagText[i] != u'>') {
    ++i;
  }
  return i;
}

// Reads the value of an attribute from `i`, just after its "=": quoted, or up
// to a blank or ">" (<script language=vbscript>). Returns the position after
// the value, kNone when its quote is never closed.
size_t ReadValue(std::u16string_view text, size_t i, std::u16string_view& value) {
  const size_t n = text.size();
  while (i < n && IsHtmlSpace(text[i])) ++i;
  if (i < n && (text[i] == u'"' || text[i] == u'\'')) {
    const char16_t quote = text[i++];
    const size_t close = text.find(quote, i);
    value = text.substr(i, close == kNone ? kNone : close - i);
    return close == kNone ? kNone : close + 1;
  }
  const size_t valueStart = i;
  while (i < n && !IsHtmlSpace(text[i]) && text[i] != u'>') ++i;
  value = text.substr(valueStart, i - valueStart);
  return i;
}

// Reads attributes as the HTML tokenizer does, collecting them when `out` is
// given. Returns the position of the ">" that closes the tag, kNone when the
// text ends first. A ">" inside a quoted value does not close the tag:
//   <script data-x="a>b" type="text/template">
// `selfClosing`, when given, tells whether the tag ends in "/>" (<svg/>, but
// not <svg width=1/>, whose value is "1/").
size_t ReadAttributes(std::u16string_view text, std::vector<HtmlAttribute>* out,
                      bool* selfClosing = nullptr) {
  const size_t n = text.size();
  size_t i = 0;
  auto add = [out](std::u16string_view name, std::u16string_view value) {
    if (out != nullptr) out->push_back({std::u16string(name), std::u16string(value)});
  };
  for (;;) {
    // Blanks and a stray "/" separate attributes: <script/defer>
    const size_t separatorStart = i;
    while (i < n && (IsHtmlSpace(text[i]) || text[i] == u'/')) ++i;
    if (i >= n) return kNone;
    if (text[i] == u'>') {
      if (selfClosing != nullptr) *selfClosing = i > separatorStart && text[i - 1] == u'/';
      return i;
    }
    // A name is one word; an "=" in its first place belongs to it.
    const size_t nameStart = i++;
    while (i < n && !IsHtmlSpace(text[i]) && text[i] != u'/' && text[i] != u'>' && text[i] != u'=') {
      ++i;
    }
    const std::u16string_view name = text.substr(nameStart, i - nameStart);
    while (i < n && IsHtmlSpace(text[i])) ++i;
    if (i >= n || text[i] != u'=') {  // a valueless attribute: <script defer>
      add(name, {});
      continue;
    }
    std::u16string_view value;
    i = ReadValue(text, i + 1, value);
    add(name, value);
    if (i == kNone) return kNone;
  }
}

const HtmlAttribute* FindAttribute(const std::vector<HtmlAttribute>& attributes,
                                   std::string_view lowerName) {
  // A repeated attribute counts once, as first written.
  for (const HtmlAttribute& attribute : attributes) {
    if (EqualsIgnoreCase(attribute.name, lowerName)) return &attribute;
  }
  return nullptr;
}

// "<script" or "</script" at `pos`, ended by a blank, "/" or ">", in any case.
// `</scripts>` and a `</script` at the very end of the page are not tags.
bool IsTagAt(std::u16string_view page, size_t pos, bool closing, std::string_view lowerName) {
  size_t i = pos + 1;
  if (closing) {
    if (i >= page.size() || page[i] != u'/') return false;
    ++i;
  }
  if (!HasAtIgnoreCase(page, i, lowerName)) return false;
  i += lowerName.size();
  return i < page.size() && (IsHtmlSpace(page[i]) || page[i] == u'/' || page[i] == u'>');
}

bool HasAt(std::u16string_view page, size_t pos, std::u16string_view text) {
  return page.substr(pos, text.size()) == text;
}

// Where a script body starts from `from` ends: the "<" of its end tag, kNone
// when the page ends first. Browsers let "<!--" in script code hide a nested
// "<script>...</script>" pair until the next "-->":
//   <!-- document.write("<script src=a.js></script>"); -->
// while without the "<!--" the first "</script" ends the block, even one
// inside a string.
size_t FindScriptEnd(std::u16string_view page, size_t from) {
  enum class State { Data, Escaped, DoubleEscaped } state = State::Data;
  for (size_t i = from; i < page.size(); ++i) {
    const char16_t c = page[i];
    if (c == u'-' && state != State::Data && HasAt(page, i, u"-->")) {
      state = State::Data;
      i += 2;
    } else if (c != u'<') {
      continue;
    } else if (IsTagAt(page, i, true, "script")) {
      if (state != State::DoubleEscaped) return i;
      state = State::Escaped;
      i += 7;
    } else if (state == State::Data && HasAt(page, i, u"<!--")) {
      state = State::Escaped;
      i += 1;  // the dashes of "<!--" also count towards "-->": <!-->
    } else if (state == State::Escaped && IsTagAt(page, i, false, "script")) {
      state = State::DoubleEscaped;
      i += 6;
    }
  }
  return kNone;
}

// The "<" of the end tag of a text element, kNone when the page ends first.
size_t FindTextElementEnd(std::u16string_view page, size_t from, std::u16string_view name) {
  std::string lowerName;
  for (char16_t c : name) lowerName.push_back(static_cast<char>(ToLowerAscii(c)));
  for (size_t i = page.find(u"</", from); i != kNone; i = page.find(u"</", i + 2)) {
    if (IsTagAt(page, i, true, lowerName)) return i;
  }
  return kNone;
}

// A packed body must end where its input ended: the emitter can join tokens
// into an end tag (`a < /script/.test(b)` -> `a</script/.test(b)`), and
// dropped comments can take away the "<script" that kept a later "</script"
// in a string from ending the block.
bool EndsAtItsEndTag(std::u16string_view body) {
  std::u16string page(body);
  page += u"</script>";
  return FindScriptEnd(page, 0) == body.size();
}

// The position after the end of a comment opened at `pos`, kNone when the
// page ends first. "<!-->" and "<!--->" close at once, and "--!>" closes too.
size_t SkipComment(std::u16string_view page, size_t pos) {
  for (size_t i = page.find(u"--", pos + 2); i != kNone; i = page.find(u"--", i + 1)) {
    if (HasAt(page, i + 2, u">")) return i + 3;
    if (HasAt(page, i + 2, u"!>")) return i + 4;
  }
  return kNone;
}

// What a "<" outside any element's text starts.
struct Markup {
  size_t resume = kNone;        // where scanning goes on; kNone: nowhere
  std::u16string_view name;     // the name of a start or end tag; empty for anything else
  std::u16string_view tagText;  // a start tag's text between "<" and ">"
  bool closing = false;         // an end tag
  bool selfClosing = false;     // a start tag ending in "/>"
};

// `foreign`: inside <svg> or <math>, where "<![CDATA[" runs to "]]>".
Markup ReadMarkup(std::u16string_view page, size_t pos, bool foreign) {
  Markup markup;
  if (HasAt(page, pos, u"<!--")) {  // a comment, with whatever tags it hides
    markup.resume = SkipComment(page, pos);
    return markup;
  }
  if (foreign && HasAt(page, pos, u"<![CDATA[")) {
    const size_t close = page.find(u"]]>", pos + 9);
    if (close != kNone) markup.resume = close + 3;
    return markup;
  }
  const char16_t next = pos + 1 < page.size() ? page[pos + 1] : u'\0';
  markup.closing = next == u'/';
  const size_t nameStart = pos + (markup.closing ? 2 : 1);
  const bool letter = nameStart < page.size() && IsAsciiLetter(page[nameStart]);
  if (next == u'!' || next == u'?' || (markup.closing && !letter)) {
    const size_t close = page.find(u'>', pos + 2);  // <!DOCTYPE html>, <?xml?>, </ >
    if (close != kNone) markup.resume = close + 1;
    return markup;
  }
  if (!letter) {  // plain text: if (a <b) ...
    markup.resume = pos + 1;
    return markup;
  }
  const std::u16string_view afterName = page.substr(nameStart);
  const size_t nameLength = TagNameEnd(afterName);
  const size_t close =
      ReadAttributes(afterName.substr(nameLength), nullptr, &markup.selfClosing);
  if (close == kNone) return markup;  // an unterminated tag
  const size_t tagEnd = nameStart + nameLength + close;
  markup.resume = tagEnd + 1;
  markup.name = afterName.substr(0, nameLength);
  markup.tagText = page.substr(nameStart, tagEnd - nameStart);
  return markup;
}

bool IsForeignRoot(std::u16string_view name) {
  return EqualsIgnoreCase(name, "svg") || EqualsIgnoreCase(name, "math");
}

}  // namespace

std::vector<HtmlAttribute> ParseAttributes(std::u16string_view text) {
  std::vector<HtmlAttribute> attributes;
  ReadAttributes(text, &attributes);
  return attributes;
}

bool IsJavaScriptTag(std::u16string_view tagText) {
  const size_t nameEnd = TagNameEnd(tagText);
  if (!EqualsIgnoreCase(tagText.substr(0, nameEnd), "script")) return false;
  const std::vector<HtmlAttribute> attributes = ParseAttributes(tagText.substr(nameEnd));
  // An empty or absent type is JavaScript; a type wins over a language.
  if (const HtmlAttribute* type = FindAttribute(attributes, "type")) {
    return TrimHtmlSpace(type->value).empty() || IsJavaScriptTypeAttribute(type->value);
  }
  const HtmlAttribute* language = FindAttribute(attributes, "language");
  if (language == nullptr || language->value.empty()) return true;
  // language="JavaScript1.2" reads as the type text/javascript1.2.
  return IsJavaScriptType(u"text/" + language->value);
}

bool IsModuleScriptTag(std::u16string_view tagText) {
  const size_t nameEnd = TagNameEnd(tagText);
  if (!EqualsIgnoreCase(tagText.substr(0, nameEnd), "script")) return false;
  const std::vector<HtmlAttribute> attributes = ParseAttributes(tagText.substr(nameEnd));
  const HtmlAttribute* type = FindAttribute(attributes, "type");
  return type != nullptr && EqualsIgnoreCase(TrimHtmlSpace(type->value), "module");
}

void HtmlDocument::AddPlain(std::u16string_view text) {
  if (text.empty()) return;
  segments.push_back({std::u16string(text), false, nullptr, false, std::nullopt});
}

namespace {

// A problem's place in a block, moved to its place in the page, whose text
// before the block is `before`.
void PlaceInPage(std::u16string_view before, SourceProblem& problem) {
  int32_t line = 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    const char16_t c = before[i];
    if (c == u'\n' || (c == u'\r' && !(i + 1 < before.size() && before[i + 1] == u'\n')) ||
        c == 0x2028 || c == 0x2029) {
      ++line;
      lineStart = i + 1;
    }
  }
  if (problem.line == 1) problem.column += static_cast<int32_t>(before.size() - lineStart);
  problem.line += line - 1;
}

}  // namespace

void HtmlDocument::AddScript(std::u16string_view page, size_t start, size_t end,
                             int32_t blockIndex, bool module) {
  const std::u16string_view body = page.substr(start, end - start);
  auto packer = std::make_unique<trimlet>(session_);
  packer->SetKeptComments(keptComments);
  // An empty body scans to no tokens and packs to nothing.
  packer->AddSource(body, blockIndex, nullptr, module ? SourceGoal::Module : SourceGoal::Script);
  HtmlSegment segment{std::u16string(body), true, std::move(packer), module, std::nullopt};
  if (segment.packer->Problem()) {
    segment.problem = segment.packer->Problem();
    PlaceInPage(page.substr(0, start), *segment.problem);
  }
  segments.push_back(std::move(segment));
}

void HtmlDocument::Parse(std::u16string_view page) {
  size_t pending = 0;  // start of the text not yet in a segment
  int32_t blockIndex = 0;
  // Inside <svg> and <math> a script's text is markup of its own, where
  // "<!--" opens a real comment: such scripts are left as they are.
  int32_t foreignDepth = 0;
  for (size_t pos = page.find(u'<'); pos != kNone; pos = page.find(u'<', pos)) {
    const Markup markup = ReadMarkup(page, pos, foreignDepth > 0);
    if (markup.resume == kNone) break;  // the rest of the page stays as it is
    pos = markup.resume;
    if (IsForeignRoot(markup.name)) {
      if (markup.closing) {
        foreignDepth -= foreignDepth > 0 ? 1 : 0;
      } else if (!markup.selfClosing) {
        ++foreignDepth;
      }
    }
    if (markup.closing || foreignDepth > 0) continue;
    if (EqualsIgnoreCase(markup.name, "script")) {
      const size_t end = FindScriptEnd(page, pos);
      if (end == kNone) break;  // a block that never ends
      const bool module = IsModuleScriptTag(markup.tagText);
      if (module || IsJavaScriptTag(markup.tagText)) {
        AddPlain(page.substr(pending, pos - pending));
        AddScript(page, pos, end, blockIndex++, module);
        pending = end;  // the end tag opens the next plain segment
      }
      pos = end;
    } else if (IsTextElement(markup.name)) {
      pos = FindTextElementEnd(page, pos, markup.name);
      if (pos == kNone) break;
    } else if (EqualsIgnoreCase(markup.name, "plaintext")) {
      break;  // text to the end of the page
    }
  }
  AddPlain(page.substr(pending));
}

std::u16string HtmlDocument::Reassemble(const PackOptions& options) {
  std::u16string page;
  for (HtmlSegment& segment : segments) {
    if (!segment.isScript) {
      page += segment.text;
      continue;
    }
    if (segment.problem) {  // not JavaScript: kept as it stands
      page += segment.text;
      continue;
    }
    RunStages(*segment.packer, options);
    const std::optional<std::u16string> packed = segment.packer->Output();
    if (packed && packed->empty()) continue;
    // In a module "<!--" opens no comment: its body goes in bare. In XHTML it
    // opens an XML comment that would hide the script: the body keeps the
    // CDATA section it had, or goes in bare.
    std::u16string wrapped;
    if (packed && options.xhtml) {
      const bool cdata = segment.text.find(u"<![CDATA[") != std::u16string::npos;
      wrapped = cdata ? u"//<![CDATA[\n" + *packed + u"\n//]]>" : *packed;
    } else if (packed) {
      wrapped = segment.module ? *packed : u"<!--\n" + *packed + u"\n//-->";
    }
    // A body that cannot be packed safely is kept as it stood.
    page += packed && EndsAtItsEndTag(wrapped) ? wrapped : segment.text;
  }
  return page;
}

std::u16string PackHtml(std::u16string_view page, const PackOptions& options,
                        std::vector<SourceProblem>* kept) {
  HtmlDocument document;
  document.keptComments = options.comments;
  document.Parse(page);
  if (kept != nullptr) {
    for (const HtmlSegment& segment : document.segments) {
      if (segment.problem) kept->push_back(*segment.problem);
    }
  }
  return document.Reassemble(options);
}

}  // namespace pack
