// The thin layer between the programs and the system: whole files, the text
// conversions between bytes and UTF-16, and the debug trace channel. Only the
// files of this folder include system headers.
#pragma once

#include <functional>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Reading and writing whole files. Errors carry a short text naming the cause
// ("no such file or directory"), for the front ends' messages. File names are
// UTF-8 (on Windows a name that is not UTF-8 is read in the ANSI code page).
struct FileResult {
  bool ok = false;
  std::string error;
  bool tooLarge = false;  // the file cannot be held in memory
};

// Reads the whole file into `bytes`. Fails for a missing or unreadable file, a
// folder or device, and a file too large to hold.
FileResult ReadWholeFile(const std::string& path, std::string& bytes);

// A file's bytes in memory of their own that nothing writes before the read: a
// large file is read in two halves at once.
class FileBytes {
 public:
  std::string_view View() const { return {data_.get(), size_}; }
  size_t Size() const { return size_; }
  void Release() {
    data_.reset();
    size_ = 0;
  }

 private:
  friend FileResult ReadWholeFile(const std::string& path, FileBytes& bytes);
  friend FileResult ReadStandardInput(FileBytes& bytes);
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
};

// The same as above, into FileBytes.
FileResult ReadWholeFile(const std::string& path, FileBytes& bytes);

// Reads all of standard input.
FileResult ReadStandardInput(FileBytes& bytes);

// Writes `bytes` to `path`:
//   "-", and the names of the open streams (/dev/stdout, /dev/stderr,
//   /dev/fd/N): to that stream, as the shell opened it (a >> log is appended to)
//   a pipe, device or socket: in place, as a stream
//   a regular file, or a new one: to a temporary file beside it that is renamed
//   over it once complete, so an existing file is replaced only by a whole new
//   one; a symbolic link keeps pointing at it. An existing file that the user
//   may not write, or that has no write permission at all, is refused.
FileResult WriteWholeFile(const std::string& path, std::string_view bytes);

// Whether two names stand for one existing file (through links, or another
// spelling of its path).
bool SameFile(const std::string& first, const std::string& second);

enum class Stream { Output, Error };
// Whether the stream is a terminal, where a line may be redrawn in place.
bool IsTerminal(Stream stream);
// Writes UTF-8 text to the stream: on a Windows console as UTF-16, so that any
// file name shows as it is; elsewhere as the bytes.
void WriteText(Stream stream, std::string_view text);

// For the console program, once at its start: a write to a closed pipe or
// past the file-size limit fails with an error instead of ending the program
// (SIGPIPE, SIGXFSZ), and a temporary file that WriteWholeFile has not yet
// renamed is removed when the program is interrupted (SIGHUP, SIGINT, SIGTERM).
void GuardAgainstSignals();

// The program's arguments after its name, as UTF-8 (on Windows read as UTF-16,
// so that any file name comes through).
std::vector<std::string> ProgramArguments(int argc, char** argv);


// A task run on a thread of its own from construction until Join, which the
// destructor calls too. Where no thread can be started, the constructor runs
// the task itself before returning.
class Worker {
 public:
  explicit Worker(std::function<void()> task);
  ~Worker() { Join(); }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  void Join();

 private:
  static void Main(Worker* worker) { worker->task_(); }

  std::function<void()> task_;
  void* thread_ = nullptr;  // the system's handle while the thread runs
};

// Runs `task` on a thread whose stack may grow to `stackBytes` (reserved, not
// committed), and waits for it; false, without running it, when no such
// thread can be started.
bool RunWithStack(size_t stackBytes, const std::function<void()>& task);

// Runs `beside` on a worker thread while `here` runs on the calling thread, and
// returns once both are done: true when `beside` finished, false when memory
// ran out in it (the caller then does that work itself).
template <typename Beside, typename Here>
bool RunBeside(Beside beside, Here here) {
  bool done = false;
  Worker worker([&] {
    try {
      beside();
      done = true;
    } catch (const std::bad_alloc&) {
      // left to the caller
    }
  });
  here();
  worker.Join();
  return done;
}

// Sends a diagnostic line to the debugger output channel; never shown to the
// user. A sink, when installed, receives every line as well (tests read it).
void DebugTrace(std::string_view text);
using TraceSink = void (*)(std::string_view text);
void SetTraceSink(TraceSink sink);
TraceSink CurrentTraceSink();

// Code page 1251 (Windows Cyrillic), by our own table both ways: every byte is one
// character and back again; characters outside the code page become '_'.
std::u16string ToWide(std::string_view bytes);
std::string ToNarrow(std::u16string_view text);

// UTF-8. IsUtf8 tells whether the bytes are well-formed UTF-8 (no overlong
// forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(std::string_view bytes);
std::u16string Utf8ToWide(std::string_view bytes);
std::string WideToUtf8(std::u16string_view text);

// Writes the one to four UTF-8 bytes of a code point at `out`; returns the end.
inline char* PutUtf8(char32_t cp, char* out) {
  const auto put = [&out](char32_t value) { *out++ = static_cast<char>(value); };
  if (cp < 0x80) {
    put(cp);
  } else if (cp < 0x800) {
    put(0xC0 | (cp >> 6));
    put(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    put(0xE0 | (cp >> 12));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  } else {
    put(0xF0 | (cp >> 18));
    put(0x80 | ((cp >> 12) & 0x3F));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace platform
