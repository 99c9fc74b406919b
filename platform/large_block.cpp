#include "platform/large_block.h"

#include <sys/mman.h>

#include <limits>

namespace platform {

LargeBlock::LargeBlock(std::size_t size) : size_(size) {
  if (size == 0) return;
  if (size < kMappedFrom) {
    data_ = static_cast<char*>(::operator new(size));
    return;
  }
  // Whole huge pages, so that the last one is not split.
  if (size > std::numeric_limits<std::size_t>::max() - kMappedFrom) throw std::bad_alloc();
  const std::size_t length = (size + kMappedFrom - 1) & ~(kMappedFrom - 1);
  void* memory = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  // Only advice: without huge pages the block works the same, only slower.
  madvise(memory, length, MADV_HUGEPAGE);
#endif
  data_ = static_cast<char*>(memory);
  mapped_ = length;
}

LargeBlock::~LargeBlock() {
  if (mapped_ != 0)
    munmap(data_, mapped_);
  else
    ::operator delete(data_);
}

}  // namespace platform
