#include "packer.h"

#include <new>

#include "emitter.h"
#include "text_tables.h"
#include "vocabulary.h"

namespace {

int32_t livePackers = 0;

}  // namespace

trimlet::trimlet() { ++livePackers; }

trimlet::~trimlet() {
  if (--livePackers == 0) pack::ReleaseTextTables();
}

int32_t trimlet::LivePackers() { return livePackers; }

bool trimlet::AddSourceUtf8(std::string_view bytes, int32_t source,
                            pack::ProgressCallback progress) {
  return scanner.AddSourceUtf8(bytes, source, progress);
}

bool trimlet::AddSource(std::u16string_view text, int32_t source,
                        pack::ProgressCallback progress) {
  return scanner.AddSource(text, source, progress);
}

std::optional<std::u16string> trimlet::Output() const {
  try {
    return pack::EmitTokens(Tokens(), 0, Tokens().Size());
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::string> trimlet::OutputBytes(pack::TextEncoding encoding,
                                                bool byteOrderMark) const {
  try {
    return pack::EmitBytes(Tokens(), 0, Tokens().Size(), encoding, byteOrderMark);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void trimlet::SkipTo(pack::TokenIterator& position, int32_t stop1, int32_t stop2,
                     int32_t stop3) const {
  const pack::TokenList& tokens = Tokens();
  const std::vector<uint32_t>& matches = tokens.Matches();
  const size_t end = tokens.Size();
  while (position < end) {
    const pack::Token& t = tokens[position];
    if (t.kind != pack::Punctuator) {
      ++position;
      continue;
    }
    if (t.value == stop1 || t.value == stop2 || t.value == stop3) return;
    if (t.value == pack::kOpenBrace || t.value == pack::kOpenParen ||
        t.value == pack::kOpenBracket) {
      position = matches[position];  // the closer, or the end for an unclosed group
      if (position < end) ++position;
      continue;
    }
    ++position;
  }
}
