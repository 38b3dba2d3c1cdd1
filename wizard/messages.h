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
inline constexpr const char* kAlreadyInGroup = "Already in the group, so not added again:";
inline constexpr const char* kDestinationIsSource =
    "The destination is the source file itself; packing would replace it. Please choose another file.";
inline constexpr const char* kDestinationHoldsSources =
    "The destination folder holds the files of the group; their packed forms would replace them. "
    "Please choose another folder.";
inline constexpr const char* kReadOnlyDestination =
    "The destination file is read-only. Please choose another file, or make it writable first.";

inline constexpr const char* kCompleted = "Compression completed.";
inline constexpr const char* kNoHelp = "The help (Farrowdale.chm or Farrowdale.html) is not installed beside the program.";
// The summary of a run that did not pack every file.
inline constexpr const char* kSomePacked = "%s files were packed.";  // "2 of 3"
inline constexpr const char* kNonePacked = "No file was packed.";
inline constexpr const char* kNotPackedHeading = "Not packed:";
inline constexpr const char* kWrittenHeading = "Written:";
inline constexpr const char* kCancelled = "The run was cancelled.";
inline constexpr const char* kNotStartedHeading = "Left as they were:";
// Why a file was not packed; each %s is filled in.
inline constexpr const char* kNotAFullPath = "the name has no folder; give its full path";
inline constexpr const char* kCannotRead = "cannot be read: %s";
inline constexpr const char* kCannotPack = "cannot be packed: %s";
inline constexpr const char* kCannotWrite = "cannot be written to %s";
inline constexpr const char* kOutOfMemory = "out of memory";
inline constexpr const char* kEngineFault = "the packing engine failed";

// With their access keys: Alt+M presses "Compress", Alt+L "Close".
inline constexpr const char* kCompressCaption = "Co&mpress";
inline constexpr const char* kCloseCaption = "C&lose";

}  // namespace wizard
