// Packing the JavaScript inside an HTML page and leaving the rest as it was.
//
// The page is split the way a browser's tokenizer splits it: comments, the
// text of elements such as <textarea> and <style>, and script blocks whose
// type or language is not JavaScript are plain text; only the bodies of
// classic JavaScript blocks are handed to packer objects.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pack_document.h"
#include "packer.h"

namespace pack {

struct HtmlSegment {
  std::u16string text;              // page text; for a script, its body as it stood
  bool isScript = false;
  std::unique_ptr<trimlet> packer;  // the body's tokens; null for plain text
  bool module = false;              // a <script type="module"> body
  // Why the body is not JavaScript, with lines and columns of the page: it
  // is kept as it stands.
  std::optional<SourceProblem> problem;
};

// A page cut into plain text and script bodies. Every script segment owns a
// packer object, and all of them stay alive until the document is destroyed,
// so that the blocks of one page draw generated names from one identifier
// table and never clash.
class HtmlDocument {
 public:
  HtmlDocument() = default;
  virtual ~HtmlDocument() = default;
  HtmlDocument(const HtmlDocument&) = delete;
  HtmlDocument& operator=(const HtmlDocument&) = delete;

  // Cuts `page` into segments and scans every JavaScript body into a packer
  // object of its own; blocks are numbered from 0 in page order.
  void Parse(std::u16string_view page);

  // Packs every script body and joins the segments again. A body that packs
  // to text is written as "<!--\n" + packed + "\n//-->"; one that packs to
  // nothing leaves its start and end tags side by side.
  std::u16string Reassemble(const PackOptions& options);

  std::vector<HtmlSegment> segments;
  // Which comments the script bodies keep; set before Parse.
  KeepComments keptComments = KeepComments::None;

 private:
  // The blocks of a page meet in one global scope: their packers share the
  // texts, so that no block's new names clash with another's.
  std::shared_ptr<Session> session_ = std::make_shared<Session>();
  void AddPlain(std::u16string_view text);
  void AddScript(std::u16string_view page, size_t start, size_t end, int32_t blockIndex,
                 bool module);
};

struct HtmlAttribute {
  std::u16string name;  // as written; compare without regard to letter case
  std::u16string value;
};

// The attributes of a start tag, `text` being what follows the tag name:
//   ` defer type="text/template"` -> (defer, ""), (type, text/template)
//   ` language=vbscript`          -> (language, vbscript)
// Reading stops at a ">" outside quotes.
std::vector<HtmlAttribute> ParseAttributes(std::u16string_view text);

// True for the text between "<" and ">" of a start tag that opens a classic
// JavaScript block: the name `script`, and a `type` (or, without one, a
// `language`) that names JavaScript or is absent or empty.
bool IsJavaScriptTag(std::u16string_view tagText);

// Whether a script tag is <script type="module">, whose body is an ES module.
bool IsModuleScriptTag(std::u16string_view tagText);

// The page with the body of every JavaScript script block packed and wrapped in
// an HTML comment; every other character of the page comes out as it went in.
// Packs a page; the blocks that are not JavaScript, kept as they stood, are
// added to `kept` when it is given.
std::u16string PackHtml(std::u16string_view page, const PackOptions& options,
                        std::vector<SourceProblem>* kept = nullptr);

}  // namespace pack
