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

std::string GroupEntryText(const std::string& path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return path;
  return path.substr(slash + 1) + "  (" + path.substr(0, slash) + ")";
}

// The group keeps the order of addition, which is the order of packing and of
// the list on screen.
std::vector<std::string> WizardState::AddFiles() {
  std::vector<std::string> added;
  std::string already;
  for (const std::string& path : ui.ShowJsOpenDialogMany(Page::Files)) {
    const auto& group = files.groupFiles;
    const bool known = std::any_of(group.begin(), group.end(), [&](const std::string& f) { return SamePath(f, path); });
    if (known) {
      already += "\n" + path;
      continue;
    }
    files.groupFiles.push_back(path);
    added.push_back(path);
  }
  if (!already.empty()) ui.ShowMessage(Page::Files, kAlreadyInGroup + already, kWarningCaption, BoxIcon::Warning);
  return added;
}

void WizardState::RemoveFile(size_t index) {
  auto& group = files.groupFiles;
  if (index < group.size()) group.erase(group.begin() + static_cast<std::ptrdiff_t>(index));
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
  if (options.running) return;
  options.running = true;
  files.encodeStrings = encodeChecked;
  files.changeVariableNames = changeChecked;
  pack::PackOptions packOptions;
  packOptions.encodeStrings = encodeChecked;
  packOptions.changeVariableNames = changeChecked;
  const std::vector<RunItem> items = PlanRun();
  WizardUi& system = ui;
  const PackFunction packer = packText;
  ui.RunFiles(
      items,
      [&system, packOptions, packer](const RunItem& item) {
        if (!item.output) return FileOutcome{item.source, {}, kNotAFullPath};
        return PackFile(system, item.source, *item.output, packOptions, packer);
      },
      [this, items](std::vector<FileOutcome> outcomes, bool) { FinishRun(items, outcomes); });
}

std::vector<RunItem> WizardState::PlanRun() const {
  std::vector<RunItem> items;
  for (const std::string& source : CollectSources(files)) {
    items.push_back(RunItem{source, MakeOutputName(source, destination.destination, files.singleFileMode)});
  }
  return items;
}

// Files a cancelled run did not reach are listed as left as they were.
void WizardState::FinishRun(const std::vector<RunItem>& items, const std::vector<FileOutcome>& outcomes) {
  std::vector<std::string> notStarted;
  for (size_t k = outcomes.size(); k < items.size(); ++k) notStarted.push_back(items[k].source);
  const RunSummary summary = SummarizeRun(outcomes, notStarted);
  ui.ShowMessage(Page::Options, summary.text, summary.caption, summary.icon);
  ui.SetCompressCaption(kCloseCaption);
  options.completed = true;
  options.running = false;
}

}  // namespace wizard
