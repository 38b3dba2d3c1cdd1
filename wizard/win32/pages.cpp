// The three pages: each reads its controls and hands the texts and check
// states to the page logic, which decides what follows.
#include "resource.h"
#include "shell.h"

namespace wizard {

CFilesPage::CFilesPage() : CPage(IDD_FILES_PAGE) {}

CFilesPage& CFilesPage::Instance() {
  static CFilesPage page;
  return page;
}

void CFilesPage::OnInitDialog() {
  CenterOnWorkArea(Window());
  CheckDlgButton(Window(), IDC_SINGLE_FILE, BST_CHECKED);
  SetSingleFileMode();
  State().SetSingleFileMode();
}

// Controls: 1007 "Single file", 1008 "File group", 1018 file name, 1010 "...",
// 1011 the group list, 1014 "+", 1013 "-", 1009 "Cancel", 1005 "Next>>".
void CFilesPage::OnCommand(int id, int notification) {
  const bool clicked = notification == BN_CLICKED;
  switch (id) {
    case IDC_SINGLE_FILE:
      if (clicked) SetSingleFileMode();
      break;
    case IDC_FILE_GROUP:
      if (clicked) SetFileGroupMode();
      break;
    case IDC_BROWSE:
      if (!clicked) break;
      if (const std::optional<std::string> path = State().BrowseFile()) {
        SetDlgItemTextW(Window(), IDC_FILE_NAME, Wide(*path).c_str());
      }
      break;
    case IDC_ADD_FILE:
      if (clicked) AddFile();
      break;
    case IDC_REMOVE_FILE:
      if (clicked) RemoveFile();
      break;
    case IDC_NEXT:
      State().FilesNext(ControlText(IDC_FILE_NAME));
      break;
    default:
      break;
  }
}

// One mode's controls on and the other's off; the other mode's input stays as
// it is, only disabled.
void CFilesPage::ShowMode(bool single) {
  const BOOL singleOn = single ? TRUE : FALSE;
  const BOOL groupOn = single ? FALSE : TRUE;
  EnableWindow(Control(IDC_FILE_NAME), singleOn);
  EnableWindow(Control(IDC_BROWSE), singleOn);
  EnableWindow(Control(IDC_ADD_FILE), groupOn);
  EnableWindow(Control(IDC_REMOVE_FILE), groupOn);
  EnableWindow(Control(IDC_FILE_LIST), groupOn);
  CheckDlgButton(Window(), single ? IDC_FILE_GROUP : IDC_SINGLE_FILE, BST_UNCHECKED);
}

void CFilesPage::SetSingleFileMode() {
  if (!IsChecked(IDC_SINGLE_FILE)) return;
  ShowMode(true);
  State().SetSingleFileMode();
}

void CFilesPage::SetFileGroupMode() {
  if (!IsChecked(IDC_FILE_GROUP)) return;
  ShowMode(false);
  State().SetFileGroupMode();
}

// The list shows the group in its order, each file's name before its folder.
void CFilesPage::AddFile() {
  for (const std::string& path : State().AddFiles()) {
    const std::wstring text = Wide(GroupEntryText(path));
    SendDlgItemMessageW(Window(), IDC_FILE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void CFilesPage::RemoveFile() {
  const LRESULT index = SendDlgItemMessageW(Window(), IDC_FILE_LIST, LB_GETCURSEL, 0, 0);
  if (index < 0) return;
  SendDlgItemMessageW(Window(), IDC_FILE_LIST, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  State().RemoveFile(static_cast<size_t>(index));
}

CDestinationPage::CDestinationPage() : CPage(IDD_DESTINATION_PAGE) {}

CDestinationPage& CDestinationPage::Instance() {
  static CDestinationPage page;
  return page;
}

// Controls: 1006 destination, 1010 "...", 1007 "<<Back", 1005 "Next>>".
void CDestinationPage::OnCommand(int id, int notification) {
  switch (id) {
    case IDC_BROWSE:
      if (notification != BN_CLICKED) break;
      if (const std::optional<std::string> path = State().BrowseDestination()) {
        SetDlgItemTextW(Window(), IDC_DESTINATION, Wide(*path).c_str());
      }
      break;
    case IDC_BACK:
      State().DestinationBack();
      break;
    case IDC_NEXT:
      State().DestinationNext(ControlText(IDC_DESTINATION));
      break;
    default:
      break;
  }
}

COptionsPage::COptionsPage() : CPage(IDD_OPTIONS_PAGE) {}

COptionsPage& COptionsPage::Instance() {
  static COptionsPage page;
  return page;
}

// Controls: 1015 "Encode strings", 1016 "Change variable names", 1007 "<<Back",
// 1005 "Compress", which reads "Close" after a run.
void COptionsPage::OnCommand(int id, int) {
  switch (id) {
    case IDC_BACK:
      State().OptionsBack(IsChecked(IDC_ENCODE_STRINGS), IsChecked(IDC_CHANGE_VARIABLES));
      break;
    case IDC_NEXT:
      State().OnCompress(IsChecked(IDC_ENCODE_STRINGS), IsChecked(IDC_CHANGE_VARIABLES));
      break;
    default:
      break;
  }
}

}  // namespace wizard
