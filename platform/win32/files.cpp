// Whole files and the trace channel on Windows.
#include <windows.h>

#include <algorithm>
#include <new>
#include <string>

#include "../platform.h"

namespace platform {
namespace {

FileResult Failure(DWORD error) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n > 0 && text != nullptr ? std::string(text, n) : "system error";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == '.' || message.back() == ' ')) {
    message.pop_back();
  }
  return {false, message, false};
}

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

}  // namespace

namespace {

// Opens a file to read whole and finds its size, or says why it cannot.
FileResult OpenToRead(const std::string& path, Handle& file, DWORD& size) {
  file.h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file.h == INVALID_HANDLE_VALUE) return Failure(GetLastError());
  if (GetFileType(file.h) != FILE_TYPE_DISK) return {false, "not a regular file", false};
  DWORD high = 0;
  const DWORD low = GetFileSize(file.h, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return Failure(GetLastError());
  if (high != 0 || low > 0x7FFFFFFF / 2) return {false, "file too large", true};
  size = low;
  return {true, {}};
}

// Reads into `to` until `size` bytes are there or the file ends.
FileResult ReadInto(const Handle& file, char* to, DWORD size, DWORD& done) {
  done = 0;
  while (done < size) {
    DWORD n = 0;
    if (!ReadFile(file.h, to + done, size - done, &n, nullptr)) return Failure(GetLastError());
    if (n == 0) break;
    done += n;
  }
  return {true, {}};
}

}  // namespace

FileResult ReadWholeFile(const std::string& path, std::string& bytes) {
  Handle file{INVALID_HANDLE_VALUE};
  DWORD size = 0;
  const FileResult opened = OpenToRead(path, file, size);
  if (!opened.ok) return opened;
  try {
    bytes.assign(size, '\0');
  } catch (const std::bad_alloc&) {
    return {false, "out of memory", true};
  }
  DWORD done = 0;
  const FileResult read = ReadInto(file, &bytes[0], size, done);
  if (!read.ok) return read;
  bytes.resize(done);
  return {true, {}};
}

FileResult ReadWholeFile(const std::string& path, FileBytes& bytes) {
  Handle file{INVALID_HANDLE_VALUE};
  DWORD size = 0;
  const FileResult opened = OpenToRead(path, file, size);
  if (!opened.ok) return opened;
  bytes.Release();
  bytes.data_.reset(new (std::nothrow) char[size + 1]);
  if (!bytes.data_) return {false, "out of memory", true};
  DWORD done = 0;
  const FileResult read = ReadInto(file, bytes.data_.get(), size, done);
  if (!read.ok) return read;
  bytes.size_ = done;
  return {true, {}};
}

FileResult WriteWholeFile(const std::string& path, std::string_view bytes) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Failure(ERROR_DIRECTORY);
  }
  const std::string temp = path + ".trimlet-tmp";
  {
    Handle file{CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return Failure(GetLastError());
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD n = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
      if (!WriteFile(file.h, bytes.data() + done, chunk, &n, nullptr) || n == 0) {
        const DWORD error = GetLastError();
        CloseHandle(file.h);
        file.h = INVALID_HANDLE_VALUE;
        DeleteFileA(temp.c_str());
        return Failure(error == NO_ERROR ? ERROR_WRITE_FAULT : error);
      }
      done += n;
    }
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileA(temp.c_str());
    return Failure(error);
  }
  return {true, {}};
}


void DebugTrace(std::string_view text) {
  const std::string line(text);
  OutputDebugStringA(line.c_str());
  if (TraceSink sink = CurrentTraceSink()) sink(text);
}

}  // namespace platform
