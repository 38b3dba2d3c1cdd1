// Source maps (version 3): where each token of the packed text came from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emitter.h"
#include "text_tables.h"

namespace pack {

// A source the tokens came from: the `source` number its tokens carry, the
// name the map gives it, and its text (written into sourcesContent).
struct MapSource {
  int32_t id;
  std::string name;
  std::u16string content;
};

// The map of `mappings` (in the order of the output) as JSON: `file` is the
// packed file's name; `names` is the table the mappings' names index.
std::string SourceMapJson(const std::string& file, const std::vector<MapSource>& sources,
                          const std::vector<Mapping>& mappings, const TextTable& names);

// The comment that ends a packed file and names its map: the map's URL, or
// the map itself as a data URL when `url` is empty.
std::string SourceMapComment(const std::string& url, const std::string& json);

}  // namespace pack
