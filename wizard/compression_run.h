// The run behind "Compress": which files, where each one goes, and packing one
// file through the engine with its failures reported in boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pack_document.h"
#include "wizard_state.h"
#include "wizard_ui.h"

namespace wizard {

// The single file, or the group in the order of addition.
std::vector<std::string> CollectSources(const FilesPageData& files);

// Whether a Windows path is absolute: C:\... or \\server\share\...
bool IsFullPath(const std::string& path);

// Whether two Windows paths name one file: letter case is not told apart.
bool SamePath(const std::string& first, const std::string& second);

// Where a source's packed text goes: the destination itself for a single file,
// destination + "\name.js" for a group member C:\dir\name.js; a destination
// that is no full path is taken from the source's folder. Nothing for a
// source without a backslash ("name.js" typed without its folder).
std::optional<std::string> MakeOutputName(const std::string& source, const std::string& destination,
                                          bool singleFileMode);

// PackText (declared with PackFunction) gives the packed file for a file's
// bytes exactly as the console program writes it; an empty source gives the
// empty text.

// Reads, packs and writes one file; on a failure the output is left as it was.
FileOutcome PackFile(WizardUi& ui, const std::string& source, const std::string& output,
                     const pack::PackOptions& options, PackFunction packText = PackText);

// The one box that ends a run.
struct RunSummary {
  std::string text;
  std::string caption;
  BoxIcon icon;
};

// All packed: "Compression completed." and where each output went, with the
// information icon. Otherwise how many were packed, each file that was not
// with its reason, and the outputs written, with a warning icon (an error
// icon when none was packed).
// A cancelled run also lists the files it did not start (`notStarted`),
// which were left as they were.
RunSummary SummarizeRun(const std::vector<FileOutcome>& outcomes,
                        const std::vector<std::string>& notStarted = {});

// A printf form with one %s filled in.
std::string Formatted(const char* format, const std::string& text);

}  // namespace wizard
