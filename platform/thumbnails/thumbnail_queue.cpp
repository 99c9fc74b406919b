#include "platform/thumbnails/thumbnail_queue.h"

#include <sys/resource.h>
#include <unistd.h>

#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/thumbnails/thumbnail_maker.h"

namespace platform {

struct TThumbnailQueue::State {
  struct Asked {
    int key;
    std::string path;
  };
  mutable std::mutex mutex;
  std::condition_variable woken;
  // Held while a picture is handed over: the queue's end waits for it, and
  // the queue itself stays free to be asked meanwhile.
  std::mutex handing;
  // The newest at the front; the map finds a key's place in it.
  std::list<Asked> waiting;
  std::unordered_map<int, std::list<Asked>::iterator> places;
  bool closed = false;
  int side = 0;
  std::function<void(int, const QImage&)> made;

  void Work() {
    // Below the window's thread: a frame of scrolling comes before a
    // picture, and the pictures still come as fast as the disk gives them.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    for (;;) {
      Asked next;
      {
        std::unique_lock<std::mutex> lock(mutex);
        woken.wait(lock, [this] { return closed || !waiting.empty(); });
        if (closed) return;
        next = std::move(waiting.front());
        waiting.pop_front();
        places.erase(next.key);
      }
      const QImage picture = MakeThumbnail(next.path, side);
      std::lock_guard<std::mutex> hand(handing);
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (closed) return;
      }
      if (made) made(next.key, picture);
    }
  }
};

TThumbnailQueue::TThumbnailQueue(int side, int threads,
                                 std::function<void(int key, const QImage&)> made)
    : state_(std::make_shared<State>()) {
  state_->side = side;
  state_->made = std::move(made);
  for (int i = 0; i < std::max(1, threads); ++i)
    std::thread([state = state_] { state->Work(); }).detach();
}

TThumbnailQueue::~TThumbnailQueue() {
  std::lock_guard<std::mutex> hand(state_->handing);
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->closed = true;
  state_->waiting.clear();
  state_->places.clear();
  state_->woken.notify_all();
}

void TThumbnailQueue::Ask(int key, const std::string& native_path) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (const auto found = state_->places.find(key); found != state_->places.end())
    state_->waiting.erase(found->second);
  state_->waiting.push_front({key, native_path});
  state_->places[key] = state_->waiting.begin();
  state_->woken.notify_one();
}

void TThumbnailQueue::KeepOnly(int first, int last) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  for (auto it = state_->waiting.begin(); it != state_->waiting.end();) {
    if (it->key < first || it->key > last) {
      state_->places.erase(it->key);
      it = state_->waiting.erase(it);
    } else {
      ++it;
    }
  }
}

void TThumbnailQueue::Clear() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->waiting.clear();
  state_->places.clear();
}

int TThumbnailQueue::Waiting() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return static_cast<int>(state_->waiting.size());
}

}  // namespace platform
