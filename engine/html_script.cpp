// PLACEHOLDER: replaced by the HTML page handling; until then pages pass through unchanged.
#include "html_script.h"

namespace pack {

std::u16string PackHtml(std::u16string_view page, const PackOptions&) {
  return std::u16string(page);
}

}  // namespace pack
