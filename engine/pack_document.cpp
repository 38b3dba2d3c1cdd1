#include "pack_document.h"

#include <new>
#include <utility>

#include "html_script.h"
#include "packer.h"
#include "source_text.h"
#include "text_tables.h"

namespace pack {

void RunStages(trimlet& packer, const PackOptions& options) {
  packer.Process();
  if (options.changeVariableNames) packer.ChangeVars();
  if (options.encodeStrings) packer.EncodeStrings();
}

namespace {

// The rest of packing a script once the packer has scanned it (`added` false:
// there was nothing to scan).
PackResult PackScanned(trimlet& packer, bool added, TextEncoding encoding, bool byteOrderMark,
                       const PackOptions& options) {
  PackResult result;
  if (!added) {
    result.status = PackStatus::EmptySource;
    return result;
  }
  result.identifiers = IdentifierTable().Count();
  RunStages(packer, options);
  std::optional<std::string> packed = packer.OutputBytes(encoding, byteOrderMark);
  if (!packed) {
    result.status = PackStatus::OutOfMemory;
    return result;
  }
  result.bytes = std::move(*packed);
  return result;
}

PackResult PackSource(SourceText source, const PackOptions& options, ProgressCallback progress) {
  if (IsHtmlPage(source)) {
    PackResult result;
    result.html = true;
    const std::u16string page = PackHtml(source.text, options);
    result.bytes = EncodeOutput(page, source.encoding, source.byteOrderMark);
    return result;
  }
  trimlet packer;
  const bool added = packer.AddSource(source.text, 0, progress);
  std::u16string().swap(source.text);  // the tokens hold everything from here on
  return PackScanned(packer, added, source.encoding, source.byteOrderMark, options);
}

// A script whose bytes are ASCII or UTF-8 is scanned from them directly, with
// no UTF-16 copy of the whole text; the tokens are the same. The bytes are let
// go once scanned when `owner` holds them.
PackResult PackUtf8Script(const SourceForm& form, const PackOptions& options,
                          ProgressCallback progress, std::string* owner) {
  trimlet packer;
  const bool added = packer.AddSourceUtf8(form.body, 0, progress);
  if (owner != nullptr) std::string().swap(*owner);  // the tokens hold everything from here on
  return PackScanned(packer, added, form.encoding, form.byteOrderMark, options);
}

bool IsScriptOfUtf8(const SourceForm& form) {
  return form.utf8Body && (form.body.empty() || form.body[0] != '<');
}

PackResult OutOfMemory() {
  PackResult result;
  result.status = PackStatus::OutOfMemory;
  return result;
}

}  // namespace

PackResult PackDocument(std::string_view fileBytes, const PackOptions& options,
                        ProgressCallback progress) {
  try {
    const SourceForm form = DetectSource(fileBytes);
    if (IsScriptOfUtf8(form)) return PackUtf8Script(form, options, progress, nullptr);
    return PackSource(DecodeSource(fileBytes), options, progress);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

PackResult PackTakingBytes(std::string&& fileBytes, const PackOptions& options,
                           ProgressCallback progress) {
  try {
    const SourceForm form = DetectSource(fileBytes);
    if (IsScriptOfUtf8(form)) return PackUtf8Script(form, options, progress, &fileBytes);
    SourceText source = DecodeSource(fileBytes);
    std::string().swap(fileBytes);
    return PackSource(std::move(source), options, progress);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

}  // namespace pack
