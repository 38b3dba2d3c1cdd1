// The data the three pages collect and what their buttons do with it, apart
// from the windows: the Win32 layer reads its controls and hands the texts and
// check states in; everything visible goes out through WizardUi.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pack_document.h"
#include "wizard_ui.h"

namespace wizard {

// Step 1: one file, or a group of files.
struct FilesPageData {
  std::vector<std::string> groupFiles;  // full paths in the order of addition, all different
  std::string singleFileName;           // taken from the edit when Next is pressed
  bool encodeStrings = false;           // the run's options, stored when it starts
  bool changeVariableNames = false;
  bool singleFileMode = true;
};

// Step 2: a file name (single file) or a folder (group).
struct DestinationPageData {
  std::string destination;  // taken from the edit when Next is pressed
};

// Step 3: the check states and whether the forward button reads "Close".
struct OptionsPageData {
  int32_t encodeStrings = 0;
  int32_t changeVariableNames = 0;
  bool completed = false;
  bool running = false;
};

// A file's bytes packed, or why they could not be.
struct PackedText {
  std::optional<std::string> bytes;
  std::string problem;  // in words, when `bytes` is empty
};

// Packs one file's bytes (PackText), reporting how far it has scanned to `progress`.
using PackFunction = PackedText (*)(std::string_view bytes, const pack::PackOptions& options,
                                    pack::ProgressCallback progress);
PackedText PackText(std::string_view bytes, const pack::PackOptions& options,
                    pack::ProgressCallback progress = nullptr);

// How the list on Step 1 shows a file of the group: its name, then its folder.
//   C:\js\lib\a.js  ->  "a.js  (C:\js\lib)"
std::string GroupEntryText(const std::string& path);



class WizardState {
 public:
  explicit WizardState(WizardUi& system, PackFunction packer = PackText)
      : ui(system), packText(packer) {}

  // Step 1. The mode switches never clear the other mode's data.
  void SetSingleFileMode() { files.singleFileMode = true; }
  void SetFileGroupMode() { files.singleFileMode = false; }
  // The new text of the file name edit, or nothing when the dialog was cancelled.
  std::optional<std::string> BrowseFile();
  // The paths added to the group, in the order chosen: none when cancelled.
  // A file already in the group (whatever the letter case) is not added
  // again, and a box says so.
  std::vector<std::string> AddFiles();
  // Drops the group's file at `index`: the list shows the group in its order.
  void RemoveFile(size_t index);
  void FilesNext(const std::string& fileNameText);
  // Puts the focus on the page's input field.
  void FocusInputOf(Page page) { ui.FocusInput(page); }
  // "Cancel" and Esc on any page, and the close box.
  void Close() { ui.CloseApplication(); }

  // Step 2. BrowseDestination offers the file dialog or the folder browser by mode.
  std::optional<std::string> BrowseDestination();
  void DestinationBack();
  void DestinationNext(const std::string& destinationText);

  // Step 3, with the states of "Encode strings" and "Change variable names".
  void OptionsBack(bool encodeChecked, bool changeChecked);
  // Starts a run of every file (RunFiles); its end shows one summary.
  void OnCompress(bool encodeChecked, bool changeChecked);
  // The files of a run and where each goes.
  std::vector<RunItem> PlanRun() const;

  const FilesPageData& Files() const { return files; }
  const DestinationPageData& Destination() const { return destination; }
  const OptionsPageData& Options() const { return options; }

 private:
  void Warn(Page page, const char* text);
  void FinishRun(const std::vector<RunItem>& items, const std::vector<FileOutcome>& outcomes);

  WizardUi& ui;
  PackFunction packText;
  FilesPageData files;
  DestinationPageData destination;
  OptionsPageData options;
};

}  // namespace wizard
