// The file watch on Windows: ReadDirectoryChangesW on the folders of the
// watched files, every folder's request completing on one event.
#include <sys/stat.h>
#include <sys/types.h>

#include <map>
#include <set>

#include "platform/file_watch.h"
#include "platform/win/win_api.h"
#include "text/mbcs.h"

namespace {

FileState StatusOf(const std::string& path) {
  FileState s;
  struct _stat64 st;
  if (_stat64(path.c_str(), &st) == 0 && (st.st_mode & _S_IFREG)) {
    s.exists = true;
    s.size = static_cast<long long>(st.st_size);
    // The status in full: a save within the same second must still count.
    WIN32_FILE_ATTRIBUTE_DATA data;
    // 100 ns units since 1601; the epoch of the other clocks is 1970.
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
      s.mtimeNs = (((static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime) -
                   116444736000000000LL) *
                  100;
    else
      s.mtimeNs = static_cast<long long>(st.st_mtime) * 1000000000LL;
  }
  return s;
}

// Whether someone is still writing the file: Windows tells of a write
// while it goes on, and a save read half-way would count twice.
bool BeingWritten(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(h);
  return false;
}

class ChangeWatch : public ContentWatch {
 public:
  ChangeWatch() : m_event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~ChangeWatch() override {
    for (auto& [name, f] : m_folders) Close(f);
    if (m_event) CloseHandle(m_event);
  }
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;

  void Watch(const std::vector<std::string>& paths) override {
    const std::set<std::string> folders = Track(paths);
    for (auto it = m_folders.begin(); it != m_folders.end();) {
      if (folders.count(it->first)) {
        ++it;
      } else {
        Close(it->second);
        it = m_folders.erase(it);
      }
    }
    for (const std::string& f : folders)
      if (!m_folders.count(f)) Open(f);
  }

  std::intptr_t WaitHandle() const override {
    return m_event ? reinterpret_cast<std::intptr_t>(m_event) : -1;
  }

  bool Wait(int timeoutMs) override {
    if (!m_event) return false;
    // A file still being written is looked at again shortly.
    const int wait = m_retry && (timeoutMs < 0 || timeoutMs > kRetryMs) ? kRetryMs : timeoutMs;
    const DWORD r = WaitForSingleObject(m_event, wait < 0 ? INFINITE : static_cast<DWORD>(wait));
    return r == WAIT_OBJECT_0 || m_retry;
  }

  std::vector<std::string> Poll() override {
    if (m_event) ResetEvent(m_event);
    for (auto& [name, f] : m_folders) {
      DWORD n = 0;
      if (f.dir == INVALID_HANDLE_VALUE || !GetOverlappedResult(f.dir, &f.ov, &n, FALSE)) continue;
      // Something changed in the folder: its watched files are looked at,
      // which the status makes cheap for the unchanged ones.
      MarkFolderChanged(name);
      Request(f);
    }
    const std::vector<std::string> changed = TakeChanged(BeingWritten);
    m_retry = AnyMarked();
    return changed;
  }

  int RetryMs() const override { return m_retry ? kRetryMs : -1; }

 protected:
  FileState Status(const std::string& path) const override { return StatusOf(path); }
  // A double-byte character's second byte is no separator.
  std::string FolderOf(const std::string& path) const override {
    const std::size_t sep = mbcs::FindLastOf(path, "\\/");
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
  }

 private:
  static constexpr int kRetryMs = 50;

  struct Folder {
    HANDLE dir = INVALID_HANDLE_VALUE;
    OVERLAPPED ov{};
    alignas(DWORD) char buf[8 * 1024];
  };

  void Open(const std::string& name) {
    Folder& f = m_folders[name];
    f.dir = CreateFileA(name.empty() ? "." : name.c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (f.dir != INVALID_HANDLE_VALUE) Request(f);
  }
  void Request(Folder& f) {
    f.ov = OVERLAPPED{};
    f.ov.hEvent = m_event;
    if (!ReadDirectoryChangesW(f.dir, f.buf, sizeof f.buf, FALSE,
                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                   FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_ATTRIBUTES,
                               nullptr, &f.ov, nullptr)) {
      CloseHandle(f.dir);
      f.dir = INVALID_HANDLE_VALUE;
    }
  }
  static void Close(Folder& f) {
    if (f.dir == INVALID_HANDLE_VALUE) return;
    CancelIo(f.dir);
    DWORD n = 0;
    GetOverlappedResult(f.dir, &f.ov, &n, TRUE);
    CloseHandle(f.dir);
    f.dir = INVALID_HANDLE_VALUE;
  }

  HANDLE m_event;
  std::map<std::string, Folder> m_folders;  // by folder part; a map keeps each Folder in place
  bool m_retry = false;
};

}  // namespace

std::unique_ptr<IFileWatch> MakeFileWatch() { return std::make_unique<ChangeWatch>(); }
