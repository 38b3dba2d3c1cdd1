#include "console.h"

#include "messages.h"
#include "platform.h"

namespace cli {

Console::Console(bool messagesToErrorStream, bool quiet)
    : messages_(messagesToErrorStream ? stderr : stdout),
      quiet_(quiet),
      drawsProgress_(!quiet && platform::IsTerminal(platform::Stream::Error)) {}

void Console::Print(std::FILE* stream, const char* format, std::va_list args) {
  EraseProgress();
  std::vfprintf(stream, format, args);
  std::fflush(stream);
}

void Console::Note(const char* format, ...) {
  if (quiet_) return;
  std::va_list args;
  va_start(args, format);
  Print(messages_, format, args);
  va_end(args);
}

void Console::Failure(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  Print(messages_, format, args);
  va_end(args);
}

void Console::Detail(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  Print(stderr, format, args);
  va_end(args);
}

void Console::StartFile(const std::string& name, int32_t size) {
  fileName_ = name;
  fileSize_ = size;
  drawnForFile_ = false;
}

// Called for every 1024 characters scanned: a 10 MB file calls it ten
// thousand times, and the clock is read only where a terminal watches.
void Console::Progress(int32_t position) {
  if (!drawsProgress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (drawnForFile_ && now - lastDrawn_ < std::chrono::milliseconds(100)) return;
  drawnForFile_ = true;
  lastDrawn_ = now;
  char line[64];
  std::snprintf(line, sizeof line, kProgress, position, fileSize_);
  const std::string text = fileName_ + line;
  std::fprintf(stderr, "\r%s", text.c_str());
  if (text.size() < progressWidth_) std::fprintf(stderr, "%*s", static_cast<int>(progressWidth_ - text.size()), "");
  std::fflush(stderr);
  progressWidth_ = std::max(progressWidth_, text.size());
}

void Console::EraseProgress() {
  if (progressWidth_ == 0) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(progressWidth_), "");
  std::fflush(stderr);
  progressWidth_ = 0;
}

}  // namespace cli
