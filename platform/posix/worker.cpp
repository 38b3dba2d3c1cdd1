// Worker threads on POSIX systems.
#include <pthread.h>

#include <new>
#include <utility>

#include "../platform.h"

namespace platform {

Worker::Worker(std::function<void()> task) : task_(std::move(task)) {
  auto* thread = new (std::nothrow) pthread_t;
  const auto start = [](void* self) -> void* {
    Main(static_cast<Worker*>(self));
    return nullptr;
  };
  if (thread != nullptr && ::pthread_create(thread, nullptr, start, this) == 0) {
    thread_ = thread;
    return;
  }
  delete thread;
  task_();
}

void Worker::Join() {
  if (thread_ == nullptr) return;
  auto* thread = static_cast<pthread_t*>(thread_);
  ::pthread_join(*thread, nullptr);
  delete thread;
  thread_ = nullptr;
}

}  // namespace platform
