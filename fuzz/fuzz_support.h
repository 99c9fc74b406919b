// What the fuzz targets share: a reader that turns the fuzzer's bytes into
// choices and texts, and a check that stops the run with the property that
// broke. A broken property aborts, so libFuzzer keeps the input as a finding
// and the corpus replay test fails on it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

namespace fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return pos_ >= size_; }
  // One byte, 0 once the input is used up.
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool Bool() { return Byte() & 1; }
  // A number in 0..n-1 (0 when n <= 0).
  int Below(int n) { return n <= 0 ? 0 : Byte() % n; }
  // A number in 0..n-1 from two bytes, for indexes into longer lists.
  int Below16(int n) {
    if (n <= 0) return 0;
    const int high = Byte();
    return (high << 8 | Byte()) % n;
  }
  // Up to `max` bytes as they come.
  std::string Bytes(std::size_t max) {
    const std::size_t n = std::min(max, size_ - std::min(pos_, size_));
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  // A length byte, then that many bytes (at most `max`).
  std::string Text(std::size_t max) { return Bytes(std::min<std::size_t>(Byte(), max)); }
  // Whatever is left.
  std::string Rest() { return Bytes(size_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace fuzz
