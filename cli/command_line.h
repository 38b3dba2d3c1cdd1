// What the console program is asked to do, read from its arguments.
#pragma once

#include <string>
#include <vector>

#include "pack_document.h"

namespace cli {

enum class SourceMapKind { None, File, Inline };

struct CommandLine {
  std::vector<std::string> inputs;  // "-" reads standard input
  std::string output;               // "-" writes standard output
  pack::PackOptions options;
  bool goalGiven = false;  // --module or --script
  bool help = false;
  bool version = false;
  bool quiet = false;
  SourceMapKind sourceMap = SourceMapKind::None;  // --source-map[=inline]
  bool nothingGiven = false;  // no argument at all
  std::string error;          // what is wrong with the arguments; empty when nothing is
};

// Options are recognised wherever they stand, up to "--"; every other word is
// a file name. With -o, every name is an input; without it the last name is
// the output and the others the inputs.
//   trimlet -nse in.js out.js     trimlet a.js b.js -o all.js     trimlet -o - -- -odd.js
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

}  // namespace cli
