// A sequence with a movable hole: inserting or erasing near the last place
// touched costs only the distance moved, not the length of the sequence.
// The screen rows live in one of these, so an edit in the middle of a long
// text moves a handful of rows instead of every row below it.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <utility>

#include "platform/large_block.h"

namespace editor {

template <typename T>
class GapBuffer {
 public:
  GapBuffer() = default;
  GapBuffer(const GapBuffer&) = delete;
  GapBuffer& operator=(const GapBuffer&) = delete;
  GapBuffer(GapBuffer&& other) noexcept { Swap(other); }
  GapBuffer& operator=(GapBuffer&& other) noexcept {
    GapBuffer tmp(std::move(other));
    Swap(tmp);
    return *this;
  }

  std::size_t size() const { return capacity_ - GapLength(); }
  bool empty() const { return size() == 0; }
  std::size_t capacity() const { return capacity_; }

  T& operator[](std::size_t i) { return data_[Physical(i)]; }
  const T& operator[](std::size_t i) const { return data_[Physical(i)]; }

  T& at(std::size_t i) {
    CheckIndex(i);
    return (*this)[i];
  }
  const T& at(std::size_t i) const {
    CheckIndex(i);
    return (*this)[i];
  }

  // Makes room for `n` elements in all, so that appending up to that size
  // allocates nothing.
  void reserve(std::size_t n) {
    if (n > capacity_) Reallocate(n);
  }

  // Inserts `count` default values at `pos` and returns the index of the first.
  std::size_t insert_default(std::size_t pos, std::size_t count) {
    OpenAt(pos, count);
    // Slots of the gap may hold stale values left behind by moves.
    for (std::size_t i = 0; i < count; ++i) data_[gap_begin_ + i] = T();
    gap_begin_ += count;
    return pos;
  }

  void insert(std::size_t pos, T value) {
    OpenAt(pos, 1);
    data_[gap_begin_++] = std::move(value);
  }

  void push_back(T value) { insert(size(), std::move(value)); }

  // Removes `count` elements from `pos`. The removed slots are left holding
  // default values, so nothing they owned outlives the call.
  void erase(std::size_t pos, std::size_t count) {
    if (pos > size() || count > size() - pos) throw std::out_of_range("GapBuffer::erase");
    MoveGapTo(pos);
    for (std::size_t i = 0; i < count; ++i) data_[gap_end_ + i] = T();
    gap_end_ += count;
  }

  void clear() {
    data_ = {};
    capacity_ = gap_begin_ = gap_end_ = 0;
  }

  // Calls `f` for every element from `first` up to but not including `last`,
  // in order, without moving the gap.
  template <typename F>
  void for_each(std::size_t first, std::size_t last, F&& f) const {
    for (std::size_t i = first; i < last; ++i) f(data_[Physical(i)]);
  }

 private:
  std::size_t GapLength() const { return gap_end_ - gap_begin_; }
  std::size_t Physical(std::size_t i) const {
    assert(i < size());
    return i < gap_begin_ ? i : i + GapLength();
  }
  void CheckIndex(std::size_t i) const {
    if (i >= size()) throw std::out_of_range("GapBuffer index");
  }

  // Puts the gap at `pos` with room for at least `count` elements.
  void OpenAt(std::size_t pos, std::size_t count) {
    if (pos > size()) throw std::out_of_range("GapBuffer::insert");
    if (GapLength() < count) {
      const std::size_t wanted = size() + count;
      Reallocate(std::max(wanted, capacity_ + capacity_ / 2 + 16));
    }
    MoveGapTo(pos);
  }

  void MoveGapTo(std::size_t pos) {
    if (pos < gap_begin_) {
      // Elements [pos, gap_begin_) slide to the far side of the gap.
      std::move_backward(data_.get() + pos, data_.get() + gap_begin_, data_.get() + gap_end_);
      gap_end_ -= gap_begin_ - pos;
      gap_begin_ = pos;
    } else if (pos > gap_begin_) {
      const std::size_t n = pos - gap_begin_;
      std::move(data_.get() + gap_end_, data_.get() + gap_end_ + n, data_.get() + gap_begin_);
      gap_begin_ += n;
      gap_end_ += n;
    }
  }

  void Reallocate(std::size_t new_capacity) {
    const std::size_t tail = capacity_ - gap_end_;
    platform::LargeArray<T> fresh(new_capacity);
    std::move(data_.get(), data_.get() + gap_begin_, fresh.get());
    std::move(data_.get() + gap_end_, data_.get() + capacity_, fresh.get() + new_capacity - tail);
    data_ = std::move(fresh);
    gap_end_ = new_capacity - tail;
    capacity_ = new_capacity;
  }

  void Swap(GapBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(gap_begin_, other.gap_begin_);
    std::swap(gap_end_, other.gap_end_);
  }

  // Large arrays take huge pages: the rows of a big file are tens of megabytes.
  platform::LargeArray<T> data_;
  std::size_t capacity_ = 0;
  std::size_t gap_begin_ = 0;
  std::size_t gap_end_ = 0;
};

}  // namespace editor
