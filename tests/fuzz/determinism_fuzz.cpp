// Packing is deterministic: the same bytes and options give the same result run
// after run in one process, whatever was packed in between. Each input is packed,
// then the previous input is packed as a single file and as several sources of
// one packer object, then the input again; both results of the input must agree
// in every field. The first byte picks the options.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "pack_document.h"
#include "packer.h"
#include "source_text.h"

namespace {

std::string previous;  // the input of the last run

void PackInBetween(std::string_view file, const pack::PackOptions& options) {
  (void)pack::PackDocument(file, options);
  trimlet packer;
  const size_t half = file.size() / 2;
  packer.AddSource(pack::DecodeSource(file.substr(0, half)).text, 1, nullptr);
  packer.AddSource(pack::DecodeSource(file.substr(half)).text, 2, nullptr);
  pack::RunStages(packer, options);
  (void)packer.Output();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const pack::PackOptions options = fuzz::OptionsFrom(data[0]);
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

  const pack::PackResult first = pack::PackDocument(file, options);
  PackInBetween(previous, fuzz::OptionsFrom(static_cast<uint8_t>(~data[0])));
  PackInBetween(previous, options);
  const pack::PackResult second = pack::PackDocument(file, options);

  FUZZ_CHECK(first.status == second.status, "status differs between runs");
  FUZZ_CHECK(first.html == second.html, "page detection differs between runs");
  FUZZ_CHECK(first.identifiers == second.identifiers, "identifier count differs between runs");
  FUZZ_CHECK(first.bytes == second.bytes, "packed bytes differ between runs");
  previous.assign(file);
  return 0;
}
