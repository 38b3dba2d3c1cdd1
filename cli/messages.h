// Everything the console program prints, in one place.
#pragma once

namespace cli {

inline constexpr const char* kProductName = "BrixelPacker 1.1";
inline constexpr const char* kBanner = "\n%s";
inline constexpr const char* kNotice = "\ntrimlet packs JavaScript files and the scripts of HTML pages\n";
inline constexpr const char* kUsage = "\nUsage trimlet.exe inputfile [outfile] \n";
// The progress line "%c%s (%d/%d)": carriage return, file name, characters
// scanned, file size. It is printed for every 1024 characters, so its two
// fixed parts are made once per file and only the count between them each time.
inline constexpr const char* kProgressHead = "%c%s (";
inline constexpr const char* kProgressTail = "/%d)";
inline constexpr const char* kSingleOk = "%c%s - Ok!            \n";
inline constexpr const char* kIdentifiers = "Total Identifiers = %d\n";
inline constexpr const char* kGroupOk = "%c%s Ok!                       \n";
inline constexpr const char* kFailed = "%c%s Failed!                       \n";
inline constexpr const char* kReadError = "\nError reading file %s.";
inline constexpr const char* kWriteError = "\nError writing file %s.";
inline constexpr const char* kOutOfMemory = "\nOut of memory\n";
// The cause of a read or write error goes to standard error.
inline constexpr const char* kCause = "trimlet: %s: %s\n";
// Input that is not JavaScript: file, line, column and what was expected, then
// the line itself and a caret under the column, on standard error.
inline constexpr const char* kSyntaxError = "%s:%d:%d: error: %s\n";
// A script block of a page that is not JavaScript, kept as it stands.
inline constexpr const char* kBlockKept = "%s:%d:%d: warning: %s (the script block is kept as it is)\n";

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = -1;
inline constexpr int kExitUnreadable = -2;
inline constexpr int kExitOutOfMemory = -3;
inline constexpr int kExitUnwritable = -4;
inline constexpr int kExitInvalid = -5;

}  // namespace cli
