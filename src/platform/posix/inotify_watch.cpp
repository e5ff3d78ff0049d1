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

FileState StatOf(const std::string& path) {
  FileState s;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    s.exists = true;
    s.size = static_cast<long long>(st.st_size);
    s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  }
  return s;
}

// The folder part as the path writes it, with its last slash ("" for a
// bare name): the folder and an event's name make the path again.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

class InotifyWatch : public IFileWatch {
 public:
  InotifyWatch() : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
  ~InotifyWatch() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  InotifyWatch(const InotifyWatch&) = delete;
  InotifyWatch& operator=(const InotifyWatch&) = delete;

  void Watch(const std::vector<std::string>& paths) override {
    std::map<std::string, FileState> files;
    m_order = paths;
    for (const std::string& p : paths) {
      auto old = m_files.find(p);
      if (old != m_files.end()) {
        files.emplace(p, old->second);
      } else {
        FileState s = StatOf(p);
        if (s.exists && !HashFile(p, s.hash)) s.exists = false;
        NoteReadAt(s, FileClockNowNs());
        files.emplace(p, s);
      }
    }
    m_files.swap(files);
    std::set<std::string> folders;
    for (const std::string& p : paths) folders.insert(FolderOf(p));
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
    m_dirty.clear();
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
    std::vector<std::string> changed;
    for (const std::string& p : m_order) {
      if (!m_dirty.count(p)) continue;
      auto it = m_files.find(p);
      if (it == m_files.end()) continue;
      if (ContentChanged(it->second, StatOf(p), [&](std::uint64_t& h) { return HashFile(p, h); }))
        changed.push_back(p);
    }
    m_dirty.clear();
    return changed;
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
          // Events were lost: look at every file.
          for (const auto& f : m_files) m_dirty.insert(f.first);
          continue;
        }
        if (e->mask & IN_IGNORED) {
          m_folders.erase(e->wd);  // the folder itself went away
          continue;
        }
        auto folder = m_folders.find(e->wd);
        if (folder == m_folders.end() || e->len == 0) continue;
        const std::string path = folder->second + e->name;
        if (m_files.count(path)) m_dirty.insert(path);
      }
    }
  }

  int m_fd;
  std::map<int, std::string> m_folders;  // watch descriptor -> folder
  std::map<std::string, FileState> m_files;
  std::vector<std::string> m_order;
  std::set<std::string> m_dirty;
};

}  // namespace

std::unique_ptr<IFileWatch> MakeFileWatch() { return std::make_unique<InotifyWatch>(); }
