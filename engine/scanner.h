// Turns JavaScript source text into tokens appended to one token list.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "token.h"

namespace pack {

// Told how many code units of the current text have been scanned, at each
// multiple of 1024 the scan passes, 0 included.
using ProgressCallback = void (*)(int32_t position);

// The code and length of the punctuator at the start of `text`, longest match;
// code -1 when none starts there. A "." followed by a digit starts a number.
struct PunctMatch {
  int32_t code;
  int32_t length;
};
PunctMatch MatchPunctuator(std::u16string_view text);

class Scanner {
 public:
  Scanner() = default;
  virtual ~Scanner() = default;
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  // Scans `text` and appends its tokens; false, with nothing appended, when the
  // text is empty. The text is not referenced after the call.
  bool AddSource(std::u16string_view text, int32_t sourceIndex, ProgressCallback progress);
  // The same for the bytes of well-formed UTF-8 (ASCII included), read as they
  // are: the tokens are those of the text decoded to UTF-16, and progress
  // counts UTF-16 code units as AddSource does.
  bool AddSourceUtf8(std::string_view bytes, int32_t sourceIndex, ProgressCallback progress);

  // Scans a non-empty `text` in two parts on two threads, cut at `split` units
  // into it, and appends exactly the tokens that one scan would. True when the
  // parts were joined; false when the second had to be scanned again after the
  // first (it began inside a string or comment, or after brackets that change
  // how it reads). AddSource cuts large texts at SplitPoint; tests cut anywhere.
  bool AddSourceInTwo(std::u16string_view text, int32_t sourceIndex, ProgressCallback progress,
                      size_t split);
  bool AddSourceUtf8InTwo(std::string_view bytes, int32_t sourceIndex, ProgressCallback progress,
                          size_t split);
  // Where to cut a text for two threads: the start of the first line after the
  // middle whose line before ends with ";". 0 when there is none.
  static size_t SplitPoint(std::u16string_view text);
  static size_t SplitPoint(std::string_view bytes);

  template <typename Unit>
  class Run;  // the state of one scan of a text

 private:
  template <typename Unit>
  bool AddUnits(const Unit* text, size_t size, int32_t sourceIndex, ProgressCallback progress);
  template <typename Unit>
  bool ScanInTwo(const Unit* text, size_t size, int32_t sourceIndex, ProgressCallback progress,
                 size_t split);

 public:

  TokenList& Tokens() { return tokens_; }
  const TokenList& Tokens() const { return tokens_; }

 private:
  TokenList tokens_;
};

}  // namespace pack
