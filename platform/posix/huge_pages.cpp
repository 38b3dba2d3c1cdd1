// The console program's operator new: a block of a megabyte or more is marked
// for transparent huge pages. Packing a 10 MB file fills tens of megabytes of
// input, token, name and output arrays front to back; with 4 KB pages every
// one of them is a page fault, which costs a third of the run on a virtual
// machine. This is the one place that asks for huge pages.
// Memory still comes from malloc and goes back to free, so the rest of the
// program, valgrind and the sanitizers see nothing else.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr size_t kHugeEnough = size_t{1} << 20;

void AdviseHugePages(void* block, size_t size) {
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + page - 1) & ~(page - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + size) & ~(page - 1);
  // Only advice: where the kernel has no huge pages the block works as it is.
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

void* operator new(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  if (size >= kHugeEnough) AdviseHugePages(block, size);
  return block;
}

void operator delete(void* block) noexcept { std::free(block); }

void operator delete(void* block, size_t) noexcept { std::free(block); }
