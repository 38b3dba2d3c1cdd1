// Drives Farrowdale under Wine as a person would: keys and mouse clicks through
// SendInput, with the windows found by their titles and control numbers. It
// checks each page and box on the way, saves a picture of every page, and
// leaves the packed files for run.sh to compare with trimlet's.
//   wizard_driver.exe Farrowdale.exe WORK_DIR SHOTS_DIR
// WORK_DIR holds in\single.js, in\one\lib.js and in\two\page.html; the wizard
// writes out\single-on.js (both options), out\single-off.js (neither) and
// out\group\lib.js, out\group\page.html (both options; in\missing.js, also in
// the group, gives a reading error).
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kNext = 1005;
constexpr int kDestination = 1006;
constexpr int kSingleFile = 1007;
constexpr int kBack = 1007;
constexpr int kFileGroup = 1008;
constexpr int kFileList = 1011;
constexpr int kAddFile = 1014;
constexpr int kEncodeStrings = 1015;
constexpr int kChangeVariables = 1016;
constexpr int kFileName = 1018;
constexpr int kHelp = 57670;

const char* const kStep1 = "BrixelPacker (Step 1)";
const char* const kStep2 = "BrixelPacker (Step 2)";
const char* const kStep3 = "BrixelPacker (Step 3)";

PROCESS_INFORMATION wizard{};
std::string shots;
int checks = 0;

std::string Text(HWND window);

// The control that has the keyboard focus: its number, or -1.
int FocusedControl() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(0, &info);
  return info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : -1;
}

// Where the keyboard goes: the foreground window and its focused control.
std::string Focus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(0, &info);
  HWND foreground = GetForegroundWindow();
  return "foreground \"" + Text(foreground) + "\", focus on control " +
         std::to_string(info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : -1);
}

[[noreturn]] void Fail(const std::string& what) {
  std::printf("FAIL: %s (%s)\n", what.c_str(), Focus().c_str());
  std::fflush(stdout);
  if (wizard.hProcess != nullptr) TerminateProcess(wizard.hProcess, 99);
  std::exit(1);
}

void Check(bool ok, const std::string& what) {
  if (!ok) Fail(what);
  ++checks;
  std::printf("ok: %s\n", what.c_str());
  std::fflush(stdout);
}

// Waits up to five seconds for `ok` to hold: the wizard works on its own thread.
template <typename Condition>
void CheckSoon(Condition ok, const std::string& what) {
  for (int i = 0; i < 50 && !ok(); ++i) Sleep(100);
  Check(ok(), what);
}
#define CHECK_SOON(condition, what) CheckSoon([&] { return (condition); }, (what))

std::string Text(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool OfWizard(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == wizard.dwProcessId;
}

struct Search {
  const char* title;
  HWND found;
};

// A visible top-level dialog of the wizard's process with exactly this title.
HWND FindVisible(const char* title) {
  Search search{title, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char cls[64] = "";
        GetClassNameA(window, cls, sizeof cls);
        if (IsWindowVisible(window) && OfWizard(window) && std::string(cls) == "#32770" &&
            Text(window) == s->title) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitFor(const char* title, const std::string& what) {
  for (int i = 0; i < 200; ++i) {
    if (HWND window = FindVisible(title)) {
      Sleep(300);  // let it paint
      return window;
    }
    Sleep(100);
  }
  Fail("no window \"" + std::string(title) + "\" for " + what);
}

void WaitGone(HWND window, const std::string& what) {
  for (int i = 0; i < 200 && IsWindow(window) && IsWindowVisible(window); ++i) Sleep(100);
  if (IsWindow(window) && IsWindowVisible(window)) Fail(what + ": window stays");
  Sleep(200);
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(150);
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void Key(WORD key) { Send({KeyInput(key, false), KeyInput(key, true)}); }

void ShiftKey(WORD key) {
  Send({KeyInput(VK_SHIFT, false), KeyInput(key, false), KeyInput(key, true),
        KeyInput(VK_SHIFT, true)});
}

void Type(const std::string& text) {
  std::vector<INPUT> inputs;
  for (char c : text) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  Send(inputs);
}

// A left click in the middle of a control.
void Click(HWND page, int id) {
  HWND control = GetDlgItem(page, id);
  if (control == nullptr) Fail("no control " + std::to_string(id));
  RECT box{};
  GetWindowRect(control, &box);
  const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = ((box.left + box.right) / 2) * 65535 / width;
  move.mi.dy = ((box.top + box.bottom) / 2) * 65535 / height;
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT down = move;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  INPUT up = move;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  Send({move});
  Send({down, up});
  Sleep(200);
}

bool Checked(HWND page, int id) {
  return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }

// The box raised by the wizard: its caption, its text, dismissed with Enter.
// A box whose text is `text`, or with `prefix` true begins with it.
void ExpectBox(const char* caption, const std::string& text, bool prefix = false) {
  HWND box = WaitFor(caption, "box \"" + text + "\"");
  const std::string shown = Text(GetDlgItem(box, 0xFFFF));
  const bool matches = prefix ? shown.compare(0, text.size(), text) == 0 : shown == text;
  CHECK_SOON(matches, "box [" + std::string(caption) + "] says \"" + shown + "\"");
  Key(VK_RETURN);
  WaitGone(box, "box \"" + text + "\"");
}

// A pixel of a bottom-up 24-bit picture.
struct Picture {
  std::vector<unsigned char> bytes;
  int width;
  int height;
  COLORREF Pixel(int x, int y) const {
    const size_t row = static_cast<size_t>((width * 3 + 3) & ~3);
    const size_t at = static_cast<size_t>(height - 1 - y) * row + static_cast<size_t>(x) * 3;
    return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
  }
};

// Saves the page's client area as a 24-bit BMP and checks the look every page
// shares: the banner's orange rule, the white body, the grey rule, the band.
void Shoot(HWND page, const std::string& name) {
  RECT client{};
  GetClientRect(page, &client);
  POINT origin{0, 0};
  ClientToScreen(page, &origin);
  const int w = client.right;
  const int h = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = w;
  header.biHeight = h;
  header.biPlanes = 1;
  header.biBitCount = 24;
  const DWORD row = static_cast<DWORD>((w * 3 + 3) & ~3);
  Picture picture{std::vector<unsigned char>(row * static_cast<DWORD>(h)), w, h};
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), picture.bytes.data(),
            reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(picture.bytes.size());
  const std::string path = shots + "\\" + name + ".bmp";
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(picture.bytes.data(), 1, picture.bytes.size(), out);
    std::fclose(out);
  }
  // The banner (431 x 79 pixels, stretched to the width) reaches both edges
  // with its coloured bottom rows; the rule lies between the last field and
  // the buttons, and the band holds the buttons.
  const int bannerBottom = 79 * w / 431;
  Check(picture.Pixel(3, 3) == RGB(255, 255, 255) && picture.Pixel(w / 2, bannerBottom - 2) != RGB(255, 255, 255) &&
            picture.Pixel(w - 2, bannerBottom - 2) != RGB(255, 255, 255),
        name + ": banner across the top");
  int rule = -1;
  for (int y = h / 2; y + 1 < h && rule < 0; ++y) {
    if (picture.Pixel(w - 11, y) == RGB(170, 170, 170) && picture.Pixel(w - 11, y + 1) == RGB(221, 221, 221)) rule = y;
  }
  RECT button{};
  GetWindowRect(GetDlgItem(page, kNext), &button);
  POINT buttonTop{button.left, button.top};
  ScreenToClient(page, &buttonTop);
  Check(rule > 0 && rule < buttonTop.y, name + ": the dark and light grey rule above the buttons");
  Check(picture.Pixel(w - 11, (bannerBottom + rule) / 2) == RGB(255, 255, 255), name + ": white body");
  Check(picture.Pixel(w - 4, (rule + buttonTop.y) / 2 + 1) == (GetSysColor(COLOR_BTNFACE) & 0xFFFFFF),
        name + ": button band");
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// Empties the focused edit and types `text` into it.
void Retype(const std::string& text) {
  Key(VK_END);
  ShiftKey(VK_HOME);
  Key(VK_DELETE);
  Type(text);
}

// The open dialog of "+": type the full name and press Enter.
void AddThroughDialog(HWND files, const std::string& path, LRESULT count) {
  Click(files, kAddFile);
  HWND dialog = WaitFor("Open", "the file dialog");
  Type(path);
  Key(VK_RETURN);
  WaitGone(dialog, "the file dialog");
  CHECK_SOON(SendDlgItemMessageA(files, kFileList, LB_GETCOUNT, 0, 0) == count,
             "the group lists " + std::to_string(count) + " file(s) after adding " + path);
}

void SetOptions(HWND options, bool encode, bool change) {
  if (Checked(options, kEncodeStrings) != encode) Click(options, kEncodeStrings);
  if (Checked(options, kChangeVariables) != change) Click(options, kChangeVariables);
  CHECK_SOON(
      Checked(options, kEncodeStrings) == encode && Checked(options, kChangeVariables) == change,
      "options set by clicks");
}

void ExpectCompleted(HWND options) {
  ExpectBox("", "Compression completed.", true);
  CHECK_SOON(Text(GetDlgItem(options, kNext)) == "C&lose", "the button reads \"Close\"");
}

void Compress(HWND options) {
  Key(VK_RETURN);  // the focus is on a check box: Enter presses "Compress"
  ExpectCompleted(options);
}

}  // namespace

// Starts the wizard in the work folder.
void Launch(const char* program, const std::string& work) {
  std::string command = std::string("\"") + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program, &command[0], nullptr, nullptr, FALSE, 0, nullptr, work.c_str(), &startup,
                      &wizard)) {
    Fail("cannot start " + std::string(program));
  }
  WaitForInputIdle(wizard.hProcess, 10000);
}

// The wizard ends, with exit code 0, after `what`.
void ExpectEnd(const std::string& what) {
  if (WaitForSingleObject(wizard.hProcess, 20000) != WAIT_OBJECT_0) Fail(what + " did not end the program");
  DWORD code = 1;
  GetExitCodeProcess(wizard.hProcess, &code);
  CHECK_SOON(code == 0, "exit code " + std::to_string(code) + " after " + what);
  CloseHandle(wizard.hProcess);
  CloseHandle(wizard.hThread);
  wizard = PROCESS_INFORMATION{};
}

// A group of three files of 20 MB: while the first is packed the window
// answers at once and the progress bar moves; Cancel then stops the run after
// the current file, the summary says so, and the files not reached are left
// as they were (their outputs never written).
void CancelALongRun(const char* program, const std::string& work) {
  std::string big;
  for (int i = 0; big.size() < (20u << 20); ++i) big += "var value" + std::to_string(i % 1000) + " = compute(" + std::to_string(i) + ") + 1;\n";
  CreateDirectoryA((work + "\\big").c_str(), nullptr);
  CreateDirectoryA((work + "\\bigout").c_str(), nullptr);
  for (const char* name : {"a", "b", "c"}) {
    if (FILE* out = std::fopen((work + "\\big\\" + name + ".js").c_str(), "wb")) {
      std::fwrite(big.data(), 1, big.size(), out);
      std::fclose(out);
    }
  }
  Launch(program, work);
  HWND files = WaitFor(kStep1, "start for the long run");
  SetForegroundWindow(files);
  Sleep(300);
  Click(files, kFileGroup);
  for (int k = 0; k < 3; ++k) AddThroughDialog(files, work + "\\big\\" + std::string(1, static_cast<char>('a' + k)) + ".js", k + 1);
  Click(files, kNext);
  HWND destination = WaitFor(kStep2, "Next on Step 1 with the big group");
  Click(destination, kDestination);
  Type(work + "\\bigout");
  Key(VK_RETURN);
  HWND options = WaitFor(kStep3, "Next on Step 2 to bigout");
  Key(VK_RETURN);
  HWND bar = GetDlgItem(options, 1022);
  CheckSoon([&] { return IsWindowVisible(bar) != FALSE; }, "the progress bars show during the run");
  const LRESULT first = SendMessageA(bar, PBM_GETPOS, 0, 0);
  DWORD_PTR answer = 0;
  bool moved = false;
  bool answered = true;
  for (int i = 0; i < 200 && !moved; ++i) {
    Sleep(20);
    answered = answered && SendMessageTimeoutA(options, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &answer) != 0;
    moved = SendMessageA(bar, PBM_GETPOS, 0, 0) != first;
  }
  Check(answered, "the window answers within 200 ms during the run");
  Check(moved, "the progress bar moves");
  Click(options, 1009);  // Cancel
  ExpectBox("Warning", "The run was cancelled. 1 of 3 files were packed.", true);
  const auto exists = [&](const char* name) {
    return GetFileAttributesA((work + "\\bigout\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  Check(exists("a.js") && !exists("b.js") && !exists("c.js"), "only the file packed before Cancel was written");
  Key(VK_ESCAPE);
  ExpectEnd("Esc after the cancelled run");
  for (const char* name : {"a", "b", "c"}) {
    DeleteFileA((work + "\\big\\" + name + ".js").c_str());
    DeleteFileA((work + "\\bigout\\" + name + ".js").c_str());
  }
  RemoveDirectoryA((work + "\\big").c_str());
  RemoveDirectoryA((work + "\\bigout").c_str());
}

// A file named in Cyrillic and symbols, whatever the system's code page: the
// names go into the fields as UTF-16 and the packed file lands under its name.
void PackAUnicodeName(const char* program, const std::string& work) {
  const std::wstring folder(work.begin(), work.end());
  const std::wstring source = folder + L"\\in\\\u043c\u043e\u0439 \u0444\u0430\u0439\u043b \u2713.js";
  const std::wstring output = folder + L"\\out\\\u0432\u044b\u0432\u043e\u0434 \u2713.js";
  Check(CopyFileW((folder + L"\\in\\single.js").c_str(), source.c_str(), FALSE) != 0, "a source with a Unicode name");
  Launch(program, work);
  HWND files = WaitFor(kStep1, "start for the Unicode name");
  SetForegroundWindow(files);
  Sleep(300);
  SendMessageW(GetDlgItem(files, kFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(source.c_str()));
  Click(files, kNext);
  HWND destination = WaitFor(kStep2, "Next with a Unicode name");
  SendMessageW(GetDlgItem(destination, kDestination), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(output.c_str()));
  Click(destination, kNext);
  HWND options = WaitFor(kStep3, "Next to a Unicode destination");
  Click(options, kNext);
  ExpectBox("", "Compression completed.", true);
  Check(GetFileAttributesW(output.c_str()) != INVALID_FILE_ATTRIBUTES, "the output under its Unicode name");
  Key(VK_ESCAPE);
  ExpectEnd("Esc after the Unicode run");
  DeleteFileW(source.c_str());
  DeleteFileW(output.c_str());
}

// Only the pictures of the three steps, named step1-SUFFIX.bmp and so on, with
// their checks: for a run at another DPI.
int ShootSteps(const char* program, const std::string& work, const std::string& suffix) {
  Launch(program, work);
  HWND first = WaitFor(kStep1, "start");
  SetForegroundWindow(first);
  Sleep(300);
  Shoot(first, "step1-" + suffix);
  Click(first, kFileName);
  Type(work + "\\in\\single.js");
  Key(VK_RETURN);
  HWND second = WaitFor(kStep2, "Next on Step 1");
  Shoot(second, "step2-" + suffix);
  Type(work + "\\out\\dpi.js");
  Key(VK_RETURN);
  HWND third = WaitFor(kStep3, "Next on Step 2");
  Shoot(third, "step3-" + suffix);
  Key(VK_ESCAPE);
  ExpectEnd("Esc on Step 3");
  std::printf("%d passed, 0 failed\n", checks);
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[4]) == "--shots") {
    shots = argv[3];
    return ShootSteps(argv[1], argv[2], argv[5]);
  }
  if (argc != 4) {
    std::printf("usage: wizard_driver Farrowdale.exe WORK_DIR SHOTS_DIR [--shots SUFFIX]\n");
    return 2;
  }
  const std::string work = argv[2];
  shots = argv[3];
  Launch(argv[1], work);

  // Step 1 at start: "Single file", its edit and "..." on, the group off.
  HWND files = WaitFor(kStep1, "start");
  SetForegroundWindow(files);
  Sleep(300);
  CHECK_SOON(Checked(files, kSingleFile) && !Checked(files, kFileGroup),
             "Step 1 starts in single-file mode");
  CHECK_SOON(Enabled(files, kFileName) && !Enabled(files, kFileList) && !Enabled(files, kAddFile),
             "single-file controls on, group controls off");
  Shoot(files, "step1");

  // Help opens the page shipped beside the program (in the system's browser,
  // if Wine has one); a box, if any, is not the wizard's "File not found.".
  Click(files, kHelp);
  HWND other = nullptr;
  for (int i = 0; i < 50 && other == nullptr; ++i) {
    Sleep(100);
    HWND front = GetForegroundWindow();
    if (front != files && front != nullptr && OfWizard(front)) other = front;
  }
  if (other != nullptr) {
    const std::string text = Text(GetDlgItem(other, 0xFFFF));
    Check(Text(other) != "Warning" && text.rfind("File reading", 0) != 0,
          "the box after Help is the shell's: \"" + Text(other) + "\": " + text);
    PostMessageA(other, WM_CLOSE, 0, 0);
    WaitGone(other, "the shell's box");
    SetForegroundWindow(files);
    Sleep(300);
  }
  CHECK_SOON(FindVisible(kStep1) == files, "Step 1 still shown after Help");

  // The warnings: nothing typed, then an empty group; after each the focus
  // is on the field at fault.
  Click(files, kSingleFile);
  Key(VK_RETURN);
  ExpectBox("Warning", "Please specify a file name.");
  CheckSoon([&] { return FocusedControl() == kFileName; }, "the focus is on the file name after the warning");
  Click(files, kFileGroup);
  CheckSoon(
      [&] {
        return Checked(files, kFileGroup) && Enabled(files, kFileList) &&
               !Enabled(files, kFileName);
      },
      "a click selects \"File group\"");
  Key(VK_RETURN);
  ExpectBox("Warning", "Please specify at least one file name.");
  CheckSoon([&] { return FocusedControl() == kFileList; }, "the focus is on the list after the warning");
  Click(files, kSingleFile);
  CheckSoon([&] { return Checked(files, kSingleFile); }, "a click selects \"Single file\" again");

  // One file, both options on.
  Key(VK_TAB);
  Type(work + "\\in\\single.js");
  Key(VK_RETURN);
  HWND destination = WaitFor(kStep2, "Next on Step 1");
  CHECK_SOON(!IsWindowVisible(files), "Step 1 hidden");
  Shoot(destination, "step2");
  Key(VK_RETURN);
  ExpectBox("Warning", "Please specify a destination folder.");
  Type(work + "\\out\\single-on.js");
  Key(VK_RETURN);
  HWND options = WaitFor(kStep3, "Next on Step 2");
  Shoot(options, "step3");
  CheckSoon([&] { return FocusedControl() == kNext; }, "Step 3 starts with the focus on \"Compress\"");
  SetOptions(options, true, true);
  Compress(options);

  // Back to Step 2, another destination, both options off.
  Click(options, kBack);
  WaitFor(kStep2, "<<Back on Step 3");
  CHECK_SOON(Text(GetDlgItem(options, kNext)) == "Co&mpress", "<<Back restores \"Compress\"");
  Click(destination, kDestination);
  Retype(work + "\\out\\single-off.js");
  Key(VK_RETURN);
  WaitFor(kStep3, "Next on Step 2 again");
  SetOptions(options, false, false);
  Compress(options);

  // A destination in a folder that does not exist: the box names it with the
  // system's code, and nothing is left behind.
  Click(options, kBack);
  WaitFor(kStep2, "<<Back on Step 3");
  Click(destination, kDestination);
  Retype(work + "\\out\\no-such-folder\\x.js");
  Key(VK_RETURN);
  WaitFor(kStep3, "Next on Step 2 to a missing folder");
  Key(VK_RETURN);
  // One summary says the run failed, never "Compression completed.".
  ExpectBox("Error", "No file was packed.", true);
  CHECK_SOON(Text(GetDlgItem(options, kNext)) == "C&lose", "the button reads \"Close\"");

  // A group of three files from three folders to a folder, both options on.
  Click(options, kBack);
  WaitFor(kStep2, "<<Back on Step 3");
  Click(destination, kBack);
  WaitFor(kStep1, "<<Back on Step 2");
  Click(files, kFileGroup);
  CHECK_SOON(Checked(files, kFileGroup), "a click selects \"File group\"");
  AddThroughDialog(files, work + "\\in\\one\\lib.js", 1);
  AddThroughDialog(files, work + "\\in\\missing.js", 2);  // the dialog takes any name
  AddThroughDialog(files, work + "\\in\\two\\page.html", 3);
  Click(files, kNext);
  WaitFor(kStep2, "Next on Step 1 with a group");
  Click(destination, kDestination);
  Retype(work + "\\out\\group");
  Key(VK_RETURN);
  WaitFor(kStep3, "Next on Step 2 with a folder");
  SetOptions(options, true, true);
  // The missing file is reported in the one summary, and the run goes on.
  Key(VK_RETURN);
  ExpectBox("Warning", "2 of 3 files were packed.", true);
  CHECK_SOON(Text(GetDlgItem(options, kNext)) == "C&lose", "the button reads \"Close\"");

  // "Close" ends the program with exit code 0.
  Key(VK_RETURN);
  ExpectEnd("\"Close\"");

  // Esc ends the wizard on every step. On Step 2 first a destination that is
  // the source itself is refused.
  for (int step = 1; step <= 3; ++step) {
    Launch(argv[1], work);
    HWND first = WaitFor(kStep1, "start again");
    SetForegroundWindow(first);
    Sleep(300);
    if (step >= 2) {
      Click(first, kFileName);
      Type(work + "\\in\\single.js");
      Key(VK_RETURN);
      WaitFor(kStep2, "Next on Step 1");
    }
    if (step == 2) {
      Type(work + "\\in\\single.js");
      Key(VK_RETURN);
      ExpectBox("Warning", "The destination is the source file itself", true);
    }
    if (step == 3) {
      Type(work + "\\out\\esc.js");
      Key(VK_RETURN);
      WaitFor(kStep3, "Next on Step 2");
    }
    Key(VK_ESCAPE);
    ExpectEnd("Esc on Step " + std::to_string(step));
  }
  CancelALongRun(argv[1], work);
  PackAUnicodeName(argv[1], work);
  std::printf("%d passed, 0 failed\n", checks);
  return 0;
}
