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

bool RunWithStack(size_t stackBytes, const std::function<void()>& task) {
  const auto start = [](LPVOID work) -> DWORD {
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
  };
  HANDLE thread = ::CreateThread(nullptr, stackBytes, start,
                                 const_cast<std::function<void()>*>(&task),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) return false;
  ::WaitForSingleObject(thread, INFINITE);
  ::CloseHandle(thread);
  return true;
}

void Worker::Join() {
  if (thread_ == nullptr) return;
  ::WaitForSingleObject(static_cast<HANDLE>(thread_), INFINITE);
  ::CloseHandle(static_cast<HANDLE>(thread_));
  thread_ = nullptr;
}

}  // namespace platform
