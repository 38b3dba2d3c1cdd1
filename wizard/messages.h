// Every text the wizard's logic shows, in one place. The printf forms are
// filled by FormatMessageText.
#pragma once

namespace wizard {

inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kNoCaption = "";

inline constexpr const char* kNoFileName = "Please specify a file name.";
inline constexpr const char* kNoGroupFiles = "Please specify at least one file name.";
inline constexpr const char* kNoDestination = "Please specify a destination folder.";

inline constexpr const char* kInvalidFileName = "Invalid file name:";
inline constexpr const char* kReadError = "File reading error : <%s> error = %d\n";
inline constexpr const char* kPackingError = "Packing error!";
inline constexpr const char* kWriteError = "File writing error : <%s> error = %d\n";
inline constexpr const char* kCompleted = "Compression completed.";

inline constexpr const char* kCompressCaption = "Compress";
inline constexpr const char* kCloseCaption = "Close";

}  // namespace wizard
