// The shell every page shares: the page windows and their look, the message
// loop with its keyboard filters, moving between pages, help and closing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "wizard_state.h"
#include "wizard_ui.h"

namespace wizard {

// The page logic's texts are UTF-8; the windows' are UTF-16.
std::wstring Wide(const std::string& text);
std::string Utf8(const std::wstring& text);


// One page of the wizard: a modeless dialog with no parent, created on its
// first showing and then only hidden and shown until the program closes.
class CPage {
 public:
  explicit CPage(int templateNumber) : templateId(templateNumber) {}
  virtual ~CPage();
  CPage(const CPage&) = delete;
  CPage& operator=(const CPage&) = delete;

  // Creates the window from the page's template; false when that fails.
  bool Create();
  HWND Window() const { return window; }
  bool Exists() const { return window != nullptr && IsWindow(window); }
  // Tab, the arrow keys and Enter, the way a dialog box takes them.
  bool FilterMessage(MSG& message) { return Exists() && IsDialogMessageW(window, &message); }

 protected:
  virtual void OnInitDialog() = 0;
  virtual void OnCommand(int id, int notification) = 0;
  // The messages a run in progress posts to its page (WM_APP and after).
  virtual void OnRunMessage(UINT, WPARAM, LPARAM) {}

  HWND Control(int id) const { return GetDlgItem(window, id); }
  std::string ControlText(int id) const;
  bool IsChecked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void SetIcons();
  void FitBanner();
  void PaintBackground(HDC dc);

  int templateId;
  HWND window = nullptr;
  // The painting objects, made at the first erase and kept until the program ends.
  HBRUSH whiteBrush = nullptr;
  HBRUSH faceBrush = nullptr;
  HPEN darkPen = nullptr;
  HPEN lightPen = nullptr;
};

// Step 1: one file, or a group of files.
class CFilesPage : public CPage {
 public:
  CFilesPage();
  static CFilesPage& Instance();

 protected:
  void OnInitDialog() override;
  void OnCommand(int id, int notification) override;

 private:
  void ShowMode(bool single);
  void SetSingleFileMode();
  void SetFileGroupMode();
  void AddFile();
  void RemoveFile();
};

// Step 2: the destination file or folder.
class CDestinationPage : public CPage {
 public:
  CDestinationPage();
  static CDestinationPage& Instance();

 protected:
  void OnInitDialog() override {}
  void OnCommand(int id, int notification) override;
};

// Step 3: the options and "Compress".
class COptionsPage : public CPage {
 public:
  COptionsPage();
  static COptionsPage& Instance();

 protected:
  void OnInitDialog() override {}
  void OnCommand(int id, int notification) override;
  void OnRunMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The thread's message loop; the pages add themselves as keyboard filters.
class CMessageLoop {
 public:
  static CMessageLoop& Instance();
  void AddFilter(CPage* page) { filters.push_back(page); }
  int Run();

 private:
  std::vector<CPage*> filters;
};

// The windowing side of the page logic.
class CWin32Ui : public WizardUi {
 public:
  void ShowMessage(Page owner, const std::string& text, const std::string& caption,
                   BoxIcon icon) override;
  void SetCursor(Cursor cursor) override;
  void SetCompressCaption(const std::string& caption) override;
  std::optional<std::string> ShowJsOpenDialog(Page owner) override;
  std::optional<std::string> ShowJsSaveDialog(Page owner) override;
  std::vector<std::string> ShowJsOpenDialogMany(Page owner) override;
  void FocusInput(Page page) override;
  bool IsReadOnly(const std::string& name) override;
  std::optional<std::string> BrowseForFolder(Page owner) override;
  void ShowPage(Page page) override;
  void CloseApplication() override;
  FileStatus ReadWholeFile(const std::string& name, std::string& bytes) override;
  FileStatus WriteWholeFile(const std::string& name, std::string_view bytes) override;
  std::string ErrorText(uint32_t errorCode) override;
  void RunFiles(std::vector<RunItem> items, std::function<FileOutcome(const RunItem&)> pack,
                std::function<void(std::vector<FileOutcome>, bool)> done) override;
  void (*PackProgress())(int32_t position) override;
};

// The run in progress, if any (run.cpp): Cancel and Esc stop it after the
// current file; the close box also closes the wizard once it has stopped.
bool RunActive();
void CancelRun(bool thenClose);

HINSTANCE ProgramInstance();
void SetProgramInstance(HINSTANCE instance);
// The page logic, shared by the three pages.
WizardState& State();
CPage& PageObject(Page page);

void ShowPage(Page page);
void CenterOnWorkArea(HWND window);
std::string GetProgramDirectory();
void OpenHelp(HWND owner);
void CloseApplication();
int Run(int showCommand);

}  // namespace wizard
