// The file watch on Linux: inotify on the folders of the watched files.
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <set>

#include "platform/file_watch.h"

namespace {

FileState StatusOf(const std::string& path) {
  FileState s;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    s.exists = true;
    s.size = static_cast<long long>(st.st_size);
    s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  }
  return s;
}

class InotifyWatch : public ContentWatch {
 public:
  InotifyWatch() : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
  ~InotifyWatch() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  InotifyWatch(const InotifyWatch&) = delete;
  InotifyWatch& operator=(const InotifyWatch&) = delete;

  void Watch(const std::vector<std::string>& paths) override {
    const std::set<std::string> folders = Track(paths);
    // Folders no longer needed are let go; new ones watched. A folder
    // created later is not followed.
    for (auto it = m_folders.begin(); it != m_folders.end();) {
      if (folders.count(it->second)) {
        ++it;
      } else {
        if (m_fd >= 0) ::inotify_rm_watch(m_fd, it->first);
        it = m_folders.erase(it);
      }
    }
    for (const std::string& f : folders) AddFolder(f);
  }

  std::intptr_t WaitHandle() const override { return m_fd; }

  bool Wait(int timeoutMs) override {
    if (m_fd < 0) return false;
    pollfd p{m_fd, POLLIN, 0};
    int r;
    do r = ::poll(&p, 1, timeoutMs);
    while (r < 0 && errno == EINTR);
    return r > 0;
  }

  std::vector<std::string> Poll() override {
    ReadEvents();
    return TakeChanged();
  }

 protected:
  FileState Status(const std::string& path) const override { return StatusOf(path); }
  // The folder part as the path writes it, with its last slash: the
  // folder and an event's name make the path again.
  std::string FolderOf(const std::string& path) const override {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  }

 private:
  // A save ends with the file closed after writing or renamed into place;
  // a touch changes its attributes; a deletion is noted so that a
  // re-creation is compared with what the file held.
  static constexpr std::uint32_t kMask =
      IN_CLOSE_WRITE | IN_MOVED_TO | IN_ATTRIB | IN_DELETE | IN_MOVED_FROM | IN_EXCL_UNLINK | IN_ONLYDIR;

  void AddFolder(const std::string& folder) {
    if (m_fd < 0) return;
    for (const auto& [wd, f] : m_folders)
      if (f == folder) return;
    const int wd = ::inotify_add_watch(m_fd, folder.empty() ? "." : folder.c_str(), kMask);
    if (wd >= 0) m_folders[wd] = folder;
  }

  void ReadEvents() {
    if (m_fd < 0) return;
    alignas(inotify_event) char buf[16 * 1024];
    for (;;) {
      const ssize_t n = ::read(m_fd, buf, sizeof buf);
      if (n <= 0) break;  // EAGAIN: nothing more now
      for (ssize_t off = 0; off < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buf + off);
        off += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        if (e->mask & IN_Q_OVERFLOW) {
          MarkAllChanged();  // events were lost: look at every file
          continue;
        }
        if (e->mask & IN_IGNORED) {
          m_folders.erase(e->wd);  // the folder itself went away
          continue;
        }
        auto folder = m_folders.find(e->wd);
        if (folder == m_folders.end() || e->len == 0) continue;
        MarkChanged(folder->second + e->name);
      }
    }
  }

  int m_fd;
  std::map<int, std::string> m_folders;  // watch descriptor -> folder
};

}  // namespace

std::unique_ptr<IFileWatch> MakeFileWatch() { return std::make_unique<InotifyWatch>(); }
