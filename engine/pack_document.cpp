#include "pack_document.h"

#include <new>
#include <utility>

#include "html_script.h"
#include "packer.h"
#include "platform.h"
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
    result.problem = packer.Problem();
    result.status = result.problem ? PackStatus::InvalidSource : PackStatus::EmptySource;
    return result;
  }
  result.identifiers = packer.Texts().identifiers.Count();
  RunStages(packer, options);
  std::optional<std::string> packed = packer.OutputBytes(encoding, byteOrderMark);
  if (!packed) {
    result.status = PackStatus::OutOfMemory;
    return result;
  }
  result.bytes = std::move(*packed);
  return result;
}

// Lets go of the file's bytes when the caller handed them over.
void Release(platform::FileBytes* owner) {
  if (owner != nullptr) owner->Release();
}

PackResult PackPage(const SourceForm& form, const PackOptions& options,
                    platform::FileBytes* owner) {
  PackOptions pageOptions = options;
  pageOptions.xhtml = options.xhtml || IsXmlPage(form);
  const SourceText source = DecodeSource(form);
  Release(owner);
  PackResult result;
  result.html = true;
  const std::u16string page = PackHtml(source.text, pageOptions, &result.keptBlocks);
  result.bytes = EncodeOutput(page, source.encoding, source.byteOrderMark);
  return result;
}

PackResult PackScript(const SourceForm& form, platform::FileBytes* owner,
                      const PackOptions& options, ProgressCallback progress) {
  trimlet packer;
  packer.SetKeptComments(options.comments);
  const bool added = AddFileBytes(packer, form, 0, progress, owner, options.goal);
  return PackScanned(packer, added, form.encoding, form.byteOrderMark, options);
}

PackResult PackBytes(std::string_view fileBytes, platform::FileBytes* owner,
                     const PackOptions& options, ProgressCallback progress) {
  const SourceForm form = DetectSource(fileBytes, options.charset);
  if (options.page || IsHtmlPage(form)) return PackPage(form, options, owner);
  return PackScript(form, owner, options, progress);
}

PackResult OutOfMemory() {
  PackResult result;
  result.status = PackStatus::OutOfMemory;
  return result;
}

}  // namespace

bool AddFileBytes(trimlet& packer, const SourceForm& form, int32_t source,
                  ProgressCallback progress, platform::FileBytes* owner, SourceGoal goal) {
  if (form.utf8Body) {
    const bool added = packer.AddSourceUtf8(form.body, source, progress, goal);
    Release(owner);
    return added;
  }
  std::u16string text = DecodeSource(form).text;
  Release(owner);
  return packer.AddSource(text, source, progress, goal);
}

PackResult PackDocument(std::string_view fileBytes, const PackOptions& options,
                        ProgressCallback progress) {
  try {
    return PackBytes(fileBytes, nullptr, options, progress);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

PackResult PackTakingBytes(platform::FileBytes&& fileBytes, const PackOptions& options,
                           ProgressCallback progress) {
  try {
    return PackBytes(fileBytes.View(), &fileBytes, options, progress);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

}  // namespace pack
