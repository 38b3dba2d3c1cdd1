// The packer object: the engine's one entry point. Sources go in as UTF-16
// text, are scanned into one token list, get ";" where line breaks ended
// statements, optionally have their variables renamed and their strings
// encoded, and come out as one packed text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scanner.h"
#include "source_text.h"
#include "token.h"

class trimlet {
 public:
  trimlet();
  virtual ~trimlet();
  trimlet(const trimlet&) = delete;
  trimlet& operator=(const trimlet&) = delete;

  // Scans `text` and appends its tokens after those of earlier sources; every
  // token records `source`. False, appending nothing, when the text is empty.
  bool AddSource(std::u16string_view text, int32_t source, pack::ProgressCallback progress);
  // The same for the bytes of well-formed UTF-8 (ASCII included), scanned as
  // they are: the tokens are those of the text decoded to UTF-16.
  bool AddSourceUtf8(std::string_view bytes, int32_t source, pack::ProgressCallback progress);

  // Inserts a ";" token wherever a line break ended a statement.
  void Process();
  // The same, walking a long list in two parts at once, the second from
  // `split`, which must follow a ";" (else the list is walked whole). Process
  // cuts after the first ";" past the middle; tests cut anywhere.
  void ProcessInTwo(size_t split);

  // Renames variables declared with `var` inside functions to short names.
  void ChangeVars();
  // The same, finding the functions of a long list and giving its names their
  // new names in two parts at once, the second from token `split` (0: none).
  // ChangeVars cuts in the middle; tests cut anywhere.
  void ChangeVarsInTwo(size_t split);

  // Rewrites string literals as unescape("%XX...") expressions.
  void EncodeStrings();

  // The packed text; empty for an empty list, nullopt when memory runs out.
  std::optional<std::u16string> Output() const;

  // The packed text as the bytes of the output file, in `encoding`, after a
  // UTF-8 byte-order mark when asked; nullopt when memory runs out.
  std::optional<std::string> OutputBytes(pack::TextEncoding encoding, bool byteOrderMark) const;

  // Moves `position` forward to the next punctuator whose code is one of the
  // stops (-1: none) at the starting bracket depth, stepping over whole
  // { }, ( ) and [ ] groups; the list end when there is none.
  void SkipTo(pack::TokenIterator& position, int32_t stop1, int32_t stop2 = -1,
              int32_t stop3 = -1) const;

  pack::TokenList& Tokens() { return scanner.Tokens(); }
  const pack::TokenList& Tokens() const { return scanner.Tokens(); }

  // The next generated name not yet in the identifier table: a .. z, a1 .. z1, ...
  int32_t NewVarName();

  // Packer objects alive in the process; the text tables empty when it drops to 0.
  static int32_t LivePackers();

 private:
  pack::Scanner scanner;
  char16_t nameLetter = u'a';
  int32_t nameNumber = 0;
  int32_t firstNewIdentifier = 0;
};
