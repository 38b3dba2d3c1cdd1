// Packing a whole file's bytes: the route both front ends take for one input.
#pragma once

#include <cstdint>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

#include "lexer.h"
#include "packer.h"
#include "source_text.h"


namespace platform {
class FileBytes;
}

namespace pack {

struct PackOptions {
  bool encodeStrings = true;
  bool changeVariableNames = true;
  SourceGoal goal = SourceGoal::Detect;  // how a script file is read
  KeepComments comments = KeepComments::Legal;
  // How the bytes are read, instead of the detection (--charset).
  std::optional<TextEncoding> charset = std::nullopt;
  // The file's name says it is a page (.html, .htm, .xhtml), whatever it
  // starts with; `xhtml`: an XHTML page, whose script blocks keep their CDATA
  // sections and get no "<!--" around them (also found from an XML declaration).
  bool page = false;
  bool xhtml = false;
};

// Binds the names of the sources, then runs the stages the options switch on:
// renaming, then string encoding.
void RunStages(trimlet& packer, const PackOptions& options);

enum class PackStatus { Ok, EmptySource, OutOfMemory, InvalidSource };

struct PackResult {
  PackStatus status = PackStatus::Ok;
  bool html = false;        // the input was an HTML page
  int32_t identifiers = 0;  // distinct identifiers of a script, before renaming
  std::string bytes;        // the packed file, in the input's encoding
  std::optional<SourceProblem> problem;  // InvalidSource: where and why
  // A page's script blocks that are not JavaScript and were kept as they were.
  std::vector<SourceProblem> keptBlocks;
};

struct SourceForm;

// Scans a file's bytes into `packer` as its source `source`, `form` being what
// DetectSource found in them: ASCII and UTF-8 from the bytes themselves, code
// page 1251 decoded first. When `owner` holds the bytes, they are let go as soon
// as they are no longer needed. False when there was nothing to scan, or when
// the source is not JavaScript (the packer's Problem() tells why).
bool AddFileBytes(trimlet& packer, const SourceForm& form, int32_t source,
                  ProgressCallback progress, platform::FileBytes* owner = nullptr,
                  SourceGoal goal = SourceGoal::Detect);

// Packs one file: an HTML page's script blocks, or the whole text as a script.
PackResult PackDocument(std::string_view fileBytes, const PackOptions& options,
                        ProgressCallback progress = nullptr);

// The same, releasing the file's bytes as soon as they are decoded, so that a
// large file is not held twice while it is packed.
PackResult PackTakingBytes(platform::FileBytes&& fileBytes, const PackOptions& options,
                           ProgressCallback progress = nullptr);

}  // namespace pack
