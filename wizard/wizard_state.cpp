#include "wizard_state.h"

#include <algorithm>

#include "compression_run.h"
#include "messages.h"

namespace wizard {

// After a warning the field at fault has the focus, so what is typed next goes there.
void WizardState::Warn(Page page, const char* text) {
  ui.ShowMessage(page, text, kWarningCaption, BoxIcon::Warning);
  ui.FocusInput(page);
}

std::optional<std::string> WizardState::BrowseFile() { return ui.ShowJsOpenDialog(Page::Files); }

// The list on screen sorts its entries; the group keeps the order of addition,
// which is the order of packing. Names differing only in letter case are two
// entries: C:\a.js and C:\A.js.
std::optional<std::string> WizardState::AddFile() {
  std::optional<std::string> path = ui.ShowJsOpenDialog(Page::Files);
  if (!path) return std::nullopt;
  const auto& group = files.groupFiles;
  if (std::find(group.begin(), group.end(), *path) != group.end()) return std::nullopt;
  files.groupFiles.push_back(*path);
  return path;
}

void WizardState::RemoveFile(const std::string& text) {
  auto& group = files.groupFiles;
  const auto found = std::find(group.begin(), group.end(), text);
  if (found != group.end()) group.erase(found);
}

void WizardState::FilesNext(const std::string& fileNameText) {
  if (files.singleFileMode) {
    if (fileNameText.empty()) return Warn(Page::Files, kNoFileName);
    files.singleFileName = fileNameText;
  } else if (files.groupFiles.empty()) {
    return Warn(Page::Files, kNoGroupFiles);
  }
  ui.ShowPage(Page::Destination);
}

std::optional<std::string> WizardState::BrowseDestination() {
  return files.singleFileMode ? ui.ShowJsSaveDialog(Page::Destination)
                              : ui.BrowseForFolder(Page::Destination);
}

void WizardState::DestinationBack() { ui.ShowPage(Page::Files); }

// A destination that would replace a source, or a read-only one, is refused here.
void WizardState::DestinationNext(const std::string& destinationText) {
  if (destinationText.empty()) return Warn(Page::Destination, kNoDestination);
  for (const std::string& source : CollectSources(files)) {
    const std::optional<std::string> output = MakeOutputName(source, destinationText, files.singleFileMode);
    if (!output) continue;
    if (SamePath(*output, source)) {
      return Warn(Page::Destination, files.singleFileMode ? kDestinationIsSource : kDestinationHoldsSources);
    }
    if (files.singleFileMode && ui.IsReadOnly(*output)) return Warn(Page::Destination, kReadOnlyDestination);
  }
  destination.destination = destinationText;
  ui.ShowPage(Page::Options);
}

void WizardState::OptionsBack(bool encodeChecked, bool changeChecked) {
  options.encodeStrings = encodeChecked ? 1 : 0;
  options.changeVariableNames = changeChecked ? 1 : 0;
  ui.SetCompressCaption(kCompressCaption);
  options.completed = false;
  ui.ShowPage(Page::Destination);
}

// After a run the button reads "Close" and ends the program; "<<Back" turns it
// into "Compress" again.
void WizardState::OnCompress(bool encodeChecked, bool changeChecked) {
  options.encodeStrings = encodeChecked ? 1 : 0;
  options.changeVariableNames = changeChecked ? 1 : 0;
  if (options.completed) return ui.CloseApplication();
  ui.SetCursor(Cursor::Hourglass);
  const RunSummary summary = SummarizeRun(CompressAll(options.encodeStrings != 0, options.changeVariableNames != 0));
  ui.SetCursor(Cursor::Arrow);
  ui.ShowMessage(Page::Options, summary.text, summary.caption, summary.icon);
  ui.SetCompressCaption(kCloseCaption);
  options.completed = true;
}

// Each file in turn; a failure is noted and the run goes on.
std::vector<FileOutcome> WizardState::CompressAll(bool encodeStrings, bool changeVariableNames) {
  files.encodeStrings = encodeStrings;
  files.changeVariableNames = changeVariableNames;
  const std::string target = destination.destination;
  pack::PackOptions packOptions;
  packOptions.encodeStrings = encodeStrings;
  packOptions.changeVariableNames = changeVariableNames;
  std::vector<FileOutcome> outcomes;
  for (const std::string& source : CollectSources(files)) {
    const std::optional<std::string> output = MakeOutputName(source, target, files.singleFileMode);
    if (!output) {
      outcomes.push_back(FileOutcome{source, {}, kNotAFullPath});
      continue;
    }
    outcomes.push_back(PackFile(ui, source, *output, packOptions, packText));
  }
  return outcomes;
}

}  // namespace wizard
