// Worker threads on Windows.
#include <windows.h>

#include <utility>

#include "../platform.h"

namespace platform {

Worker::Worker(std::function<void()> task) : task_(std::move(task)) {
  const auto start = [](LPVOID self) -> DWORD {
    Main(static_cast<Worker*>(self));
    return 0;
  };
  thread_ = ::CreateThread(nullptr, 0, start, this, 0, nullptr);
  if (thread_ == nullptr) task_();
}

void Worker::Join() {
  if (thread_ == nullptr) return;
  ::WaitForSingleObject(static_cast<HANDLE>(thread_), INFINITE);
  ::CloseHandle(static_cast<HANDLE>(thread_));
  thread_ = nullptr;
}

}  // namespace platform
