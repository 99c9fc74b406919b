// Work over many independent items shared out among a few threads: each
// thread, the calling one among them, takes the next `chunk` indices not yet
// taken until none are left. For work that is mostly the kernel's or the
// processor's and touches nothing another index touches.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace platform {

// The threads worth starting for such work: the processor's cores, but no
// more than four (more would only make a slow card or disk seek to and fro).
inline unsigned WorkThreads() {
  return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

// Calls `work(i)` once for every i in [0, count), on up to `threads`
// threads, in no fixed order. Once `stop` is requested no further index is
// taken. The first exception a call throws stops the others at their next
// chunk and is rethrown here, after every thread has ended. False when
// `stop` ended the work early.
template <typename Work>
bool ParallelFor(std::size_t count, Work&& work, std::size_t chunk = 1,
                 unsigned threads = WorkThreads(), std::stop_token stop = {}) {
  chunk = std::max<std::size_t>(chunk, 1);
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopped{false};
  std::mutex failure_guard;
  std::exception_ptr failure;
  const auto take = [&] {
    try {
      for (;;) {
        if (stop.stop_requested()) {
          stopped = true;
          return;
        }
        const std::size_t first = next.fetch_add(chunk);
        if (first >= count) return;
        for (std::size_t i = first; i < std::min(count, first + chunk); ++i) work(i);
      }
    } catch (...) {
      next = count;
      const std::lock_guard<std::mutex> lock(failure_guard);
      if (!failure) failure = std::current_exception();
    }
  };
  {
    const std::size_t chunks = (count + chunk - 1) / chunk;
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < std::min<std::size_t>(threads, chunks); ++t)
      helpers.emplace_back(take);
    take();
  }
  if (failure) std::rethrow_exception(failure);
  return !stopped;
}

}  // namespace platform
