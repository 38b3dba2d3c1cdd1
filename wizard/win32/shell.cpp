// The page windows, their common look, the message loop, moving between pages,
// help and closing the program.
#include "shell.h"

#include <algorithm>

#include "messages.h"
#include "platform.h"
#include "resource.h"
#include "shell_rules.h"

namespace wizard {
namespace {

HINSTANCE programInstance = nullptr;
HWND visiblePage = nullptr;

// The page's picture: a white body under the banner, a rule of one dark and
// one light grey row 185 dialog units down (just above the buttons, at 197),
// and below it the band in which the buttons stand. Dialog units follow the
// font and the DPI, so the rule stays where the controls are.
constexpr int kRuleUnits = 185;

}  // namespace

std::wstring Wide(const std::string& text) {
  const std::u16string wide = platform::Utf8ToWide(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string Utf8(const std::wstring& text) {
  return platform::WideToUtf8(std::u16string(text.begin(), text.end()));
}

HINSTANCE ProgramInstance() { return programInstance; }
void SetProgramInstance(HINSTANCE instance) { programInstance = instance; }

CPage::~CPage() {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(whiteBrush), static_cast<HGDIOBJ>(faceBrush),
                         static_cast<HGDIOBJ>(darkPen), static_cast<HGDIOBJ>(lightPen)}) {
    if (object != nullptr) DeleteObject(object);
  }
}

bool CPage::Create() {
  window = CreateDialogParamW(programInstance, MAKEINTRESOURCEW(templateId), nullptr, DialogProc,
                              reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

std::string CPage::ControlText(int id) const {
  HWND control = Control(id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = GetWindowTextW(control, &text[0], static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length > 0 ? length : 0));
  return Utf8(text);
}

// The page object rides in the window's user data from WM_INITDIALOG on; the
// few messages before it (WM_SETFONT) get the default handling.
INT_PTR CALLBACK CPage::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  CPage* page = nullptr;
  if (message == WM_INITDIALOG) {
    page = reinterpret_cast<CPage*>(lParam);
    page->window = dialog;
    SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
  } else {
    page = reinterpret_cast<CPage*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
  }
  return page != nullptr ? page->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      FitBanner();
      SetIcons();
      OnInitDialog();
      CMessageLoop::Instance().AddFilter(this);
      return TRUE;  // the focus goes to the first tab stop
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wParam));
      SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_CLOSE:  // the close box, the system menu, Alt+F4, or "Cancel"
      if (RunActive()) {
        CancelRun(true);
      } else {
        State().Close();
      }
      return TRUE;
    case WM_COMMAND:
      // Esc (IDCANCEL from the dialog manager) and "Cancel", on every page; during
      // a run they stop it after the current file.
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDC_CANCEL) {
        if (HIWORD(wParam) != BN_CLICKED) return TRUE;
        if (RunActive()) {
          CancelRun(false);
        } else {
          SendMessageW(window, WM_CLOSE, 0, 0);
        }
      } else if (LOWORD(wParam) == IDC_HELP_BUTTON) {
        if (HIWORD(wParam) == BN_CLICKED) OpenHelp(window);
      } else {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return TRUE;
    default:
      if (message >= WM_APP && message < WM_APP + 16) {
        OnRunMessage(message, wParam, lParam);
        return TRUE;
      }
      return FALSE;
  }
}

// The banner spans the page's width at any font and DPI, its height in
// proportion.
void CPage::FitBanner() {
  HWND banner = Control(IDC_BANNER);
  const auto image = reinterpret_cast<HBITMAP>(SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP size{};
  if (banner == nullptr || image == nullptr || GetObjectW(image, sizeof size, &size) == 0 || size.bmWidth == 0) return;
  RECT client{};
  GetClientRect(window, &client);
  const LONG height = size.bmHeight * client.right / size.bmWidth;
  SetWindowPos(banner, nullptr, 0, 0, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPage::SetIcons() {
  const auto load = [](int width, int height) {
    return LoadImageW(programInstance, MAKEINTRESOURCEW(IDI_FARROWDALE), IMAGE_ICON, width, height,
                      LR_DEFAULTCOLOR);
  };
  HANDLE bigIcon = load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  HANDLE smallIcon = load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

// The lines are drawn first; neither fill covers the two rows of the rule.
void CPage::PaintBackground(HDC dc) {
  if (whiteBrush == nullptr) {
    whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    faceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    darkPen = CreatePen(PS_INSIDEFRAME, 1, RGB(170, 170, 170));
    lightPen = CreatePen(PS_INSIDEFRAME, 1, RGB(221, 221, 221));
  }
  RECT client{};
  GetClientRect(window, &client);
  const LONG right = client.right;
  const LONG bottom = client.bottom;
  RECT rule{0, kRuleUnits, 1, kRuleUnits + 1};
  MapDialogRect(window, &rule);
  const LONG row = rule.top;
  HGDIOBJ oldPen = SelectObject(dc, darkPen);
  MoveToEx(dc, 0, row, nullptr);
  LineTo(dc, right, row);
  SelectObject(dc, lightPen);
  MoveToEx(dc, 0, row + 1, nullptr);
  LineTo(dc, right, row + 1);
  const RECT body{0, 0, right, row};
  FillRect(dc, &body, whiteBrush);
  const RECT band{0, row + 2, right, bottom};
  FillRect(dc, &band, faceBrush);
  SelectObject(dc, oldPen);
}

CMessageLoop& CMessageLoop::Instance() {
  static CMessageLoop loop;
  return loop;
}

// The latest page gets the first look at each message: Tab, the arrow keys and
// Enter work as in any dialog box.
int CMessageLoop::Run() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) {
      platform::DebugTrace("::GetMessage returned -1 (error)\n");
      continue;
    }
    if (got == 0) {
      platform::DebugTrace("CMessageLoop::Run - exiting\n");
      return static_cast<int>(message.wParam);
    }
    bool consumed = false;
    for (auto page = filters.rbegin(); page != filters.rend() && !consumed; ++page) {
      consumed = (*page)->FilterMessage(message);
    }
    if (!consumed) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

CPage& PageObject(Page page) {
  switch (page) {
    case Page::Files:
      return CFilesPage::Instance();
    case Page::Destination:
      return CDestinationPage::Instance();
    case Page::Options:
      break;
  }
  return COptionsPage::Instance();
}

WizardState& State() {
  static CWin32Ui ui;
  static WizardState state(ui);
  return state;
}

void ShowPage(Page page) {
  if (visiblePage != nullptr && IsWindow(visiblePage)) ShowWindow(visiblePage, SW_HIDE);
  CPage& target = PageObject(page);
  if (!target.Exists()) target.Create();
  CenterOnWorkArea(target.Window());
  ShowWindow(target.Window(), SW_SHOWDEFAULT);
  visiblePage = target.Window();
  // Whichever button took the page away, Enter presses the page's default
  // button again: the focus goes to the page's field, or on Step 3 to "Compress".
  if (page == Page::Options) {
    SendMessageW(target.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(target.Window(), IDC_NEXT)), TRUE);
  } else {
    State().FocusInputOf(page);
  }
}

void CenterOnWorkArea(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const Position at = CenterOnArea(frame.right - frame.left, frame.bottom - frame.top,
                                   {area.left, area.top, area.right, area.bottom});
  SetWindowPos(window, nullptr, static_cast<int>(at.x), static_cast<int>(at.y), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string GetProgramDirectory() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return DirectoryOf(Utf8(std::wstring(path, length)));
}

// The help file lies beside the program, whatever the current directory is.
// When it is missing the shell may say so; the wizard itself says nothing.
void OpenHelp(HWND owner) {
  const std::string directory = GetProgramDirectory();
  const auto exists = [](const std::string& name) {
    return GetFileAttributesW(Wide(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  const std::optional<std::string> found = HelpFileName(directory, exists);
  if (!found) {
    MessageBoxW(owner, Wide(kNoHelp).c_str(), L"Help", MB_OK | MB_ICONINFORMATION);
    return;
  }
  const std::wstring file = Wide(*found);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}

void CloseApplication() {
  for (Page page : {Page::Files, Page::Destination, Page::Options}) {
    CPage& object = PageObject(page);
    if (object.Exists()) DestroyWindow(object.Window());
  }
  visiblePage = nullptr;
  PostQuitMessage(0);
}

int Run(int showCommand) {
  CMessageLoop& loop = CMessageLoop::Instance();
  CFilesPage& first = CFilesPage::Instance();
  if (!first.Create()) {
    platform::DebugTrace("Main dialog creation failed!\n");
    return 0;
  }
  ShowWindow(first.Window(), showCommand);
  visiblePage = first.Window();
  return loop.Run();
}

}  // namespace wizard
