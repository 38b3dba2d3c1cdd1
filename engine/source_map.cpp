#include "source_map.h"

#include <cstdio>
#include <unordered_map>

#include "platform.h"

namespace pack {
namespace {

// A signed number in base-64 VLQ: the sign in the lowest bit, five bits a digit.
void AppendVlq(std::string& out, int64_t value) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  uint64_t rest = value < 0 ? (static_cast<uint64_t>(-value) << 1) | 1 : static_cast<uint64_t>(value) << 1;
  do {
    uint64_t digit = rest & 31;
    rest >>= 5;
    if (rest != 0) digit |= 32;
    out.push_back(kDigits[digit]);
  } while (rest != 0);
}

// A JSON string of UTF-16 text: quotes, backslashes, control characters, the
// two line separators and lone surrogates escaped, the rest as UTF-8.
void AppendJsonString(std::string& out, std::u16string_view text) {
  out.push_back('"');
  size_t plain = 0;
  const auto flush = [&](size_t upTo) {
    if (upTo > plain) out += platform::WideToUtf8(text.substr(plain, upTo - plain));
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    if (high) {
      ++i;
      continue;
    }
    const bool lone = c >= 0xD800 && c <= 0xDFFF;
    if (c >= 0x20 && c != u'"' && c != u'\\' && c != 0x2028 && c != 0x2029 && !lone) continue;
    flush(i);
    plain = i + 1;
    if (c == u'"' || c == u'\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c == u'\n') {
      out += "\\n";
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
      out += escape;
    }
  }
  flush(text.size());
  out.push_back('"');
}

std::u16string Wide(const std::string& utf8) { return platform::Utf8ToWide(utf8); }

// The "mappings" field: segments of a generated line joined by ",", lines by
// ";"; every number is the difference from the one before it.
std::string EncodeMappings(const std::vector<Mapping>& mappings,
                           const std::unordered_map<int32_t, int32_t>& sourceIndex,
                           std::unordered_map<int32_t, int32_t>& nameIndex,
                           std::vector<int32_t>& names) {
  std::string out;
  int32_t line = 0;
  int64_t column = 0, source = 0, sourceLine = 0, sourceColumn = 0, name = 0;
  bool firstOnLine = true;
  for (const Mapping& m : mappings) {
    const auto found = sourceIndex.find(m.source);
    if (found == sourceIndex.end()) continue;
    while (line < m.generatedLine) {
      out.push_back(';');
      ++line;
      column = 0;
      firstOnLine = true;
    }
    if (!firstOnLine) out.push_back(',');
    firstOnLine = false;
    AppendVlq(out, m.generatedColumn - column);
    column = m.generatedColumn;
    AppendVlq(out, found->second - source);
    source = found->second;
    AppendVlq(out, m.line - sourceLine);
    sourceLine = m.line;
    AppendVlq(out, m.column - sourceColumn);
    sourceColumn = m.column;
    if (m.name >= 0) {
      const auto [it, added] = nameIndex.try_emplace(m.name, static_cast<int32_t>(names.size()));
      if (added) names.push_back(m.name);
      AppendVlq(out, it->second - name);
      name = it->second;
    }
  }
  return out;
}

std::string Base64(const std::string& bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) out.push_back(k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=');
  }
  return out;
}

}  // namespace

std::string SourceMapComment(const std::string& url, const std::string& json) {
  if (!url.empty()) return "//# sourceMappingURL=" + url;
  return "//# sourceMappingURL=data:application/json;charset=utf-8;base64," + Base64(json);
}

std::string SourceMapJson(const std::string& file, const std::vector<MapSource>& sources,
                          const std::vector<Mapping>& mappings, const TextTable& names) {
  std::unordered_map<int32_t, int32_t> sourceIndex;
  for (size_t k = 0; k < sources.size(); ++k) sourceIndex.emplace(sources[k].id, static_cast<int32_t>(k));
  std::unordered_map<int32_t, int32_t> nameIndex;
  std::vector<int32_t> nameOrder;
  const std::string encoded = EncodeMappings(mappings, sourceIndex, nameIndex, nameOrder);
  std::string json = "{\"version\":3,\"file\":";
  AppendJsonString(json, Wide(file));
  json += ",\"sources\":[";
  for (size_t k = 0; k < sources.size(); ++k) {
    if (k > 0) json.push_back(',');
    AppendJsonString(json, Wide(sources[k].name));
  }
  json += "],\"sourcesContent\":[";
  for (size_t k = 0; k < sources.size(); ++k) {
    if (k > 0) json.push_back(',');
    AppendJsonString(json, sources[k].content);
  }
  json += "],\"names\":[";
  for (size_t k = 0; k < nameOrder.size(); ++k) {
    if (k > 0) json.push_back(',');
    AppendJsonString(json, names.Text(nameOrder[k]));
  }
  json += "],\"mappings\":\"" + encoded + "\"}\n";
  return json;
}

}  // namespace pack
