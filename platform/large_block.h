// Memory for text of many megabytes. Fresh memory costs a page fault for
// every page first touched, and on a virtual machine that is most of the time
// of reading a large file into it; a block of two megabytes or more is
// therefore mapped on its own and asks the kernel for huge pages, so that
// 100 MB is touched in some fifty faults instead of twenty-five thousand.
// Smaller blocks come from the ordinary heap.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace platform {

// An owned, uninitialised block of bytes, aligned for any fundamental type.
// Throws std::bad_alloc when the memory cannot be had.
class LargeBlock {
 public:
  LargeBlock() = default;
  explicit LargeBlock(std::size_t size);
  ~LargeBlock();
  LargeBlock(LargeBlock&& other) noexcept { Swap(other); }
  LargeBlock& operator=(LargeBlock&& other) noexcept {
    LargeBlock gone(std::move(other));
    Swap(gone);
    return *this;
  }
  LargeBlock(const LargeBlock&) = delete;
  LargeBlock& operator=(const LargeBlock&) = delete;

  char* data() const { return data_; }
  std::size_t size() const { return size_; }

  // From this size on, a block is mapped on its own with huge pages.
  static constexpr std::size_t kMappedFrom = std::size_t{2} << 20;

 private:
  void Swap(LargeBlock& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(mapped_, other.mapped_);
  }

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t mapped_ = 0;  // the length of the mapping; 0 for a heap block
};

// `count` objects of T in a LargeBlock, each default-constructed.
template <typename T>
class LargeArray {
  static_assert(alignof(T) <= alignof(std::max_align_t));

 public:
  LargeArray() = default;
  explicit LargeArray(std::size_t count) : block_(count * sizeof(T)), count_(count) {
    if (count != 0 && block_.size() / count != sizeof(T)) throw std::bad_alloc();
    std::uninitialized_value_construct_n(get(), count);
  }
  ~LargeArray() { std::destroy_n(get(), count_); }
  LargeArray(LargeArray&& other) noexcept
      : block_(std::move(other.block_)), count_(std::exchange(other.count_, 0)) {}
  LargeArray& operator=(LargeArray&& other) noexcept {
    LargeArray gone(std::move(other));
    std::swap(block_, gone.block_);
    std::swap(count_, gone.count_);
    return *this;
  }

  T* get() const { return std::launder(reinterpret_cast<T*>(block_.data())); }
  std::size_t size() const { return count_; }
  T& operator[](std::size_t i) const { return get()[i]; }

 private:
  LargeBlock block_;
  std::size_t count_ = 0;
};

}  // namespace platform
