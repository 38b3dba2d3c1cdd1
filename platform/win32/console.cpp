// The console program's arguments, streams and interruptions on Windows.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "../platform.h"
#include "../temporary_file.h"

namespace platform {
namespace {

// The named temporary file being written, if any, for the console handler,
// which runs on a thread of its own.
wchar_t temporaryPath[32768];
volatile LONG holdsTemporary = 0;

BOOL WINAPI RemoveTemporaryOnInterrupt(DWORD) {
  if (InterlockedCompareExchange(&holdsTemporary, 0, 0) != 0) DeleteFileW(temporaryPath);
  return FALSE;  // the default handler then ends the program
}

}  // namespace

void HoldTemporary(const std::wstring& path) {
  InterlockedExchange(&holdsTemporary, 0);
  if (path.size() >= sizeof temporaryPath / sizeof temporaryPath[0]) return;
  std::wmemcpy(temporaryPath, path.c_str(), path.size() + 1);
  InterlockedExchange(&holdsTemporary, 1);
}

void ReleaseTemporary() { InterlockedExchange(&holdsTemporary, 0); }

void GuardAgainstSignals() { SetConsoleCtrlHandler(RemoveTemporaryOnInterrupt, TRUE); }

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; words != nullptr && i < count; ++i) {
    arguments.push_back(WideToUtf8(std::u16string(reinterpret_cast<const char16_t*>(words[i]))));
  }
  if (words != nullptr) LocalFree(words);
  return arguments;
}

void WriteText(Stream stream, std::string_view text) {
  std::FILE* file = stream == Stream::Output ? stdout : stderr;
  const HANDLE h = GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (h == INVALID_HANDLE_VALUE || GetConsoleMode(h, &mode) == 0) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
    return;
  }
  std::fflush(file);
  const std::u16string wide = Utf8ToWide(text);
  DWORD written = 0;
  WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

bool IsTerminal(Stream stream) {
  const HANDLE h = GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0;
}

}  // namespace platform
