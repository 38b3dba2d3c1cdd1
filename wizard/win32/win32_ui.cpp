// The page logic's platform operations with user32, comdlg32, shell32 and the
// platform layer's whole-file reading and writing.
#include <windows.h>
// After windows.h:
#include <commdlg.h>
#include <shlobj.h>

#include "platform.h"
#include "resource.h"
#include "shell.h"

namespace wizard {
namespace {

UINT IconStyle(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information:
      return MB_ICONINFORMATION;
    case BoxIcon::Warning:
      return MB_ICONWARNING;
    case BoxIcon::Error:
      break;
  }
  return MB_ICONERROR;
}

// The system's code for a failed file operation; the platform layer's own
// refusals (a device, a file too large) carry none and get `fallback`.
FileStatus Failed(DWORD fallback) {
  const DWORD code = GetLastError();
  return {false, static_cast<uint32_t>(code != ERROR_SUCCESS ? code : fallback)};
}

}  // namespace

void CWin32Ui::ShowMessage(Page owner, const std::string& text, const std::string& caption,
                           BoxIcon icon) {
  MessageBoxA(PageObject(owner).Window(), text.c_str(), caption.c_str(), MB_OK | IconStyle(icon));
}

void CWin32Ui::SetCursor(Cursor cursor) {
  ::SetCursor(LoadCursorA(nullptr, cursor == Cursor::Hourglass ? IDC_WAIT : IDC_ARROW));
}

void CWin32Ui::SetCompressCaption(const std::string& caption) {
  SetDlgItemTextA(COptionsPage::Instance().Window(), IDC_NEXT, caption.c_str());
}

// The Explorer-style open dialog; it accepts a name that does not exist yet.
std::optional<std::string> CWin32Ui::ShowJsOpenDialog(Page owner) {
  static const char kFilter[] = "JavaScript files (*.js)\0*.js\0All Files (*.*)\0*.*\0";
  char file[MAX_PATH] = "";
  char title[256] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = PageObject(owner).Window();
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrFileTitle = title;
  dialog.nMaxFileTitle = sizeof title;
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  return std::string(file);
}

std::optional<std::string> CWin32Ui::BrowseForFolder(Page owner) {
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) return std::nullopt;
  BROWSEINFOA browse{};
  browse.hwndOwner = PageObject(owner).Window();
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  std::optional<std::string> folder;
  if (LPITEMIDLIST items = SHBrowseForFolderA(&browse)) {
    char path[MAX_PATH] = "";
    if (SHGetPathFromIDListA(items, path)) folder = path;
    allocator->Free(items);
  }
  allocator->Release();
  return folder;
}

void CWin32Ui::ShowPage(Page page) { wizard::ShowPage(page); }

void CWin32Ui::CloseApplication() { wizard::CloseApplication(); }

FileStatus CWin32Ui::ReadWholeFile(const std::string& name, std::string& bytes) {
  SetLastError(ERROR_SUCCESS);
  if (platform::ReadWholeFile(name, bytes).ok) return {true, 0};
  return Failed(ERROR_READ_FAULT);
}

FileStatus CWin32Ui::WriteWholeFile(const std::string& name, std::string_view bytes) {
  SetLastError(ERROR_SUCCESS);
  if (platform::WriteWholeFile(name, bytes).ok) return {true, 0};
  return Failed(ERROR_WRITE_FAULT);
}

}  // namespace wizard
