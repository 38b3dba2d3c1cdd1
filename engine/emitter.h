// Writes a token list back as text with the fewest separators that keep the
// tokens apart and the statements ended.
#pragma once

#include <string>

#include "source_text.h"
#include "token.h"

namespace pack {

// The text of the tokens from `first` up to, not including, `end`.
std::u16string EmitTokens(const TokenList& tokens, size_t first, size_t end);

// The same text written straight as the bytes of the output file, as
// EncodeOutput would give them.
std::string EmitBytes(const TokenList& tokens, size_t first, size_t end, TextEncoding encoding,
                      bool byteOrderMark);

// Whether the two tokens, written side by side, would run together or fuse into
// different tokens, so that a space must stand between them.
bool NeedsSpace(const Token& cur, const Token& next);

}  // namespace pack
