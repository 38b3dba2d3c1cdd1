// Writes a token list back as text with the fewest separators that keep the
// tokens apart and the statements ended.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "source_text.h"
#include "text_tables.h"
#include "token.h"

namespace pack {

// The text of the tokens from `first` up to, not including, `end`. Compact
// text leaves out what packed text has always had but needs no more: the
// line feed before `return`, the ";" after a function declaration, and the
// space between a word and a string.
std::u16string EmitTokens(const Session& texts, const TokenList& tokens, size_t first, size_t end,
                          bool compact = false);

// Where a token starts in the output (line and UTF-16 column, from 0) and where
// it stood in its source; `name`: the identifier a renamed name had, or -1.
struct Mapping {
  int32_t generatedLine;
  int32_t generatedColumn;
  int32_t source;
  int32_t line;
  int32_t column;
  int32_t name;
};

// The whole text of the tokens, as EmitTokens gives it, and the mappings of
// the tokens whose positions the list kept.
std::u16string EmitTokensMapped(const Session& texts, const TokenList& tokens, bool compact,
                                std::vector<Mapping>& mappings);

// Every text of the tables, encoded once for writing a long list; null when
// the list is too short for that to pay.
struct OutputTexts;
std::shared_ptr<const OutputTexts> EncodeTableTexts(const Session& texts, size_t first,
                                                    size_t end, TextEncoding encoding);

// The text of the tokens from `first` up to `stop` written straight as the
// bytes of the output file, as EncodeOutput would give them; the separator
// after each token depends on those that follow, up to `end`. `expectedBytes`
// is room made at once. A long list may be written in parts, cut at
// EmitCutPoint, and the parts joined: the bytes are the same.
std::string EmitBytesPart(const Session& session, const TokenList& tokens, size_t first,
                          size_t stop, size_t end, TextEncoding encoding, bool byteOrderMark,
                          const OutputTexts* texts, size_t expectedBytes, bool compact = false);
size_t EmitCutPoint(const TokenList& tokens, size_t first, size_t end);

// Whether the two tokens, written side by side, would run together or fuse into
// different tokens, so that a space must stand between them.
bool NeedsSpace(const Session& texts, const Token& cur, const Token& next);

}  // namespace pack
