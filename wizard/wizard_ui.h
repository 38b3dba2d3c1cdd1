// What the wizard's page logic asks of the windowing system: message boxes, the
// cursor, a button caption, the file dialog, the folder browser, moving between
// pages and ending the program, and whole files with the system's error code.
// The Win32 layer implements it with real windows; native tests record it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wizard {

// The three pages, in the order the user meets them; also the owners of boxes.
enum class Page { Files, Destination, Options };

enum class BoxIcon { Information, Warning, Error };

enum class Cursor { Hourglass, Arrow };

// One file of a run: where it comes from, and where it goes (nothing when no
// output can be named for it).
struct RunItem {
  std::string source;
  std::optional<std::string> output;
};

// What became of one file of a run.
struct FileOutcome {
  std::string source;
  std::string output;   // where it went, or was to go; empty when none could be named
  std::string failure;  // why it was not packed, in words; empty when it was
};

// A file operation's outcome: the system's error code when it failed.
struct FileStatus {
  bool ok = false;
  uint32_t errorCode = 0;
};

class WizardUi {
 public:
  virtual ~WizardUi() = default;

  // A box with one OK button, owned by the page's window.
  virtual void ShowMessage(Page owner, const std::string& text, const std::string& caption,
                           BoxIcon icon) = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  // The caption of the forward button (1005) on Step 3.
  virtual void SetCompressCaption(const std::string& caption) = 0;
  // The JavaScript open dialog: the chosen path, nothing when cancelled.
  virtual std::optional<std::string> ShowJsOpenDialog(Page owner) = 0;
  // The same, where several files may be chosen at once: none when cancelled.
  virtual std::vector<std::string> ShowJsOpenDialogMany(Page owner) = 0;
  // The JavaScript save dialog, which asks before an existing file is chosen.
  virtual std::optional<std::string> ShowJsSaveDialog(Page owner) = 0;
  // Puts the keyboard focus on the page's input field (after a warning about it).
  virtual void FocusInput(Page page) = 0;
  // Whether the file exists and may not be written (read-only).
  virtual bool IsReadOnly(const std::string& name) = 0;
  // The shell's folder browser: the chosen folder, nothing when cancelled.
  virtual std::optional<std::string> BrowseForFolder(Page owner) = 0;
  // Hides the current page and shows `page`, centred on the work area.
  virtual void ShowPage(Page page) = 0;
  // Destroys the page windows and ends the message loop with exit code 0.
  virtual void CloseApplication() = 0;

  // Reads the whole file; on failure `bytes` is left unspecified.
  virtual FileStatus ReadWholeFile(const std::string& name, std::string& bytes) = 0;
  // Replaces the file by a complete new one, or leaves it as it was.
  virtual FileStatus WriteWholeFile(const std::string& name, std::string_view bytes) = 0;
  // The system's words for an error code ("The system cannot find the file specified").
  virtual std::string ErrorText(uint32_t errorCode) = 0;

  // Runs `pack` on each item in turn, off the window's thread where there is
  // one, showing which file is packed and how far the run has come; Cancel
  // stops it after the current file. Then calls `done`, on the window's
  // thread, with the outcomes of the files the run reached and whether it
  // was cancelled.
  virtual void RunFiles(std::vector<RunItem> items, std::function<FileOutcome(const RunItem&)> pack,
                        std::function<void(std::vector<FileOutcome>, bool)> done) = 0;
  // Where the engine reports how far it has scanned the current file, or null.
  virtual void (*PackProgress())(int32_t position) { return nullptr; }
};

}  // namespace wizard
