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

bool RunWithStack(size_t stackBytes, const std::function<void()>& task) {
  pthread_attr_t attributes;
  if (::pthread_attr_init(&attributes) != 0) return false;
  pthread_t thread;
  const auto start = [](void* work) -> void* {
    (*static_cast<const std::function<void()>*>(work))();
    return nullptr;
  };
  const bool started =
      ::pthread_attr_setstacksize(&attributes, stackBytes) == 0 &&
      ::pthread_create(&thread, &attributes, start, const_cast<std::function<void()>*>(&task)) == 0;
  ::pthread_attr_destroy(&attributes);
  if (!started) return false;
  ::pthread_join(thread, nullptr);
  return true;
}

void Worker::Join() {
  if (thread_ == nullptr) return;
  auto* thread = static_cast<pthread_t*>(thread_);
  ::pthread_join(*thread, nullptr);
  delete thread;
  thread_ = nullptr;
}

}  // namespace platform
