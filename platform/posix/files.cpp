// Whole files and the trace channel on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include "../platform.h"

namespace platform {
namespace {

FileResult Failure(int error) { return {false, std::strerror(error), false}; }

FileResult TooLarge(const char* why) { return {false, why, true}; }

// The file a name stands for: a symbolic link is followed, so that writing
// through it replaces its target and keeps the link.
std::string ResolvedTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::string link(4096, '\0');
    const ssize_t n = ::readlink(target.c_str(), &link[0], link.size());
    if (n <= 0) break;
    link.resize(static_cast<size_t>(n));
    if (link[0] != '/') {
      const size_t slash = target.rfind('/');
      link = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
    }
    target = link;
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
  }
  return target;
}

// A temporary name beside the target, short enough for any file name that fits.
std::string TemporaryBeside(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return folder + ".trimlet-XXXXXX";
}

struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

namespace {

// Opens a file to read whole and finds its size, or says why it cannot.
FileResult OpenToRead(const std::string& path, Descriptor& file, size_t& size) {
  file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (file.fd < 0) return Failure(errno);
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return Failure(errno);
  if (S_ISDIR(info.st_mode)) return Failure(EISDIR);
  if (!S_ISREG(info.st_mode)) return {false, "not a regular file", false};
  // Token positions are 32-bit: a text must stay below 2^31 UTF-16 code units.
  if (info.st_size > 0x7FFFFFFF / 2) return TooLarge("file too large");
  size = static_cast<size_t>(info.st_size);
  return {true, {}};
}

// Reads from `offset` into `to` until `size` bytes are there or the file ends;
// the count read, or -1 with errno set.
ssize_t ReadAt(int fd, char* to, size_t size, size_t offset) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, to + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;  // the file shrank while we read it
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

FileResult ReadWholeFile(const std::string& path, std::string& bytes) {
  Descriptor file{-1};
  size_t size = 0;
  const FileResult opened = OpenToRead(path, file, size);
  if (!opened.ok) return opened;
  try {
    bytes.reserve(size);
    bytes.assign(size, '\0');
  } catch (const std::bad_alloc&) {
    return TooLarge("out of memory");
  }
  const ssize_t done = ReadAt(file.fd, &bytes[0], size, 0);
  if (done < 0) return Failure(errno);
  bytes.resize(static_cast<size_t>(done));
  return {true, {}};
}

FileResult ReadWholeFile(const std::string& path, FileBytes& bytes) {
  Descriptor file{-1};
  size_t size = 0;
  const FileResult opened = OpenToRead(path, file, size);
  if (!opened.ok) return opened;
  bytes.Release();
  bytes.data_.reset(new (std::nothrow) char[size + 1]);
  if (!bytes.data_) return TooLarge("out of memory");
  // Two halves at once when there is much to read: each thread copies its half
  // and has its pages faulted in. A half that falls short ends the file there.
  constexpr size_t kTwoHalvesFrom = size_t{4} << 20;
  const size_t half = size >= kTwoHalvesFrom ? size / 2 : size;
  ssize_t first = 0;
  ssize_t second = 0;
  int firstError = 0;
  int secondError = 0;
  const auto readFirst = [&] {
    first = ReadAt(file.fd, bytes.data_.get(), half, 0);
    firstError = errno;
  };
  const auto readSecond = [&] {
    second = ReadAt(file.fd, bytes.data_.get() + half, size - half, half);
    secondError = errno;
  };
  if (half == size) {
    readFirst();
  } else if (!RunBeside(readSecond, readFirst)) {
    readSecond();
  }
  if (first < 0) return Failure(firstError);
  if (second < 0) return Failure(secondError);
  const auto firstDone = static_cast<size_t>(first);
  bytes.size_ = firstDone < half ? firstDone : half + static_cast<size_t>(second);
  return {true, {}};
}

FileResult WriteWholeFile(const std::string& name, std::string_view bytes) {
  const std::string path = ResolvedTarget(name);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    return Failure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
  }
  // A read-only file stays as it is, as on Windows, even though renaming over
  // it would succeed (and root could write it anyway).
  if (::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) return Failure(EACCES);
  std::string temp = TemporaryBeside(path);
  Descriptor file{::mkstemp(&temp[0])};
  if (file.fd < 0) return Failure(errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(file.fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      ::unlink(temp.c_str());
      return Failure(error);
    }
    done += static_cast<size_t>(n);
  }
  // Keep the permissions of the file we replace; a new file gets the usual ones.
  mode_t mode = 0666;
  if (::stat(path.c_str(), &info) == 0) {
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(file.fd, mode);
  const int closed = ::close(file.fd);
  file.fd = -1;
  if (closed != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return Failure(error);
  }
  return {true, {}};
}

// POSIX has no debugger output channel: the lines go to the sink a test or a
// debugging session installed, and nowhere otherwise.
void DebugTrace(std::string_view text) {
  if (TraceSink sink = CurrentTraceSink()) sink(text);
}

}  // namespace platform
