#include "bench/common/allocation_meter.h"

#include <malloc.h>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> peak{0};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  const std::size_t now = held += malloc_usable_size(p);
  std::size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return p;
}

void Release(void* p) {
  if (!p) return;
  held -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

namespace bench {

std::size_t AllocatedBytes() {
  return held.load();
}
std::size_t PeakAllocatedBytes() {
  return peak.load();
}
void ResetPeakAllocated() {
  peak = held.load();
}

}  // namespace bench

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  Release(p);
}
