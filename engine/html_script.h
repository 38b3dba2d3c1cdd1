// Packing the JavaScript inside an HTML page and leaving the rest as it was.
#pragma once

#include <string>
#include <string_view>

#include "pack_document.h"

namespace pack {

// The page with the body of every JavaScript script block packed and wrapped in
// an HTML comment; every other character of the page comes out as it went in.
std::u16string PackHtml(std::u16string_view page, const PackOptions& options);

}  // namespace pack
