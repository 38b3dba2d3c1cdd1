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
};

// A file's bytes packed, or why they could not be.
struct PackedText {
  std::optional<std::string> bytes;
  std::string problem;  // in words, when `bytes` is empty
};

// Packs one file's bytes (PackText).
using PackFunction = PackedText (*)(std::string_view bytes, const pack::PackOptions& options);
PackedText PackText(std::string_view bytes, const pack::PackOptions& options);

// What became of one file of a run.
struct FileOutcome {
  std::string source;
  std::string output;   // where it went, or was to go; empty when none could be named
  std::string failure;  // why it was not packed, in words; empty when it was
};

class WizardState {
 public:
  explicit WizardState(WizardUi& system, PackFunction packer = PackText)
      : ui(system), packText(packer) {}

  // Step 1. The mode switches never clear the other mode's data.
  void SetSingleFileMode() { files.singleFileMode = true; }
  void SetFileGroupMode() { files.singleFileMode = false; }
  // The new text of the file name edit, or nothing when the dialog was cancelled.
  std::optional<std::string> BrowseFile();
  // The path to add to the list, or nothing: cancelled, or already in the group.
  std::optional<std::string> AddFile();
  // Drops the list entry `text` (already deleted from the list) from the group.
  void RemoveFile(const std::string& text);
  void FilesNext(const std::string& fileNameText);
  // "Cancel" on Step 1, and the close box of any page.
  void Close() { ui.CloseApplication(); }

  // Step 2. BrowseDestination offers the file dialog or the folder browser by mode.
  std::optional<std::string> BrowseDestination();
  void DestinationBack();
  void DestinationNext(const std::string& destinationText);

  // Step 3, with the states of "Encode strings" and "Change variable names".
  void OptionsBack(bool encodeChecked, bool changeChecked);
  void OnCompress(bool encodeChecked, bool changeChecked);
  std::vector<FileOutcome> CompressAll(bool encodeStrings, bool changeVariableNames);

  const FilesPageData& Files() const { return files; }
  const DestinationPageData& Destination() const { return destination; }
  const OptionsPageData& Options() const { return options; }

 private:
  void Warn(Page page, const char* text);

  WizardUi& ui;
  PackFunction packText;
  FilesPageData files;
  DestinationPageData destination;
  OptionsPageData options;
};

}  // namespace wizard
