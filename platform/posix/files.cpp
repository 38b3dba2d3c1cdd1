// Whole files and the trace channel on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "../platform.h"
#include "../temporary_file.h"

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

namespace {

// The stream a name stands for when it names one the program has open: "-"
// and /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N; -1 for others.
int StreamNamed(const std::string& name) {
  if (name == "-" || name == "/dev/stdout") return 1;
  if (name == "/dev/stderr") return 2;
  for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    const size_t n = std::strlen(prefix);
    if (name.compare(0, n, prefix) != 0 || name.size() == n || name.size() > n + 6) continue;
    int fd = 0;
    for (size_t i = n; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return -1;
      fd = fd * 10 + (name[i] - '0');
    }
    return fd;
  }
  return -1;
}

FileResult WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Failure(n < 0 ? errno : EIO);
    done += static_cast<size_t>(n);
  }
  return {true, {}};
}

// A pipe or a device: written where it is, as the shell's > would.
FileResult WriteInPlace(const std::string& path, std::string_view bytes) {
  Descriptor file{::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY)};
  if (file.fd < 0) return Failure(errno);
  const FileResult written = WriteAll(file.fd, bytes);
  if (!written.ok) return written;
  const int closed = ::close(file.fd);
  file.fd = -1;
  return closed == 0 ? FileResult{true, {}} : Failure(errno);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A file in `folder` that has no name until LinkBeside gives it one, so that
// nothing is left behind even when the program is killed; -1 where the system
// cannot make one.
int OpenUnnamedIn(const std::string& folder) {
#ifdef O_TMPFILE
  return ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
#else
  (void)folder;
  return -1;
#endif
}

// Gives the unnamed file `fd` a temporary name in `folder`; empty when it cannot.
std::string LinkBeside(int fd, const std::string& folder) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name =
        folder + ".trimlet-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
#ifdef AT_EMPTY_PATH
    if (linked != 0 && errno == ENOENT) linked = ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
#endif
    if (linked == 0) {
      HoldTemporary(name);
      return name;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

// Writes a whole new file beside `path` and renames it over `path`. `old`:
// the file replaced, whose permissions and owner the new one keeps.
FileResult ReplaceWith(const std::string& path, const struct stat* old, std::string_view bytes,
                       bool unnamedFirst) {
  const std::string folder = FolderOf(path);
  Descriptor file{unnamedFirst ? OpenUnnamedIn(folder) : -1};
  const bool unnamed = file.fd >= 0;
  std::string temp;
  if (!unnamed) {
    temp = folder + ".trimlet-XXXXXX";
    file.fd = ::mkstemp(&temp[0]);
    if (file.fd < 0) return Failure(errno);
    HoldTemporary(temp);
  }
  const auto discardTemporary = [&] {
    if (!temp.empty()) ::unlink(temp.c_str());
    ReleaseTemporary();
  };
  const FileResult written = WriteAll(file.fd, bytes);
  if (!written.ok) {
    discardTemporary();
    return written;
  }
  mode_t mode = 0666;
  if (old != nullptr) {
    mode = old->st_mode & 07777;
    // Only root may give a file away; anyone else's new file stays their own.
    const int ownerKept = ::fchown(file.fd, old->st_uid, old->st_gid);
    (void)ownerKept;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(file.fd, mode);
  if (unnamed) {
    temp = LinkBeside(file.fd, folder);
    if (temp.empty()) return ReplaceWith(path, old, bytes, false);
  }
  const int closed = ::close(file.fd);
  file.fd = -1;
  if (closed != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    discardTemporary();
    return Failure(error);
  }
  ReleaseTemporary();
  return {true, {}};
}

}  // namespace

FileResult ReadStandardInput(FileBytes& bytes) {
  std::string all;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(0, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Failure(errno);
    if (n == 0) break;
    if (all.size() + static_cast<size_t>(n) > 0x7FFFFFFF / 2) return TooLarge("input too large");
    all.append(buffer, static_cast<size_t>(n));
  }
  bytes.Release();
  bytes.data_.reset(new (std::nothrow) char[all.size() + 1]);
  if (!bytes.data_) return TooLarge("out of memory");
  std::memcpy(bytes.data_.get(), all.data(), all.size());
  bytes.size_ = all.size();
  return {true, {}};
}

FileResult WriteWholeFile(const std::string& name, std::string_view bytes) {
  const int stream = StreamNamed(name);
  if (stream >= 0) return WriteAll(stream, bytes);
  const std::string path = ResolvedTarget(name);
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) return Failure(EISDIR);
  if (exists && !S_ISREG(info.st_mode)) return WriteInPlace(path, bytes);
  // An existing file that the user may not write stays as it is, as the
  // shell's > would leave it, even though renaming over it would succeed; so
  // does one without any write permission, as on Windows (root could write it).
  if (exists && ((info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)) {
    return Failure(EACCES);
  }
  return ReplaceWith(path, exists ? &info : nullptr, bytes, true);
}

bool SameFile(const std::string& first, const std::string& second) {
  struct stat a {}, b {};
  return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

// POSIX has no debugger output channel: the lines go to the sink a test or a
// debugging session installed, and nowhere otherwise.
void DebugTrace(std::string_view text) {
  if (TraceSink sink = CurrentTraceSink()) sink(text);
}

}  // namespace platform
