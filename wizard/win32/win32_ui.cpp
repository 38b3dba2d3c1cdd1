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
  MessageBoxW(PageObject(owner).Window(), Wide(text).c_str(), Wide(caption).c_str(), MB_OK | IconStyle(icon));
}

void CWin32Ui::SetCursor(Cursor cursor) {
  ::SetCursor(LoadCursorA(nullptr, cursor == Cursor::Hourglass ? IDC_WAIT : IDC_ARROW));
}

void CWin32Ui::SetCompressCaption(const std::string& caption) {
  SetDlgItemTextW(COptionsPage::Instance().Window(), IDC_NEXT, Wide(caption).c_str());
}

namespace {

// The Explorer-style file dialog for JavaScript files: to open one (a name
// that does not exist yet is taken too), or to save one, with the usual
// question before an existing file is replaced.
std::optional<std::string> AskForJsFile(HWND owner, bool save) {
  static const wchar_t kFilter[] = L"JavaScript files (*.js)\0*.js\0All Files (*.*)\0*.*\0";
  static wchar_t file[32768];
  file[0] = L'\0';
  wchar_t title[256] = L"";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file / sizeof file[0];
  dialog.lpstrFileTitle = title;
  dialog.nMaxFileTitle = sizeof title / sizeof title[0];
  dialog.lpstrDefExt = L"js";
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return std::nullopt;
  return Utf8(file);
}

}  // namespace

std::optional<std::string> CWin32Ui::ShowJsOpenDialog(Page owner) {
  return AskForJsFile(PageObject(owner).Window(), false);
}

// With several files chosen the dialog gives the folder, then each name,
// every one ended by a zero, and a second zero at the end.
std::vector<std::string> CWin32Ui::ShowJsOpenDialogMany(Page owner) {
  static const wchar_t kFilter[] = L"JavaScript files (*.js)\0*.js\0All Files (*.*)\0*.*\0";
  static wchar_t buffer[65536];
  buffer[0] = L'\0';
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = PageObject(owner).Window();
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer;
  dialog.nMaxFile = sizeof buffer / sizeof buffer[0];
  dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ALLOWMULTISELECT;
  if (!GetOpenFileNameW(&dialog)) return {};
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer; *p != L'\0'; p += parts.back().size() + 1) parts.emplace_back(p);
  std::vector<std::string> paths;
  if (parts.size() == 1) return {Utf8(parts[0])};
  std::wstring folder = parts[0];
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  for (size_t k = 1; k < parts.size(); ++k) paths.push_back(Utf8(folder + parts[k]));
  return paths;
}

std::optional<std::string> CWin32Ui::ShowJsSaveDialog(Page owner) {
  return AskForJsFile(PageObject(owner).Window(), true);
}

// The file name on Step 1 (the list in group mode), the destination on Step 2.
void CWin32Ui::FocusInput(Page page) {
  const HWND window = PageObject(page).Window();
  int control = IDC_DESTINATION;
  if (page == Page::Files) control = State().Files().singleFileMode ? IDC_FILE_NAME : IDC_FILE_LIST;
  if (page == Page::Options) return;
  SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, control)), TRUE);
}

bool CWin32Ui::IsReadOnly(const std::string& name) {
  const DWORD attributes = GetFileAttributesW(Wide(name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::optional<std::string> CWin32Ui::BrowseForFolder(Page owner) {
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) return std::nullopt;
  BROWSEINFOW browse{};
  browse.hwndOwner = PageObject(owner).Window();
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  std::optional<std::string> folder;
  if (LPITEMIDLIST items = SHBrowseForFolderW(&browse)) {
    wchar_t path[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(items, path)) folder = Utf8(path);
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

// The system's message for the code, without its closing period and line break.
std::string CWin32Ui::ErrorText(uint32_t errorCode) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : L"error " + std::to_wstring(errorCode);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.' ||
                              message.back() == L' ')) {
    message.pop_back();
  }
  return Utf8(message);
}

}  // namespace wizard
