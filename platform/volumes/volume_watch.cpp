#include "platform/volumes/volume_watch.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <gio/gunixmounts.h>
#include <glib-unix.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/shared_library.h"

namespace platform {
namespace {

// GIO is loaded by the watch's thread, not when the program starts; only
// its types come from its headers.
#define PIRUKKO_GIO_FUNCTIONS(X)        \
  X(g_main_context_new)                 \
  X(g_main_context_unref)               \
  X(g_main_context_push_thread_default) \
  X(g_main_context_pop_thread_default)  \
  X(g_main_context_invoke)              \
  X(g_main_loop_new)                    \
  X(g_main_loop_run)                    \
  X(g_main_loop_quit)                   \
  X(g_main_loop_unref)                  \
  X(g_signal_connect_data)              \
  X(g_signal_handler_disconnect)        \
  X(g_object_unref)                     \
  X(g_free)                             \
  X(g_list_free)                        \
  X(g_volume_monitor_get)               \
  X(g_volume_monitor_get_mounts)        \
  X(g_mount_get_root)                   \
  X(g_mount_get_name)                   \
  X(g_mount_is_shadowed)                \
  X(g_file_get_path)                    \
  X(g_unix_mounts_get)                  \
  X(g_unix_mount_get_mount_path)        \
  X(g_unix_mount_is_system_internal)    \
  X(g_unix_mount_free)                  \
  X(g_unix_mount_get_fs_type)           \
  X(g_get_home_dir)                     \
  X(g_unix_fd_source_new)               \
  X(g_source_set_callback)              \
  X(g_source_attach)                    \
  X(g_source_destroy)                   \
  X(g_source_unref)

struct GioFunctions {
#define PIRUKKO_DECLARE(name) decltype(&::name) name = nullptr;
  PIRUKKO_GIO_FUNCTIONS(PIRUKKO_DECLARE)
#undef PIRUKKO_DECLARE

  explicit GioFunctions(const SharedLibrary& library) {
#define PIRUKKO_LOAD(name) name = library.Symbol<decltype(&::name)>(#name);
    PIRUKKO_GIO_FUNCTIONS(PIRUKKO_LOAD)
#undef PIRUKKO_LOAD
  }

  bool Complete() const {
    bool all = true;
#define PIRUKKO_PRESENT(name) all = all && name != nullptr;
    PIRUKKO_GIO_FUNCTIONS(PIRUKKO_PRESENT)
#undef PIRUKKO_PRESENT
    return all;
  }
};

const GioFunctions* Gio() {
  static const SharedLibrary library("libgio-2.0.so.0");
  static const GioFunctions functions(library);
  return functions.Complete() ? &functions : nullptr;
}

// How long the watch's end waits for its thread.
constexpr auto kEndWait = std::chrono::seconds(2);

// Where a camera keeps its pictures: at the top of a card, or one folder
// down on a phone (its storage: "Internal storage/DCIM").
std::string DcimFolderOf(const std::string& root) {
  const auto is_folder = [](const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
  };
  const std::string top = root + "/DCIM";
  if (is_folder(top)) return top;
  DIR* dir = opendir(root.c_str());
  if (!dir) return {};
  std::string found;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    if (is_folder(root + "/" + name + "/DCIM")) {
      found = root + "/" + name + "/DCIM";
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

struct TVolumeWatch::State {
  std::mutex mutex;
  std::condition_variable ended_signal;
  bool closed = false;  // no listener is called any more
  bool ended = false;   // the thread has left GIO's loop
  ListListener on_list;
  CardListener on_card;
  GMainContext* context = nullptr;
  GMainLoop* loop = nullptr;

  // Only the watch's thread touches these.
  const GioFunctions* gio = nullptr;
  GVolumeMonitor* monitor = nullptr;
  std::vector<TVolume> last;
  bool listed = false;
  bool watching = false;  // what comes now arrives (the first lists are what was there)
  std::vector<std::string> kernel_points;  // the mount points of the kernel's table, last read

  std::vector<TVolume> ReadVolumes();
  void Report(const std::shared_ptr<State>& self);
  void Run(const std::shared_ptr<State>& self);
};

namespace {

bool Under(std::string_view path, std::string_view folder) {
  return path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
         (folder.back() == '/' || path[folder.size()] == '/');
}

// The desktop's rule for the mounts a file manager shows (media folders and
// the user's home), without its look at the mount point: that look is what
// waits on a mount that hangs.
bool ShownByTheDesktop(std::string_view path, std::string_view home) {
  if (path.find("/.") != std::string_view::npos) return false;
  if (Under(path, "/media/")) return true;
  if (Under(path, "/run/media/")) {
    if (geteuid() == 0) return true;
    const char* user = getenv("USER");
    return user && Under(path, std::string("/run/media/") + user + "/");
  }
  return !home.empty() && home != "/" && Under(path, home);
}

std::string LastName(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

}  // namespace

std::vector<TVolume> TVolumeWatch::State::ReadVolumes() {
  // The kernel's table of mounts, read afresh: only read, no file system is
  // asked anything.
  struct Mounted {
    std::string path;
    bool internal;
    bool gvfs;
  };
  std::vector<Mounted> mounted;
  GList* entries = gio->g_unix_mounts_get(nullptr);
  for (GList* item = entries; item; item = item->next) {
    GUnixMountEntry* entry = static_cast<GUnixMountEntry*>(item->data);
    const char* path = gio->g_unix_mount_get_mount_path(entry);
    const char* type = gio->g_unix_mount_get_fs_type(entry);
    if (path) {
      mounted.push_back({path, gio->g_unix_mount_is_system_internal(entry) != FALSE,
                         type && std::string_view(type) == "fuse.gvfsd-fuse"});
    }
    gio->g_unix_mount_free(entry);
  }
  gio->g_list_free(entries);
  kernel_points.clear();
  for (const Mounted& m : mounted) kernel_points.push_back(m.path);
  const auto is_mounted = [&mounted](const std::string& path) {
    return std::any_of(mounted.begin(), mounted.end(), [&](const Mounted& m) {
      return m.path == path || (m.gvfs && Under(path, m.path));
    });
  };

  std::vector<TVolume> volumes;
  // What the desktop's volume monitors show, by their names: cards and
  // drives by their labels, phones and cameras through gvfs's FUSE bridge.
  // A mount without a local path cannot be read here; one the kernel no
  // longer has is a monitor's stale memory.
  if (monitor) {
    GList* mounts = gio->g_volume_monitor_get_mounts(monitor);
    for (GList* item = mounts; item; item = item->next) {
      GMount* mount = static_cast<GMount*>(item->data);
      if (!gio->g_mount_is_shadowed(mount)) {
        GFile* root = gio->g_mount_get_root(mount);
        char* path = root ? gio->g_file_get_path(root) : nullptr;
        char* name = gio->g_mount_get_name(mount);
        if (path && is_mounted(path)) volumes.push_back({path, name ? name : ""});
        gio->g_free(name);
        gio->g_free(path);
        if (root) gio->g_object_unref(root);
      }
      gio->g_object_unref(mount);
    }
    gio->g_list_free(mounts);
  }
  // The kernel's other mounts that are no part of the system itself; those
  // the desktop would show, named by their folder.
  const char* home = gio->g_get_home_dir();
  for (const Mounted& m : mounted) {
    if (m.path == "/" || m.internal) continue;
    const bool known = std::any_of(volumes.begin(), volumes.end(),
                                   [&](const TVolume& v) { return v.root == m.path; });
    if (!known)
      volumes.push_back(
          {m.path, ShownByTheDesktop(m.path, home ? home : "") ? LastName(m.path) : ""});
  }
  std::sort(volumes.begin(), volumes.end(),
            [](const TVolume& a, const TVolume& b) { return a.root < b.root; });
  volumes.erase(std::unique(volumes.begin(), volumes.end(),
                            [](const TVolume& a, const TVolume& b) { return a.root == b.root; }),
                volumes.end());
  return volumes;
}

void TVolumeWatch::State::Report(const std::shared_ptr<State>& self) {
  std::vector<TVolume> volumes = ReadVolumes();
  if (listed && volumes == last) return;
  std::vector<TVolume> added;
  if (listed) {
    added = AddedVolumes(last, volumes);
    // While the desktop's monitors are made, a card may be mounted: a new
    // mount point of the kernel's arrives; what only the monitors bring
    // was there before.
    if (!watching) {
      std::erase_if(added, [this](const TVolume& v) {
        return std::find(kernel_points.begin(), kernel_points.end(), v.root) == kernel_points.end();
      });
    }
  }
  last = std::move(volumes);
  listed = true;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (closed) return;
    if (on_list) on_list(last);
  }
  // A new volume's folders are looked at on a thread of its own: a card
  // that hangs keeps only that thread waiting.
  for (const TVolume& volume : added) {
    std::thread([self, root = volume.root] {
      const std::string dcim = DcimFolderOf(root);
      if (dcim.empty()) return;
      std::lock_guard<std::mutex> lock(self->mutex);
      if (!self->closed && self->on_card) self->on_card(dcim);
    }).detach();
  }
}

namespace {

// The data GIO's callbacks get: the watch's state, kept alive by the thread.
struct Callback {
  TVolumeWatch::State* state;
  const std::shared_ptr<TVolumeWatch::State>* self;
};

void MountChanged(GVolumeMonitor*, GMount*, gpointer data) {
  auto* callback = static_cast<Callback*>(data);
  callback->state->Report(*callback->self);
}

gboolean MountTableChanged(gint, GIOCondition, gpointer data) {
  auto* callback = static_cast<Callback*>(data);
  callback->state->Report(*callback->self);
  return G_SOURCE_CONTINUE;
}

gboolean QuitLoop(gpointer loop) {
  if (const GioFunctions* gio = Gio()) gio->g_main_loop_quit(static_cast<GMainLoop*>(loop));
  return G_SOURCE_REMOVE;
}

}  // namespace

void TVolumeWatch::State::Run(const std::shared_ptr<State>& self) {
  gio = Gio();
  if (!gio) {
    std::lock_guard<std::mutex> lock(mutex);
    ended = true;
    ended_signal.notify_all();
    return;
  }
  // The monitor and its signals belong to this thread's own loop: the
  // window's thread never runs a line of it.
  GMainContext* own_context = gio->g_main_context_new();
  gio->g_main_context_push_thread_default(own_context);
  GMainLoop* own_loop = gio->g_main_loop_new(own_context, FALSE);
  bool stop = false;
  {
    std::lock_guard<std::mutex> lock(mutex);
    context = own_context;
    loop = own_loop;
    stop = closed;
  }
  if (!stop) {
    Callback callback{this, &self};
    // The kernel marks its table of mounts when it changes; the watch is
    // told in its own loop. (GIO's own watch of the table turns in the
    // program's main loop, the window's.)
    const int table = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    GSource* table_source = nullptr;
    if (table >= 0) {
      table_source =
          gio->g_unix_fd_source_new(table, static_cast<GIOCondition>(G_IO_ERR | G_IO_PRI));
      // A descriptor's source calls its callback with the descriptor and
      // what happened; GLib takes every callback in the plain form.
      gio->g_source_set_callback(
          table_source,
          reinterpret_cast<GSourceFunc>(reinterpret_cast<void (*)()>(&MountTableChanged)),
          &callback, nullptr);
      gio->g_source_attach(table_source, own_context);
    }
    // The mounts first, then the desktop's monitors: making them may wait
    // on a mount, which then costs the labels, not the list.
    Report(self);
    monitor = gio->g_volume_monitor_get();
    std::vector<gulong> handlers;
    for (const char* signal : {"mount-added", "mount-removed", "mount-changed"}) {
      handlers.push_back(gio->g_signal_connect_data(monitor, signal,
                                                    reinterpret_cast<GCallback>(&MountChanged),
                                                    &callback, nullptr, GConnectFlags{}));
    }
    Report(self);
    watching = true;
    gio->g_main_loop_run(own_loop);
    for (gulong handler : handlers) gio->g_signal_handler_disconnect(monitor, handler);
    gio->g_object_unref(monitor);
    monitor = nullptr;
    if (table_source) {
      gio->g_source_destroy(table_source);
      gio->g_source_unref(table_source);
    }
    if (table >= 0) close(table);
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    context = nullptr;
    loop = nullptr;
  }
  gio->g_main_loop_unref(own_loop);
  gio->g_main_context_pop_thread_default(own_context);
  gio->g_main_context_unref(own_context);
  std::lock_guard<std::mutex> lock(mutex);
  ended = true;
  ended_signal.notify_all();
}

TVolumeWatch::TVolumeWatch(ListListener on_list, CardListener on_card)
    : state_(std::make_shared<State>()) {
  state_->on_list = std::move(on_list);
  state_->on_card = std::move(on_card);
  std::thread([state = state_] { state->Run(state); }).detach();
}

TVolumeWatch::~TVolumeWatch() {
  std::unique_lock<std::mutex> lock(state_->mutex);
  state_->closed = true;
  // The loop ends at its next turn; a thread stuck in a call ends later by
  // itself, holding its own share of the state.
  if (state_->context) state_->gio->g_main_context_invoke(state_->context, &QuitLoop, state_->loop);
  state_->ended_signal.wait_for(lock, kEndWait, [this] { return state_->ended; });
}

bool TVolumeWatch::Available() {
  return Gio() != nullptr;
}

std::vector<TVolume> AddedVolumes(const std::vector<TVolume>& before,
                                  const std::vector<TVolume>& now) {
  std::vector<TVolume> added;
  for (const TVolume& volume : now) {
    const bool known = std::any_of(before.begin(), before.end(),
                                   [&](const TVolume& v) { return v.root == volume.root; });
    if (!known) added.push_back(volume);
  }
  return added;
}

}  // namespace platform
