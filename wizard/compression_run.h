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

// Where a source's packed text goes: the destination itself for a single file,
// destination + "\name.js" for a group member C:\dir\name.js. Nothing for a
// source without a backslash ("name.js" typed without its folder).
std::optional<std::string> MakeOutputName(const std::string& source, const std::string& destination,
                                          bool singleFileMode);

// PackText (declared with PackFunction) gives the packed file for a file's
// bytes exactly as the console program writes it; an empty source gives the
// empty text.

// Reads, packs and writes one file; each failure is one box, and then the
// output is left as it was.
void PackFile(WizardUi& ui, const std::string& source, const std::string& output,
              const pack::PackOptions& options, PackFunction packText = PackText);

// "File reading error : <%s> error = %d\n" and its writing twin, filled in.
std::string FormatFileMessage(const char* format, const std::string& name, uint32_t errorCode);

}  // namespace wizard
