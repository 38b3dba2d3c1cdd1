#include "pack_document.h"

#include <new>

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

PackResult PackDocument(std::string_view fileBytes, const PackOptions& options,
                        ProgressCallback progress) {
  PackResult result;
  try {
    const SourceText source = DecodeSource(fileBytes);
    if (IsHtmlPage(source)) {
      result.html = true;
      const std::u16string page = PackHtml(source.text, options);
      result.bytes = EncodeOutput(page, source.encoding, source.byteOrderMark);
      return result;
    }
    trimlet packer;
    if (!packer.AddSource(source.text, 0, progress)) {
      result.status = PackStatus::EmptySource;
      return result;
    }
    result.identifiers = IdentifierTable().Count();
    RunStages(packer, options);
    const std::optional<std::u16string> packed = packer.Output();
    if (!packed) {
      result.status = PackStatus::OutOfMemory;
      return result;
    }
    result.bytes = EncodeOutput(*packed, source.encoding, source.byteOrderMark);
  } catch (const std::bad_alloc&) {
    result = PackResult{};
    result.status = PackStatus::OutOfMemory;
  }
  return result;
}

}  // namespace pack
