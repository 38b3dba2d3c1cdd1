// trimlet: packs one JavaScript file or HTML page into another, or several
// JavaScript files into one.
//   trimlet [-nse] [-nvc] input output
//   trimlet [-nse] [-nvc] input1 input2 ... output
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "messages.h"
#include "pack_document.h"
#include "packer.h"
#include "platform.h"
#include "source_text.h"

namespace {

std::string currentFileName;
int32_t currentFileSize = 0;

// The fixed parts of the progress line for the current file.
std::string progressHead;
std::string progressTail;

std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Formatted(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  std::vsnprintf(&text[0], text.size() + 1, format, again);
  va_end(again);
  return text;
}

void SetCurrentFile(const std::string& name, int32_t size) {
  currentFileName = name;
  currentFileSize = size;
  progressHead = Formatted(cli::kProgressHead, '\r', currentFileName.c_str());
  progressTail = Formatted(cli::kProgressTail, currentFileSize);
}

void PrintProgress(int32_t position) {
  static std::string line;
  char digits[16];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, position);
  line.assign(progressHead);
  line.append(digits, end.ptr);
  line.append(progressTail);
  std::fwrite(line.data(), 1, line.size(), stdout);
}

enum class ReadOutcome { Read, Unreadable, TooLarge };

// Reads an input, or says why it cannot.
ReadOutcome ReadSourceFile(const std::string& name, platform::FileBytes& bytes) {
  SetCurrentFile(name, 0);
  const platform::FileResult read = platform::ReadWholeFile(name, bytes);
  if (!read.ok) std::fprintf(stderr, cli::kCause, name.c_str(), read.error.c_str());
  if (read.tooLarge) {
    std::printf("%s", cli::kOutOfMemory);
    return ReadOutcome::TooLarge;
  }
  if (read.ok && bytes.Size() == 0) std::fprintf(stderr, cli::kCause, name.c_str(), "empty file");
  if (!read.ok || bytes.Size() == 0) {
    std::printf(cli::kReadError, name.c_str());
    return ReadOutcome::Unreadable;
  }
  SetCurrentFile(name, static_cast<int32_t>(bytes.Size()));
  return ReadOutcome::Read;
}

int WriteOutputFile(const std::string& name, const std::string& bytes) {
  const platform::FileResult written = platform::WriteWholeFile(name, bytes);
  if (written.ok) return cli::kExitOk;
  std::fprintf(stderr, cli::kCause, name.c_str(), written.error.c_str());
  std::printf(cli::kWriteError, name.c_str());
  return cli::kExitUnwritable;
}

struct Arguments {
  std::vector<std::string> files;  // program name first, option words taken out
  pack::PackOptions options;
  bool goalGiven = false;  // --module or --script
};

bool EndsWith(const std::string& name, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return name.size() >= n && name.compare(name.size() - n, n, suffix) == 0;
}

// How a file is read: as the options say, else a .mjs file as a module, a .cjs
// file as node's CommonJS module, and any other as whichever its text is.
pack::SourceGoal GoalOf(const Arguments& args, const std::string& name) {
  if (args.goalGiven) return args.options.goal;
  if (EndsWith(name, ".mjs")) return pack::SourceGoal::Module;
  if (EndsWith(name, ".cjs")) return pack::SourceGoal::CommonJs;
  return pack::SourceGoal::Detect;
}

// file:line:col: error: what, then the line and a caret under the column. Of
// a long line (packed code is one) only the 60 characters before the column
// and the 60 after it are shown.
void PrintProblem(const char* format, const std::string& name, const pack::SourceProblem& p) {
  std::fprintf(stderr, format, name.c_str(), p.line, p.column, p.message.c_str());
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
  std::fprintf(stderr, "%s\n%s^\n", line.c_str(), caret.c_str());
}

Arguments FilterArguments(int argc, char** argv) {
  Arguments args;
  for (int i = 0; i < argc; ++i) {
    const std::string word = argv[i];
    if (i > 0 && (word == "-nse" || word == "/nse")) {
      args.options.encodeStrings = false;
    } else if (i > 0 && (word == "-nvc" || word == "/nvc")) {
      args.options.changeVariableNames = false;
    } else if (i > 0 && (word == "--module" || word == "--script")) {
      args.options.goal = word == "--module" ? pack::SourceGoal::Module : pack::SourceGoal::Script;
      args.goalGiven = true;
    } else {
      args.files.push_back(word);
    }
  }
  return args;
}

int PackSingleFile(const Arguments& args) {
  const std::string& input = args.files[1];
  platform::FileBytes bytes;
  switch (ReadSourceFile(input, bytes)) {
    case ReadOutcome::TooLarge: return cli::kExitOutOfMemory;
    case ReadOutcome::Unreadable: return cli::kExitUnreadable;
    case ReadOutcome::Read: break;
  }
  pack::PackOptions options = args.options;
  options.goal = GoalOf(args, input);
  const pack::PackResult result = pack::PackTakingBytes(std::move(bytes), options, PrintProgress);
  switch (result.status) {
    case pack::PackStatus::EmptySource:
      std::printf(cli::kFailed, '\r', input.c_str());
      return cli::kExitFailed;
    case pack::PackStatus::OutOfMemory:
      std::printf(cli::kOutOfMemory);
      return cli::kExitOutOfMemory;
    case pack::PackStatus::InvalidSource:
      std::printf(cli::kFailed, '\r', input.c_str());
      std::fflush(stdout);
      PrintProblem(cli::kSyntaxError, input, *result.problem);
      return cli::kExitInvalid;
    case pack::PackStatus::Ok:
      break;
  }
  for (const pack::SourceProblem& kept : result.keptBlocks) {
    std::fflush(stdout);
    PrintProblem(cli::kBlockKept, input, kept);
  }
  std::printf(cli::kSingleOk, '\r', input.c_str());
  if (!result.html) std::printf(cli::kIdentifiers, result.identifiers);
  return WriteOutputFile(args.files[2], result.bytes);
}

int PackSeveralFiles(const Arguments& args) {
  const size_t n = args.files.size();
  int status = cli::kExitOk;
  bool invalid = false;
  trimlet packer;
  pack::TextEncoding encoding = pack::TextEncoding::Cp1251;
  bool byteOrderMark = false;
  for (size_t i = 1; i + 1 < n; ++i) {
    platform::FileBytes bytes;
    const ReadOutcome outcome = ReadSourceFile(args.files[i], bytes);
    if (outcome == ReadOutcome::TooLarge) return cli::kExitOutOfMemory;
    if (outcome == ReadOutcome::Unreadable) {
      status = cli::kExitUnreadable;
      continue;
    }
    const pack::SourceForm form = pack::DetectSource(bytes.View());
    if (form.encoding == pack::TextEncoding::Utf8) encoding = pack::TextEncoding::Utf8;
    if (i == 1) byteOrderMark = form.byteOrderMark;
    const bool added = pack::AddFileBytes(packer, form, static_cast<int32_t>(i), PrintProgress,
                                          &bytes, GoalOf(args, args.files[i]));
    std::printf(added ? cli::kGroupOk : cli::kFailed, '\r', args.files[i].c_str());
    if (!added && packer.Problem()) {
      std::fflush(stdout);
      PrintProblem(cli::kSyntaxError, args.files[i], *packer.Problem());
      invalid = true;
    }
  }
  // Nothing is written when an input is not JavaScript.
  if (invalid) return cli::kExitInvalid;
  pack::RunStages(packer, args.options);
  const std::optional<std::string> packed = packer.OutputBytes(encoding, byteOrderMark);
  if (!packed) {
    std::printf(cli::kOutOfMemory);
    return cli::kExitOutOfMemory;
  }
  const int written = WriteOutputFile(args.files[n - 1], *packed);
  return written != cli::kExitOk ? written : status;
}

int Run(int argc, char** argv) {
  std::printf(cli::kBanner, cli::kProductName);
  std::printf("%s", cli::kNotice);
  const Arguments args = FilterArguments(argc, argv);
  if (args.files.size() <= 2) {
    std::printf("%s", cli::kUsage);
    return cli::kExitOk;
  }
  return args.files.size() == 3 ? PackSingleFile(args) : PackSeveralFiles(args);
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
  int code;
  try {
    code = Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::printf(cli::kOutOfMemory);
    code = cli::kExitOutOfMemory;
  }
  std::fflush(stdout);
  return code;
}
