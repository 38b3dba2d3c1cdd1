// trimlet: packs one JavaScript file or HTML page into another, or several
// JavaScript files into one.
//   trimlet [options] input output
//   trimlet [options] input1 input2 ... output
//   trimlet [options] -o output input...
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "command_line.h"
#include "console.h"
#include "messages.h"
#include "pack_document.h"
#include "packer.h"
#include "platform.h"
#include "source_text.h"

namespace {

using cli::CommandLine;
using cli::Console;

// The console the engine's progress callback draws on: the callback is a
// plain function.
Console* progressConsole = nullptr;

void PrintProgress(int32_t position) {
  if (progressConsole != nullptr) progressConsole->Progress(position);
}

std::string DisplayName(const std::string& name) { return name == "-" ? cli::kStandardInputName : name; }

enum class ReadOutcome { Read, Unreadable, TooLarge };

// Reads an input ("-": standard input), or says why it cannot.
ReadOutcome ReadSourceFile(Console& console, const std::string& name, platform::FileBytes& bytes) {
  const std::string shown = DisplayName(name);
  console.StartFile(shown, 0);
  const platform::FileResult read =
      name == "-" ? platform::ReadStandardInput(bytes) : platform::ReadWholeFile(name, bytes);
  if (!read.ok) console.Detail(cli::kCause, shown.c_str(), read.error.c_str());
  if (read.tooLarge) {
    console.Failure("%s", cli::kOutOfMemory);
    return ReadOutcome::TooLarge;
  }
  if (read.ok && bytes.Size() == 0) console.Detail(cli::kCause, shown.c_str(), "empty file");
  if (!read.ok || bytes.Size() == 0) {
    console.Failure(cli::kReadError, shown.c_str());
    return ReadOutcome::Unreadable;
  }
  console.StartFile(shown, static_cast<int32_t>(bytes.Size()));
  return ReadOutcome::Read;
}

int WriteOutputFile(Console& console, const std::string& name, const std::string& bytes) {
  const platform::FileResult written = platform::WriteWholeFile(name, bytes);
  if (written.ok) return cli::kExitOk;
  const std::string shown = name == "-" ? "standard output" : name;
  console.Detail(cli::kCause, shown.c_str(), written.error.c_str());
  console.Failure(cli::kWriteError, shown.c_str());
  return cli::kExitUnwritable;
}

bool EndsWith(const std::string& name, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return name.size() >= n && name.compare(name.size() - n, n, suffix) == 0;
}

std::string LowerCase(std::string name) {
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return name;
}

// A name ending in .html, .htm or .xhtml names a page, whatever it starts with.
bool IsPageName(const std::string& name) {
  const std::string lower = LowerCase(name);
  return EndsWith(lower, ".html") || EndsWith(lower, ".htm") || EndsWith(lower, ".xhtml");
}

bool IsXhtmlName(const std::string& name) { return EndsWith(LowerCase(name), ".xhtml"); }

// How a file is read: as the options say, else a .mjs file as a module, a .cjs
// file as node's CommonJS module, and any other as whichever its text is.
pack::SourceGoal GoalOf(const CommandLine& line, const std::string& name) {
  if (line.goalGiven) return line.options.goal;
  if (EndsWith(name, ".mjs")) return pack::SourceGoal::Module;
  if (EndsWith(name, ".cjs")) return pack::SourceGoal::CommonJs;
  return pack::SourceGoal::Detect;
}

// file:line:col: error: what, then the line and a caret under the column. Of
// a long line (packed code is one) only the 60 characters before the column
// and the 60 after it are shown.
void PrintProblem(Console& console, const char* format, const std::string& name,
                  const pack::SourceProblem& p) {
  console.Detail(format, DisplayName(name).c_str(), p.line, p.column, p.message.c_str());
  constexpr size_t kAround = 60;
  size_t column = static_cast<size_t>(p.column > 0 ? p.column - 1 : 0);
  std::string line = p.lineText;
  if (column > kAround && column <= line.size()) {
    line = line.substr(column - kAround);
    column = kAround;
  }
  if (line.size() > column + kAround) line.resize(column + kAround);
  std::string caret;
  for (size_t i = 0; i < column && i < line.size(); ++i) caret.push_back(line[i] == '\t' ? '\t' : ' ');
  console.Detail("%s\n%s^\n", line.c_str(), caret.c_str());
}

int PackSingleFile(Console& console, const CommandLine& line) {
  const std::string& input = line.inputs[0];
  const std::string shown = DisplayName(input);
  platform::FileBytes bytes;
  switch (ReadSourceFile(console, input, bytes)) {
    case ReadOutcome::TooLarge: return cli::kExitOutOfMemory;
    case ReadOutcome::Unreadable: return cli::kExitUnreadable;
    case ReadOutcome::Read: break;
  }
  pack::PackOptions options = line.options;
  options.goal = GoalOf(line, input);
  options.page = IsPageName(input);
  options.xhtml = IsXhtmlName(input);
  const pack::PackResult result = pack::PackTakingBytes(std::move(bytes), options, PrintProgress);
  switch (result.status) {
    case pack::PackStatus::EmptySource:
      console.Failure(cli::kFailed, shown.c_str());
      return cli::kExitFailed;
    case pack::PackStatus::OutOfMemory:
      console.Failure("%s", cli::kOutOfMemory);
      return cli::kExitOutOfMemory;
    case pack::PackStatus::InvalidSource:
      console.Failure(cli::kFailed, shown.c_str());
      PrintProblem(console, cli::kSyntaxError, input, *result.problem);
      return cli::kExitInvalid;
    case pack::PackStatus::Ok:
      break;
  }
  for (const pack::SourceProblem& kept : result.keptBlocks) PrintProblem(console, cli::kBlockKept, input, kept);
  console.Note(cli::kSingleOk, shown.c_str());
  if (!result.html) console.Note(cli::kIdentifiers, result.identifiers);
  return WriteOutputFile(console, line.output, result.bytes);
}

// The first input that is also the output, or null.
const std::string* InputThatIsOutput(const CommandLine& line) {
  if (line.output == "-") return nullptr;
  for (const std::string& input : line.inputs) {
    if (input == line.output || platform::SameFile(input, line.output)) return &input;
  }
  return nullptr;
}

// The file part of a path.
std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// How a source map names an input: its path from the map's folder when both
// are relative to the working folder, else the path as it was given.
std::string MapSourceName(const std::string& input, const std::string& output) {
  if (input == "-") return cli::kStandardInputName;
  const auto absolute = [](const std::string& p) { return !p.empty() && (p[0] == '/' || p[0] == '\\' || (p.size() > 1 && p[1] == ':')); };
  if (absolute(input) || absolute(output)) return input;
  const auto parts = [](const std::string& p) {
    std::vector<std::string> out;
    size_t from = 0;
    for (size_t i = 0; i <= p.size(); ++i) {
      if (i < p.size() && p[i] != '/' && p[i] != '\\') continue;
      const std::string part = p.substr(from, i - from);
      if (!part.empty() && part != ".") out.push_back(part);
      from = i + 1;
    }
    return out;
  };
  std::vector<std::string> folder = parts(output);
  if (!folder.empty()) folder.pop_back();
  const std::vector<std::string> path = parts(input);
  size_t common = 0;
  while (common < folder.size() && common + 1 < path.size() && folder[common] == path[common] && folder[common] != "..") ++common;
  std::string name;
  for (size_t k = common; k < folder.size(); ++k) name += "../";
  for (size_t k = common; k < path.size(); ++k) name += path[k] + (k + 1 < path.size() ? "/" : "");
  return name;
}

// Writes the packed bytes, and with --source-map the map beside them first.
int WritePacked(Console& console, const CommandLine& line, const trimlet& packer,
                pack::TextEncoding encoding, bool byteOrderMark, const std::vector<pack::MapSource>& sources) {
  if (line.sourceMap == cli::SourceMapKind::None) {
    const std::optional<std::string> packed = packer.OutputBytes(encoding, byteOrderMark);
    if (!packed) {
      console.Failure("%s", cli::kOutOfMemory);
      return cli::kExitOutOfMemory;
    }
    return WriteOutputFile(console, line.output, *packed);
  }
  const std::string file = line.output == "-" ? "" : BaseName(line.output);
  const std::string url = line.sourceMap == cli::SourceMapKind::File ? file + ".map" : "";
  std::string map;
  const std::optional<std::string> packed =
      packer.OutputWithSourceMap(encoding, byteOrderMark, file, sources, url, map);
  if (!packed) {
    console.Failure("%s", cli::kOutOfMemory);
    return cli::kExitOutOfMemory;
  }
  if (line.sourceMap == cli::SourceMapKind::File) {
    const int written = WriteOutputFile(console, line.output + ".map", map);
    if (written != cli::kExitOk) return written;
  }
  return WriteOutputFile(console, line.output, *packed);
}

// The packing of one or more scripts through one packer here.
struct Scripts {
  trimlet packer;
  // Written as the first input is, or as UTF-8 once any input is.
  pack::TextEncoding encoding = pack::TextEncoding::Cp1251;
  bool byteOrderMark = false;
  std::vector<pack::MapSource> sources;  // with --source-map
};

// Reads input `i` and adds it to the packer; the exit code it calls for.
int AddScript(Console& console, const CommandLine& line, size_t i, Scripts& scripts) {
  const std::string& input = line.inputs[i];
  const bool single = line.inputs.size() == 1;
  platform::FileBytes bytes;
  const ReadOutcome outcome = ReadSourceFile(console, input, bytes);
  if (outcome == ReadOutcome::TooLarge) return cli::kExitOutOfMemory;
  if (outcome == ReadOutcome::Unreadable) return cli::kExitUnreadable;
  const pack::SourceForm form = pack::DetectSource(bytes.View(), line.options.charset);
  const std::string shown = DisplayName(input);
  if (IsPageName(input) || pack::IsHtmlPage(form)) {
    console.Failure(cli::kFailed, shown.c_str());
    console.Detail(single ? cli::kPageWithMap : cli::kPageInGroup, shown.c_str());
    return cli::kExitUsage;
  }
  if (i == 0) {
    scripts.encoding = form.encoding;
    scripts.byteOrderMark = form.byteOrderMark;
  } else if (form.encoding == pack::TextEncoding::Utf8 && !pack::IsUtf16(scripts.encoding)) {
    scripts.encoding = pack::TextEncoding::Utf8;
  }
  const auto number = static_cast<int32_t>(i + 1);
  if (line.sourceMap != cli::SourceMapKind::None) {
    scripts.sources.push_back(pack::MapSource{number, MapSourceName(input, line.output), pack::DecodeSource(form).text});
  }
  trimlet& packer = scripts.packer;
  if (pack::AddFileBytes(packer, form, number, PrintProgress, &bytes, GoalOf(line, input))) {
    console.Note(single ? cli::kSingleOk : cli::kGroupOk, shown.c_str());
    if (single) console.Note(cli::kIdentifiers, packer.Texts().identifiers.Count());
    return cli::kExitOk;
  }
  console.Failure(cli::kFailed, shown.c_str());
  if (!packer.Problem()) return cli::kExitFailed;
  PrintProblem(console, cli::kSyntaxError, input, *packer.Problem());
  return cli::kExitInvalid;
}

// Every input is read and packed, in order, into one output, through one
// packer here (several inputs, or one with a source map); nothing is written
// unless every input could be.
int PackScripts(Console& console, const CommandLine& line) {
  if (line.inputs.size() > 1 && InputThatIsOutput(line) != nullptr) {
    console.Detail(cli::kOutputIsInput, line.output.c_str());
    return cli::kExitUsage;
  }
  Scripts scripts;
  scripts.packer.SetKeptComments(line.options.comments);
  if (line.sourceMap != cli::SourceMapKind::None) scripts.packer.KeepPositions();
  int status = cli::kExitOk;
  for (size_t i = 0; i < line.inputs.size(); ++i) {
    const int added = AddScript(console, line, i, scripts);
    if (added == cli::kExitOutOfMemory) return added;
    if (status == cli::kExitOk) status = added;
  }
  if (status != cli::kExitOk) {
    if (line.inputs.size() > 1) {
      console.Detail(cli::kNothingWritten, line.output == "-" ? "standard output" : line.output.c_str());
    }
    return status;
  }
  pack::RunStages(scripts.packer, line.options);
  return WritePacked(console, line, scripts.packer, scripts.encoding, scripts.byteOrderMark, scripts.sources);
}

int Run(const std::string& program, const std::vector<std::string>& arguments) {
  const CommandLine line = cli::ReadCommandLine(arguments);
  const char* name = program.c_str();
  const bool answerOnly = !line.error.empty() || line.version || line.help || line.nothingGiven;
  Console console(line.output == "-" && !answerOnly, line.quiet && !answerOnly);
  if (!line.error.empty()) {
    console.Detail(cli::kUsageError, name, line.error.c_str(), name);
    return cli::kExitUsage;
  }
  if (line.version) {
    console.Note(cli::kVersion, TRIMLET_VERSION);
    return cli::kExitOk;
  }
  if (line.help || line.nothingGiven) {
    if (line.nothingGiven) console.Note(cli::kBanner, cli::kProductName);
    if (line.nothingGiven) console.Note("%s", cli::kNotice);
    console.Note(cli::kUsage, name, name, name);
    return cli::kExitOk;
  }
  progressConsole = &console;
  console.Note(cli::kBanner, cli::kProductName);
  console.Note("%s", cli::kNotice);
  const bool alone = line.inputs.size() == 1 && line.sourceMap == cli::SourceMapKind::None;
  const int code = alone ? PackSingleFile(console, line) : PackScripts(console, line);
  progressConsole = nullptr;
  return code;
}

// The big buffers come and go one after another: the file's bytes, its UTF-16
// text, the tokens, the bracket matches, the output. Kept in the heap instead
// of mapped one by one, each reuses the pages that an earlier one freed rather
// than having fresh ones faulted in and zeroed: some 6% of the time on a 10 MB
// file, for 8 MB more at the peak.
void KeepBigBuffersInTheHeap() {
#if defined(__GLIBC__)
  constexpr int kLargestHeapBlock = 32 << 20;  // the most glibc takes
  mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  KeepBigBuffersInTheHeap();
  platform::GuardAgainstSignals();
  const std::string program = argc > 0 && argv[0][0] != '\0' ? argv[0] : "trimlet";
  int code;
  try {
    code = Run(program, platform::ProgramArguments(argc, argv));
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s", cli::kOutOfMemory);
    code = cli::kExitOutOfMemory;
  }
  std::fflush(stdout);
  return code;
}
