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
bool IsFullPath(const std::string& path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  return drive || path.compare(0, 2, "\\\\") == 0;
}

bool SamePath(const std::string& first, const std::string& second) {
  if (first.size() != second.size()) return false;
  for (size_t i = 0; i < first.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(first[i]) != lower(second[i])) return false;
  }
  return true;
}

std::optional<std::string> MakeOutputName(const std::string& source, const std::string& destination,
                                          bool singleFileMode) {
  const size_t slash = source.rfind('\\');
  if (slash == std::string::npos) return std::nullopt;
  const std::string target = IsFullPath(destination) ? destination : source.substr(0, slash + 1) + destination;
  if (singleFileMode) return target;
  return target + source.substr(slash);
}

PackedText PackText(std::string_view bytes, const pack::PackOptions& options,
                    pack::ProgressCallback progress) {
  try {
    pack::PackResult result = pack::PackDocument(bytes, options, progress);
    switch (result.status) {
      case pack::PackStatus::Ok:
        return {std::move(result.bytes), {}};
      case pack::PackStatus::EmptySource:
        return {std::string(), {}};
      case pack::PackStatus::OutOfMemory:
        return {std::nullopt, kOutOfMemory};
      case pack::PackStatus::InvalidSource: {  // not JavaScript: nothing is written
        const pack::SourceProblem& p = *result.problem;
        return {std::nullopt, "line " + std::to_string(p.line) + ", column " + std::to_string(p.column) +
                                  ": " + p.message};
      }
    }
  } catch (...) {
    // A fault inside the engine is this file's packing error.
  }
  return {std::nullopt, kEngineFault};
}

FileOutcome PackFile(WizardUi& ui, const std::string& source, const std::string& output,
                     const pack::PackOptions& options, PackFunction packText) {
  FileOutcome outcome{source, output, {}};
  std::string bytes;
  const FileStatus read = ui.ReadWholeFile(source, bytes);
  if (!read.ok) {
    outcome.failure = Formatted(kCannotRead, ui.ErrorText(read.errorCode));
    return outcome;
  }
  PackedText packed;
  try {
    packed = packText(bytes, options, ui.PackProgress());
  } catch (...) {
    // Whatever leaves the engine is a packing error of this file, not the end
    // of the run.
    packed = {std::nullopt, kEngineFault};
  }
  if (!packed.bytes) {
    outcome.failure = Formatted(kCannotPack, packed.problem);
    return outcome;
  }
  const FileStatus written = ui.WriteWholeFile(output, *packed.bytes);
  if (!written.ok) outcome.failure = Formatted(kCannotWrite, output) + ": " + ui.ErrorText(written.errorCode);
  return outcome;
}

RunSummary SummarizeRun(const std::vector<FileOutcome>& outcomes,
                        const std::vector<std::string>& notStarted) {
  std::string written;
  std::string failed;
  std::string skipped;
  for (const std::string& source : notStarted) skipped += "\n" + source;
  size_t packed = 0;
  for (const FileOutcome& outcome : outcomes) {
    if (outcome.failure.empty()) {
      ++packed;
      written += "\n" + outcome.output;
    } else {
      failed += "\n" + outcome.source + "\n    " + outcome.failure;
    }
  }
  const std::string outputs = written.empty() ? "" : std::string("\n\n") + kWrittenHeading + written;
  const size_t total = outcomes.size() + notStarted.size();
  if (packed == total) return {kCompleted + outputs, kNoCaption, BoxIcon::Information};
  const std::string count = std::to_string(packed) + " of " + std::to_string(total);
  const std::string head = packed == 0 ? kNonePacked : Formatted(kSomePacked, count);
  std::string text = notStarted.empty() ? head : std::string(kCancelled) + " " + head;
  if (!failed.empty()) text += std::string("\n\n") + kNotPackedHeading + failed;
  if (!skipped.empty()) text += std::string("\n\n") + kNotStartedHeading + skipped;
  text += outputs;
  return packed == 0 ? RunSummary{text, kErrorCaption, BoxIcon::Error}
                     : RunSummary{text, kWarningCaption, BoxIcon::Warning};
}

std::string Formatted(const char* format, const std::string& text) {
  const int size = std::snprintf(nullptr, 0, format, text.c_str());
  if (size <= 0) return format;
  std::string filled(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(&filled[0], filled.size(), format, text.c_str());
  filled.resize(static_cast<size_t>(size));
  return filled;
}

}  // namespace wizard
