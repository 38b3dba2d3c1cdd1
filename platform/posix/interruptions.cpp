// The signals that must not end the console program silently, and the
// temporary file that an interrupted run must not leave behind.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "../platform.h"
#include "../temporary_file.h"

namespace platform {
namespace {

// The named temporary file being written, if any, for the signal handler: a
// fixed buffer, since a handler may not allocate.
char temporaryPath[4096];
volatile sig_atomic_t holdsTemporary = 0;

void RemoveTemporaryAndStop(int signal) {
  if (holdsTemporary) ::unlink(temporaryPath);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void HoldTemporary(const std::string& path) {
  holdsTemporary = 0;
  if (path.size() >= sizeof temporaryPath) return;
  std::memcpy(temporaryPath, path.c_str(), path.size() + 1);
  holdsTemporary = 1;
}

void ReleaseTemporary() { holdsTemporary = 0; }

void GuardAgainstSignals() {
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryAndStop;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
    struct sigaction before {};
    // A signal ignored when the program started (nohup, a background job) stays ignored.
    if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

bool IsTerminal(Stream stream) { return ::isatty(stream == Stream::Output ? 1 : 2) == 1; }

void WriteText(Stream stream, std::string_view text) {
  std::FILE* file = stream == Stream::Output ? stdout : stderr;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fflush(file);
}

}  // namespace platform
