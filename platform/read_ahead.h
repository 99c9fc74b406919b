// What a walk through many files reads of the next files, read on a thread
// of its own while the walk handles the current one: reading a file's date
// waits for the disk and the kernel, and a photo's capture date takes the
// metadata library tens of microseconds, time the walk need not wait for.
//
// Items are read in order, at most `window` ahead of the one taken last,
// and taken in order, each exactly once. The thread ends when the last item
// is read, and when the read-ahead goes (a walk that stops early): it is
// asked to stop, finishes the item it is reading, and is waited for, so that
// no thread outlives the walk. A read that throws hands its exception to
// the taker of that item.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

template <typename T>
class ReadAhead {
 public:
  using Read = std::function<T(int index)>;

  // Starts reading items 0 .. count - 1 with `read`, which runs on the
  // read-ahead's thread and must not touch what the taker changes meanwhile.
  ReadAhead(int count, Read read, std::size_t window = 64)
      : count_(count),
        read_(std::move(read)),
        slots_(std::max<std::size_t>(window, 1)),
        half_(std::max(static_cast<int>(slots_.size() / 2), 1)) {
    thread_ = std::jthread([this](std::stop_token stop) { ReadAll(stop); });
  }
  ~ReadAhead() {
    thread_.request_stop();
    Wake(reader_waiting_, reader_woken_);
    thread_.join();
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Item `index`, the one after the item taken last; waits until it is read.
  T Take(int index) {
    if (ready_ <= index) {
      // Rather than wake for every item, the taker sleeps until half a
      // window is ready (or the rest), and then takes them without waiting.
      wanted_ = std::min(index + half_, count_);
      WaitUntil(taker_waiting_, taker_woken_, [&] { return ready_ > index && ready_ >= wanted_; });
    }
    Slot& slot = slots_[static_cast<std::size_t>(index) % slots_.size()];
    std::optional<T> value = std::move(slot.value);
    std::exception_ptr error = std::move(slot.error);
    slot.value.reset();
    slot.error = nullptr;
    taken_ = index + 1;
    // A reader waiting for room is woken once half the window is free.
    if (taken_ + static_cast<int>(slots_.size()) - ready_ >= half_)
      Wake(reader_waiting_, reader_woken_);
    if (error) std::rethrow_exception(error);
    return std::move(*value);
  }

 private:
  struct Slot {
    std::optional<T> value;
    std::exception_ptr error;
  };

  void ReadAll(std::stop_token stop) {
    const int window = static_cast<int>(slots_.size());
    for (int index = 0; index < count_; ++index) {
      if (index >= taken_ + window)
        WaitUntil(reader_waiting_, reader_woken_,
                  [&] { return stop.stop_requested() || index < taken_ + window; });
      if (stop.stop_requested()) return;
      // The slot is the reader's alone until `ready_` passes it.
      Slot& slot = slots_[static_cast<std::size_t>(index) % slots_.size()];
      try {
        slot.value.emplace(read_(index));
      } catch (...) {
        slot.error = std::current_exception();
      }
      ready_ = index + 1;
      if (ready_ >= wanted_) Wake(taker_waiting_, taker_woken_);
    }
  }

  // Sleeps until `done`. The flag is raised under the lock before `done` is
  // asked; whoever changes what `done` reads does so first and then looks
  // at the flag (all sequentially consistent), so no wake-up is lost.
  template <typename Done>
  void WaitUntil(std::atomic<bool>& waiting, std::condition_variable& woken, Done done) {
    std::unique_lock lock(mutex_);
    waiting = true;
    woken.wait(lock, done);
    waiting = false;
  }
  void Wake(const std::atomic<bool>& waiting, std::condition_variable& woken) {
    if (!waiting) return;
    std::lock_guard lock(mutex_);
    woken.notify_one();
  }

  const int count_;
  Read read_;
  std::vector<Slot> slots_;
  const int half_;
  std::atomic<int> ready_{0};   // items read
  std::atomic<int> taken_{0};   // items taken
  std::atomic<int> wanted_{0};  // what a waiting taker waits for
  std::mutex mutex_;
  std::condition_variable reader_woken_;
  std::condition_variable taker_woken_;
  std::atomic<bool> reader_waiting_{false};
  std::atomic<bool> taker_waiting_{false};
  // Last, so that it starts when everything above is ready.
  std::jthread thread_;
};

}  // namespace platform
