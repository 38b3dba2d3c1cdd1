// Everything the console program prints, in one place.
#pragma once

namespace cli {

inline constexpr const char* kProductName = "BrixelPacker 1.1";
inline constexpr const char* kBanner = "\n%s";
inline constexpr const char* kNotice = "\ntrimlet packs JavaScript files and the scripts of HTML pages\n";
inline constexpr const char* kVersion = "trimlet %s\n";
// The program's name as it was invoked goes in each %s.
inline constexpr const char* kUsage =
    "Usage: %s [options] INPUT OUTPUT\n"
    "       %s [options] INPUT... OUTPUT\n"
    "       %s [options] -o OUTPUT INPUT...\n"
    "Packs a JavaScript file, or the scripts of an HTML page, into OUTPUT; several\n"
    "JavaScript inputs are packed into one. \"-\" as an input reads standard input,\n"
    "\"-o -\" writes standard output.\n"
    "\n"
    "Options:\n"
    "  -o, --outfile FILE  write FILE; every other name is an input\n"
    "  -nse, /nse          do not encode strings\n"
    "  -nvc, /nvc          do not rename variables\n"
    "  --comments=WHICH    keep the licence comments (legal, the default: /*! */,\n"
    "                      @license, @preserve), every comment (all), or none\n"
    "  --charset=NAME      read the inputs as utf-8, cp1251 or latin1 (otherwise:\n"
    "                      UTF-8 when they are, UTF-16 after its mark, else cp1251)\n"
    "  --source-map        write OUTPUT.map, a source map of the packed tokens\n"
    "  --source-map=inline end the output with the source map itself\n"
    "  --module            read every input as an ES module\n"
    "  --script            read every input as a script\n"
    "  -q, --quiet         print errors only\n"
    "  -h, --help          print this help\n"
    "  --version           print the version\n"
    "  --                  end of the options: every word after it is a file name\n";
// A command line that cannot be run: the program's name, what is wrong, the name again.
inline constexpr const char* kUsageError = "%s: %s\nTry '%s --help' for more information.\n";
// The progress line is the file's name, then " (%d/%d)": characters scanned, file size.
inline constexpr const char* kProgress = " (%d/%d)";
inline constexpr const char* kSingleOk = "%s - Ok!            \n";
inline constexpr const char* kIdentifiers = "Total Identifiers = %d\n";
inline constexpr const char* kGroupOk = "%s Ok!                       \n";
inline constexpr const char* kFailed = "%s Failed!                       \n";
inline constexpr const char* kReadError = "\nError reading file %s.\n";
inline constexpr const char* kWriteError = "\nError writing file %s.\n";
inline constexpr const char* kOutOfMemory = "\nOut of memory\n";
// The cause of a read or write error goes to standard error.
inline constexpr const char* kCause = "trimlet: %s: %s\n";
inline constexpr const char* kOutputIsInput = "trimlet: %s: the output is also an input; nothing written\n";
inline constexpr const char* kPageInGroup =
    "trimlet: %s: an HTML page is packed alone, not together with other files\n";
inline constexpr const char* kPageWithMap =
    "trimlet: %s: an HTML page gets no source map; pack it without --source-map\n";
inline constexpr const char* kNothingWritten = "trimlet: %s: not written, since an input could not be packed\n";
// Input that is not JavaScript: file, line, column and what was expected, then
// the line itself and a caret under the column, on standard error.
inline constexpr const char* kSyntaxError = "%s:%d:%d: error: %s\n";
// A script block of a page that is not JavaScript, kept as it stands.
inline constexpr const char* kBlockKept = "%s:%d:%d: warning: %s (the script block is kept as it is)\n";
// How standard input is named in messages.
inline constexpr const char* kStandardInputName = "<stdin>";

// Exit codes; the shell sees each negative one as 256 plus it (255 for -1).
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = -1;       // a source held nothing to pack
inline constexpr int kExitUnreadable = -2;   // an input could not be read
inline constexpr int kExitOutOfMemory = -3;
inline constexpr int kExitUnwritable = -4;   // the output could not be written
inline constexpr int kExitInvalid = -5;      // an input is not valid JavaScript
inline constexpr int kExitUsage = -6;        // the command line cannot be run

}  // namespace cli
