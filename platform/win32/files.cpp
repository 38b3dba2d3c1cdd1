// Whole files and the trace channel on Windows.
#include <windows.h>

#include <algorithm>
#include <new>
#include <string>

#include "../platform.h"
#include "../temporary_file.h"

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

// A file name as the wide-character functions take it: UTF-8, or, when it is
// not UTF-8, the ANSI code page's bytes.
std::wstring WideName(const std::string& name) {
  if (IsUtf8(name)) {
    const std::u16string wide = Utf8ToWide(name);
    return std::wstring(wide.begin(), wide.end());
  }
  const int n = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), &wide[0], n);
  return wide;
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
  file.h = CreateFileW(WideName(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

namespace {

FileResult WriteAll(HANDLE h, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!WriteFile(h, bytes.data() + done, chunk, &n, nullptr) || n == 0) {
      const DWORD error = GetLastError();
      return Failure(error == NO_ERROR ? ERROR_WRITE_FAULT : error);
    }
    done += n;
  }
  return {true, {}};
}

}  // namespace

FileResult ReadStandardInput(FileBytes& bytes) {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string all;
  char buffer[1 << 16];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(in, buffer, sizeof buffer, &n, nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE) break;
      return Failure(error);
    }
    if (n == 0) break;
    if (all.size() + n > 0x7FFFFFFF / 2) return {false, "input too large", true};
    all.append(buffer, n);
  }
  bytes.Release();
  bytes.data_.reset(new (std::nothrow) char[all.size() + 1]);
  if (!bytes.data_) return {false, "out of memory", true};
  std::copy(all.begin(), all.end(), bytes.data_.get());
  bytes.size_ = all.size();
  return {true, {}};
}

FileResult WriteWholeFile(const std::string& name, std::string_view bytes) {
  if (name == "-") return WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
  const std::wstring path = WideName(name);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Failure(ERROR_DIRECTORY);
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return Failure(ERROR_ACCESS_DENIED);
  }
  const std::wstring temp = path + L".trimlet-tmp";
  {
    Handle file{CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return Failure(GetLastError());
    HoldTemporary(temp);
    const FileResult written = WriteAll(file.h, bytes);
    if (!written.ok) {
      CloseHandle(file.h);
      file.h = INVALID_HANDLE_VALUE;
      DeleteFileW(temp.c_str());
      ReleaseTemporary();
      return written;
    }
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temp.c_str());
    ReleaseTemporary();
    return Failure(error);
  }
  ReleaseTemporary();
  return {true, {}};
}

bool SameFile(const std::string& first, const std::string& second) {
  const auto identify = [](const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
    Handle file{CreateFileW(WideName(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    return file.h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file.h, &info) != 0;
  };
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  return identify(first, a) && identify(second, b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
         a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

void DebugTrace(std::string_view text) {
  const std::string line(text);
  OutputDebugStringA(line.c_str());
  if (TraceSink sink = CurrentTraceSink()) sink(text);
}

}  // namespace platform
