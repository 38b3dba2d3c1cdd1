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

  TokenList& Tokens() { return tokens_; }
  const TokenList& Tokens() const { return tokens_; }

 private:
  class Run;  // the state of one AddSource call

  TokenList tokens_;
};

}  // namespace pack
