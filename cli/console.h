// Where the console program's messages go. Its notes (banner, results) and
// failures go to standard output, or to standard error when the packed text
// itself goes to standard output; -q leaves the notes out. The progress line
// is for a person watching: drawn on standard error only when that is a
// terminal, at most ten times a second, and erased before the next message,
// so that a log holds each file's result line once.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

namespace cli {

#define CLI_PRINTF(a, b) __attribute__((format(printf, a, b)))

class Console {
 public:
  Console(bool messagesToErrorStream, bool quiet);
  // A note of the run: the banner, a file's result, the identifier count.
  void Note(const char* format, ...) CLI_PRINTF(2, 3);
  // That something failed: printed even with -q.
  void Failure(const char* format, ...) CLI_PRINTF(2, 3);
  // The details of a failure (its cause, where a syntax error stands): always
  // on standard error.
  void Detail(const char* format, ...) CLI_PRINTF(2, 3);
  void StartFile(const std::string& name, int32_t size);
  void Progress(int32_t position);

 private:
  void Print(std::FILE* stream, const char* format, std::va_list args);
  void EraseProgress();

  std::FILE* messages_;
  bool quiet_;
  bool drawsProgress_;
  std::string fileName_;
  int32_t fileSize_ = 0;
  size_t progressWidth_ = 0;  // of the line on screen; 0 when none is
  bool drawnForFile_ = false;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace cli
