// Where pages go on the work area and where the help file is looked for.
#include "shell_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace wizard {
namespace {

TEST(ShellRulesTest, CenterOnArea) {
  struct Row {
    const char* what;
    long width, height;
    Box area;
    long x, y;
  };
  const Row rows[] = {
      {"centred", 431, 354, {0, 0, 1024, 738}, 297, 192},
      {"odd sizes use whole division", 431, 355, {0, 0, 1025, 739}, 297, 192},
      {"area away from the origin", 100, 100, {200, 50, 600, 250}, 350, 100},
      {"taller than the area: top edge", 431, 800, {0, 30, 1024, 738}, 297, 30},
      {"wider than the area: left edge", 1200, 354, {40, 0, 1024, 738}, 40, 192},
      {"exactly the area", 1024, 738, {0, 0, 1024, 738}, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const Position at = CenterOnArea(row.width, row.height, row.area);
    EXPECT_EQ(at.x, row.x);
    EXPECT_EQ(at.y, row.y);
  }
}

// The compiled help when it is there, else the page shipped beside the
// program; nothing when neither is (never a "File not found." from the shell).
TEST(ShellRulesTest, HelpFileBesideTheProgram) {
  struct Row {
    const char* program;
    std::vector<std::string> present;
    std::optional<std::string> help;
  };
  const Row rows[] = {
      {"C:\\Tools\\Farrowdale.exe", {"C:\\Tools\\Farrowdale.chm", "C:\\Tools\\Farrowdale.html"}, "C:\\Tools\\Farrowdale.chm"},
      {"C:\\Tools\\Farrowdale.exe", {"C:\\Tools\\Farrowdale.html"}, "C:\\Tools\\Farrowdale.html"},
      {"\\\\server\\share\\bin\\Farrowdale.exe", {"\\\\server\\share\\bin\\Farrowdale.html"},
       "\\\\server\\share\\bin\\Farrowdale.html"},
      {"C:\\Farrowdale.exe", {"Farrowdale.html"}, std::nullopt},
      {"", {"Farrowdale.html"}, "Farrowdale.html"},  // the program's path could not be had
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.program);
    const auto exists = [&](const std::string& name) {
      return std::find(row.present.begin(), row.present.end(), name) != row.present.end();
    };
    EXPECT_EQ(HelpFileName(DirectoryOf(row.program), exists), row.help);
  }
}

}  // namespace
}  // namespace wizard
