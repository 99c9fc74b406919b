// Thumbnails made on worker threads, the latest asked for first: what the
// window paints asks last, so the pictures in sight come before the rest,
// and what has scrolled out of sight is dropped before it is made. The
// caller's thread never waits for a picture.
#pragma once

#include <QImage>

#include <functional>
#include <memory>
#include <string>

namespace platform {

class TThumbnailQueue {
 public:
  // `made` gets each picture (null for a file that gave none) with the key
  // it was asked for under, on a worker's thread, never after the queue is
  // destroyed. `side`: the pictures' largest width and height.
  TThumbnailQueue(int side, int threads, std::function<void(int key, const QImage&)> made);
  // Drops what is waiting and lets the workers end; a worker still reading
  // a file (a card that hangs) ends by itself later.
  ~TThumbnailQueue();
  TThumbnailQueue(const TThumbnailQueue&) = delete;
  TThumbnailQueue& operator=(const TThumbnailQueue&) = delete;

  // Asks for the picture of the file at `native_path`; asked again, the
  // key moves to the front.
  void Ask(int key, const std::string& native_path);
  // Drops what waits with a key outside [first, last].
  void KeepOnly(int first, int last);
  // Drops everything that waits.
  void Clear();
  // How many wait, for tests and benchmarks.
  int Waiting() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace platform
