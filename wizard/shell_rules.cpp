#include "shell_rules.h"

namespace wizard {
namespace {

// One axis: centred, then pulled back inside; the near edge wins when the
// window is larger than the area.
long CenterOnSpan(long size, long low, long high) {
  long at = (low + high) / 2 - size / 2;
  if (at < low) {
    at = low;
  } else if (at + size > high) {
    at = high - size;
  }
  return at;
}

}  // namespace

Position CenterOnArea(long width, long height, const Box& area) {
  return {CenterOnSpan(width, area.left, area.right), CenterOnSpan(height, area.top, area.bottom)};
}

std::string DirectoryOf(const std::string& programPath) {
  const size_t slash = programPath.rfind('\\');
  return slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
}

std::optional<std::string> HelpFileName(const std::string& programDirectory,
                                        const std::function<bool(const std::string&)>& exists) {
  for (const char* name : {"Farrowdale.chm", "Farrowdale.html"}) {
    if (exists(programDirectory + name)) return programDirectory + name;
  }
  return std::nullopt;
}

}  // namespace wizard
