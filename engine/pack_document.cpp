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

PackResult PackSource(SourceText source, const PackOptions& options, ProgressCallback progress) {
  PackResult result;
  if (IsHtmlPage(source)) {
    result.html = true;
    const std::u16string page = PackHtml(source.text, options);
    result.bytes = EncodeOutput(page, source.encoding, source.byteOrderMark);
    return result;
  }
  trimlet packer;
  const bool added = packer.AddSource(source.text, 0, progress);
  std::u16string().swap(source.text);  // the tokens hold everything from here on
  if (!added) {
    result.status = PackStatus::EmptySource;
    return result;
  }
  result.identifiers = IdentifierTable().Count();
  RunStages(packer, options);
  std::optional<std::string> packed = packer.OutputBytes(source.encoding, source.byteOrderMark);
  if (!packed) {
    result.status = PackStatus::OutOfMemory;
    return result;
  }
  result.bytes = std::move(*packed);
  return result;
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
    return PackSource(DecodeSource(fileBytes), options, progress);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

PackResult PackTakingBytes(std::string&& fileBytes, const PackOptions& options,
                           ProgressCallback progress) {
  try {
    SourceText source = DecodeSource(fileBytes);
    std::string().swap(fileBytes);
    return PackSource(std::move(source), options, progress);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

}  // namespace pack
