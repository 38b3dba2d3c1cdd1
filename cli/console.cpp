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
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
  va_end(again);
  platform::WriteText(stream == stdout ? platform::Stream::Output : platform::Stream::Error, text);
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
  std::string shown = "\r" + text;
  if (text.size() < progressWidth_) shown.append(progressWidth_ - text.size(), ' ');
  platform::WriteText(platform::Stream::Error, shown);
  progressWidth_ = std::max(progressWidth_, text.size());
}

void Console::EraseProgress() {
  if (progressWidth_ == 0) return;
  platform::WriteText(platform::Stream::Error, "\r" + std::string(progressWidth_, ' ') + "\r");
  progressWidth_ = 0;
}

}  // namespace cli
