#include "command_line.h"

namespace cli {
namespace {

bool IsOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// Takes the option `word` into `line`; false when it is no option of ours.
// `next` is the word after it, which -o and --outfile take as their value.
bool TakeOption(const std::string& word, const std::string* next, size_t& used, CommandLine& line,
                bool& outputGiven) {
  if (word == "-nse" || word == "/nse") {
    line.options.encodeStrings = false;
  } else if (word == "-nvc" || word == "/nvc") {
    line.options.changeVariableNames = false;
  } else if (word == "--module" || word == "--script") {
    line.options.goal = word == "--module" ? pack::SourceGoal::Module : pack::SourceGoal::Script;
    line.goalGiven = true;
  } else if (word.compare(0, 11, "--comments=") == 0) {
    const std::string which = word.substr(11);
    if (which == "none" || which == "legal" || which == "all") {
      line.options.comments = which == "none"    ? pack::KeepComments::None
                              : which == "legal" ? pack::KeepComments::Legal
                                                 : pack::KeepComments::All;
    } else {
      line.error = "--comments takes none, legal or all, not " + which;
    }
  } else if (word.compare(0, 10, "--charset=") == 0) {
    const std::string which = word.substr(10);
    if (which == "utf-8" || which == "utf8") {
      line.options.charset = pack::TextEncoding::Utf8;
    } else if (which == "cp1251" || which == "windows-1251") {
      line.options.charset = pack::TextEncoding::Cp1251;
    } else if (which == "latin1" || which == "iso-8859-1") {
      line.options.charset = pack::TextEncoding::Latin1;
    } else {
      line.error = "--charset takes utf-8, cp1251 or latin1, not " + which;
    }
  } else if (word == "--source-map" || word == "--source-map=file" || word == "--source-map=inline") {
    line.sourceMap = word == "--source-map=inline" ? SourceMapKind::Inline : SourceMapKind::File;
  } else if (word.compare(0, 13, "--source-map=") == 0) {
    line.error = "--source-map takes file or inline, not " + word.substr(13);
  } else if (word == "-h" || word == "--help") {
    line.help = true;
  } else if (word == "--version") {
    line.version = true;
  } else if (word == "-q" || word == "--quiet") {
    line.quiet = true;
  } else if (word == "-o" || word == "--outfile" || word.compare(0, 10, "--outfile=") == 0) {
    const bool joined = word.size() > 9 && word[9] == '=';
    if (outputGiven) {
      line.error = "the output is named twice (" + word + ")";
    } else if (!joined && next == nullptr) {
      line.error = word + " needs a file name after it";
    } else {
      line.output = joined ? word.substr(10) : *next;
      used = joined ? 0 : 1;
      outputGiven = true;
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  line.nothingGiven = arguments.empty();
  std::vector<std::string> names;
  bool outputGiven = false;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
    const std::string& word = arguments[i];
    if (optionsEnded || (!IsOption(word) && word != "/nse" && word != "/nvc")) {
      names.push_back(word);
    } else if (word == "--") {
      optionsEnded = true;
    } else {
      size_t used = 0;
      const std::string* next = i + 1 < arguments.size() ? &arguments[i + 1] : nullptr;
      if (!TakeOption(word, next, used, line, outputGiven)) line.error = "unknown option " + word;
      i += used;
    }
  }
  if (!line.error.empty() || line.help || line.version || line.nothingGiven) return line;
  if (!outputGiven && names.size() >= 2) {
    line.output = names.back();
    names.pop_back();
  } else if (!outputGiven) {
    line.error = names.empty() ? "no input file named" : "no output file named (the last name, or -o FILE)";
    return line;
  }
  if (names.empty()) line.error = "no input file named";
  if (line.sourceMap == SourceMapKind::File && line.output == "-") {
    line.error = "--source-map writes OUTPUT.map beside the output: name an output file, or use --source-map=inline";
  }
  line.inputs = std::move(names);
  return line;
}

}  // namespace cli
