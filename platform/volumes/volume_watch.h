// The mounted drives as the desktop's file manager lists them, kept up to
// date while the program runs. GIO's volume monitor is asked on a thread of
// the watch's own, never on the caller's: a mount that does not answer (a
// card reader that hung, a stale network share) may cost its entry, never
// the window that waits for the list.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct TVolume {
  std::string root;   // the mount point, as the file system names it
  std::string label;  // the desktop's name for it ("EOS_DIGITAL"), UTF-8;
                      // empty for a mount the desktop does not show
  friend bool operator==(const TVolume&, const TVolume&) = default;
};

class TVolumeWatch {
 public:
  // The whole list each time it changes, the first time once it has been
  // read; the volumes the desktop shows (removable media, phones and
  // cameras mounted through gvfs, where gvfs gives them a local path)
  // with their labels, and the other mounts that are no part of the system
  // itself without. Sorted by mount point.
  using ListListener = std::function<void(const std::vector<TVolume>&)>;
  // A volume that appeared after the first list and holds a "DCIM" folder
  // (a camera's card): the folder's path. Looked for on a thread of its own
  // for each new volume, so that one that hangs holds up nothing else.
  using CardListener = std::function<void(const std::string& dcim)>;

  // Both listeners are called on the watch's threads, never after the watch
  // is destroyed.
  TVolumeWatch(ListListener on_list, CardListener on_card);
  // Stops watching. Waits a moment for the watch's thread, and leaves it to
  // end by itself when it is stuck in a call that does not return.
  ~TVolumeWatch();
  TVolumeWatch(const TVolumeWatch&) = delete;
  TVolumeWatch& operator=(const TVolumeWatch&) = delete;

  // False when GIO could not be loaded: the watch then reports nothing.
  static bool Available();

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// The new volumes of `now` that `before` did not have.
std::vector<TVolume> AddedVolumes(const std::vector<TVolume>& before,
                                  const std::vector<TVolume>& now);

}  // namespace platform
