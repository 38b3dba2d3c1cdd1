// A long token list is walked in two parts on two threads: the statement-end
// walk from a token after a ";", and the renamer's search for functions, its
// sweep over the names and its rewrite from any token. Cut at a place the input
// chooses, packing must give the text of uncut walks. The first byte picks the
// options, the next two the cut (scaled to the token count); the rest is the
// file, decoded as a front end decodes it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "packer.h"
#include "source_text.h"
#include "vocabulary.h"

namespace {

// The packed text, the walks cut at `processCut` and `renameCut` (0: uncut).
std::u16string Pack(std::u16string_view text, const pack::PackOptions& options,
                    size_t processCut, size_t renameCut) {
  trimlet packer;
  packer.AddSource(text, 0, nullptr);
  packer.ProcessInTwo(processCut);
  if (options.changeVariableNames) packer.ChangeVarsInTwo(renameCut);
  if (options.encodeStrings) packer.EncodeStrings();
  return packer.Output().value_or(u"<out of memory>");
}

// The first token after a ";" at or after `from`, or 0 when there is none.
size_t AfterSemicolon(std::u16string_view text, size_t from) {
  trimlet packer;
  packer.AddSource(text, 0, nullptr);
  const pack::TokenList& tokens = packer.Tokens();
  for (size_t i = from; i + 1 < tokens.Size(); ++i) {
    if (tokens[i].IsPunct(pack::kSemicolon)) return i + 1;
  }
  return 0;
}

size_t TokenCount(std::u16string_view text) {
  trimlet packer;
  packer.AddSource(text, 0, nullptr);
  return packer.Tokens().Size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const pack::PackOptions options = fuzz::OptionsFrom(data[0]);
  const unsigned choice = data[1] | (unsigned{data[2]} << 8);
  const std::string_view file(reinterpret_cast<const char*>(data + 3), size - 3);
  const std::u16string text = pack::DecodeSource(file).text;
  const size_t count = TokenCount(text);
  if (count < 2) return 0;
  const size_t cut = 1 + choice % (count - 1);
  const std::u16string whole = Pack(text, options, 0, 0);
  FUZZ_CHECK(Pack(text, options, AfterSemicolon(text, cut), cut) == whole,
             "walks cut in two give another text");
  return 0;
}
