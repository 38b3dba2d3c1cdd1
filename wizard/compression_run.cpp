#include "compression_run.h"

#include <cstdio>

#include "messages.h"

namespace wizard {

std::vector<std::string> CollectSources(const FilesPageData& files) {
  if (files.singleFileMode) return {files.singleFileName};
  return files.groupFiles;
}

// The joint is not tidied: the destination C:\ and the source D:\x\y.js give
// C:\ followed by \y.js, two backslashes in a row.
std::optional<std::string> MakeOutputName(const std::string& source, const std::string& destination,
                                          bool singleFileMode) {
  const size_t slash = source.rfind('\\');
  if (slash == std::string::npos) return std::nullopt;
  if (singleFileMode) return destination;
  return destination + source.substr(slash);
}

std::optional<std::string> PackText(std::string_view bytes, const pack::PackOptions& options) {
  try {
    pack::PackResult result = pack::PackDocument(bytes, options);
    switch (result.status) {
      case pack::PackStatus::Ok:
        return std::move(result.bytes);
      case pack::PackStatus::EmptySource:
        return std::string();
      case pack::PackStatus::OutOfMemory:
      case pack::PackStatus::InvalidSource:  // not JavaScript: nothing is written
        return std::nullopt;
    }
  } catch (...) {
    // A fault inside the engine is this file's packing error.
  }
  return std::nullopt;
}

void PackFile(WizardUi& ui, const std::string& source, const std::string& output,
              const pack::PackOptions& options, PackFunction packText) {
  std::string bytes;
  const FileStatus read = ui.ReadWholeFile(source, bytes);
  if (!read.ok) {
    ui.ShowMessage(Page::Files, FormatFileMessage(kReadError, source, read.errorCode),
                   kWarningCaption, BoxIcon::Warning);
    return;
  }
  std::optional<std::string> packed;
  try {
    packed = packText(bytes, options);
  } catch (...) {
    // Whatever leaves the engine is a packing error of this file, not the end
    // of the run.
  }
  if (!packed) {
    ui.ShowMessage(Page::Files, kPackingError, kErrorCaption, BoxIcon::Error);
    return;
  }
  const FileStatus written = ui.WriteWholeFile(output, *packed);
  if (!written.ok) {
    ui.ShowMessage(Page::Files, FormatFileMessage(kWriteError, output, written.errorCode),
                   kWarningCaption, BoxIcon::Warning);
  }
}

std::string FormatFileMessage(const char* format, const std::string& name, uint32_t errorCode) {
  const int code = static_cast<int>(errorCode);
  const int size = std::snprintf(nullptr, 0, format, name.c_str(), code);
  if (size <= 0) return format;
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(&text[0], text.size(), format, name.c_str(), code);
  text.resize(static_cast<size_t>(size));
  return text;
}

}  // namespace wizard
