// The arithmetic of the wizard's shell, apart from the system calls: where a
// page goes on the work area and where the help file is looked for.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace wizard {

struct Box {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
};

struct Position {
  long x = 0;
  long y = 0;
};

// The top-left corner that centres a window of `width` x `height` on `area`.
// A window larger than the area keeps its left and top edges on it.
Position CenterOnArea(long width, long height, const Box& area);

// "C:\Tools\Farrowdale.exe" gives "C:\Tools\"; a path without a backslash, or
// the empty text of a failed lookup, gives "".
std::string DirectoryOf(const std::string& programPath);

// The help beside the program: "Farrowdale.chm" when it is there, else the
// page "Farrowdale.html"; nothing when neither is.
std::optional<std::string> HelpFileName(const std::string& programDirectory,
                                        const std::function<bool(const std::string&)>& exists);

}  // namespace wizard
