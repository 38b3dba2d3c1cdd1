// A run of the wizard off the window's thread: a worker packs the files one
// after another and posts what it does to Step 3, which shows the file being
// packed and two progress bars (the file, the whole run) and stays answering
// its window; Cancel stops the run after the current file.
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "platform.h"
#include "resource.h"
#include "shell.h"

namespace wizard {
namespace {

constexpr UINT kFileStarted = WM_APP + 1;   // wParam: the file's index
constexpr UINT kFileProgress = WM_APP + 2;  // wParam: thousandths of the file scanned
constexpr UINT kRunEnded = WM_APP + 3;

struct ActiveRun {
  std::vector<RunItem> items;
  std::function<FileOutcome(const RunItem&)> pack;
  std::function<void(std::vector<FileOutcome>, bool)> done;
  std::vector<FileOutcome> outcomes;  // written by the worker, read after it ends
  std::atomic<bool> cancel{false};
  bool closeWhenDone = false;
  std::unique_ptr<platform::Worker> worker;
};

// The run in progress (one at a time), and what the engine's progress
// callback, a plain function called on the worker, needs.
std::unique_ptr<ActiveRun> current;
std::atomic<HWND> runWindow{nullptr};
std::atomic<long long> fileSize{1};
std::atomic<int> fileShare{-1};

void ReportProgress(int32_t position) {
  const long long size = fileSize.load();
  const int share = static_cast<int>(size > 0 ? std::min<long long>(1000, position * 1000LL / size) : 0);
  if (share == fileShare.exchange(share)) return;  // at most a thousand messages a file
  PostMessageW(runWindow.load(), kFileProgress, static_cast<WPARAM>(share), 0);
}

long long SizeOf(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(name).c_str(), GetFileExInfoStandard, &data)) return 1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Work(ActiveRun& run, HWND window) {
  for (size_t k = 0; k < run.items.size() && !run.cancel.load(); ++k) {
    fileSize = std::max<long long>(1, SizeOf(run.items[k].source));
    fileShare = -1;
    PostMessageW(window, kFileStarted, static_cast<WPARAM>(k), 0);
    run.outcomes.push_back(run.pack(run.items[k]));
  }
  PostMessageW(window, kRunEnded, 0, 0);
}

void ShowRunControls(HWND window, bool running) {
  for (int id : {IDC_RUN_FILE, IDC_PROGRESS_FILE, IDC_PROGRESS_ALL}) {
    ShowWindow(GetDlgItem(window, id), running ? SW_SHOW : SW_HIDE);
  }
  for (int id : {IDC_BACK, IDC_NEXT, IDC_ENCODE_STRINGS, IDC_CHANGE_VARIABLES}) {
    EnableWindow(GetDlgItem(window, id), running ? FALSE : TRUE);
  }
}

}  // namespace

bool RunActive() { return current != nullptr; }

void CancelRun(bool thenClose) {
  if (!current) return;
  current->cancel = true;
  current->closeWhenDone = current->closeWhenDone || thenClose;
  SetDlgItemTextW(COptionsPage::Instance().Window(), IDC_RUN_FILE, L"Stopping after the current file...");
}

void (*CWin32Ui::PackProgress())(int32_t position) { return ReportProgress; }

void CWin32Ui::RunFiles(std::vector<RunItem> items, std::function<FileOutcome(const RunItem&)> pack,
                        std::function<void(std::vector<FileOutcome>, bool)> done) {
  const HWND window = COptionsPage::Instance().Window();
  current = std::make_unique<ActiveRun>();
  current->items = std::move(items);
  current->pack = std::move(pack);
  current->done = std::move(done);
  runWindow = window;
  SendDlgItemMessageW(window, IDC_PROGRESS_ALL, PBM_SETRANGE32, 0, static_cast<LPARAM>(current->items.size()) * 1000);
  SendDlgItemMessageW(window, IDC_PROGRESS_FILE, PBM_SETRANGE32, 0, 1000);
  ShowRunControls(window, true);
  // The focus stays on a button that answers: Cancel.
  SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, IDC_CANCEL)), TRUE);
  ActiveRun& run = *current;
  run.worker = std::make_unique<platform::Worker>([&run, window] { Work(run, window); });
}

void COptionsPage::OnRunMessage(UINT message, WPARAM wParam, LPARAM) {
  if (!current) return;
  const HWND page = Window();
  if (message == kFileStarted) {
    const size_t k = static_cast<size_t>(wParam);
    const std::string text = "Packing " + current->items[k].source + "  (" + std::to_string(k + 1) + " of " +
                             std::to_string(current->items.size()) + ")";
    if (!current->cancel) SetDlgItemTextW(page, IDC_RUN_FILE, Wide(text).c_str());
    SendDlgItemMessageW(page, IDC_PROGRESS_FILE, PBM_SETPOS, 0, 0);
    SendDlgItemMessageW(page, IDC_PROGRESS_ALL, PBM_SETPOS, static_cast<WPARAM>(k * 1000), 0);
  } else if (message == kFileProgress) {
    SendDlgItemMessageW(page, IDC_PROGRESS_FILE, PBM_SETPOS, wParam, 0);
  } else if (message == kRunEnded) {
    current->worker->Join();
    std::unique_ptr<ActiveRun> run = std::move(current);
    runWindow = nullptr;
    ShowRunControls(page, false);
    run->done(std::move(run->outcomes), run->cancel.load());
    if (run->closeWhenDone) State().Close();
  }
}

}  // namespace wizard
