// Watching a set of files for a change of what they hold: a save that
// wrote the same bytes, a touch, a deletion are no change; a save that
// writes a new file and renames it over the old one is followed, because
// the folders are watched, not the files. The POSIX and the Windows
// implementation sit behind this one interface.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class IFileWatch {
 public:
  virtual ~IFileWatch() = default;

  // Watches exactly these files (full paths) from now on. A file watched
  // before keeps what it held when last looked at; a new one is taken as
  // it is now. A file that does not exist yet is watched for its creation.
  virtual void Watch(const std::vector<std::string>& paths) = 0;

  // What a front end waits on: a descriptor that becomes readable (POSIX,
  // for a socket notifier or poll) or a handle that is signalled (Windows)
  // when Poll may have something. -1 when watching could not be set up.
  virtual std::intptr_t WaitHandle() const = 0;

  // Waits up to `timeoutMs` (0: not at all) for a notification; true when
  // one came. For a caller without an event loop of its own.
  virtual bool Wait(int timeoutMs) = 0;

  // Without waiting: the watched files whose content differs from what
  // they held when last reported or first watched, each once, in the
  // order of Watch.
  virtual std::vector<std::string> Poll() = 0;

  // Not -1: a file was still being written when Poll looked (Windows tells
  // of a write before it ends); Poll again after this many milliseconds,
  // notification or not.
  virtual int RetryMs() const { return -1; }
};

// The watch of this system.
std::unique_ptr<IFileWatch> MakeFileWatch();

// What a file holds, as far as telling a change goes: the system's status
// first (cheap), the bytes' hash where the status changed.
struct FileState {
  bool exists = false;
  long long size = -1;  // -1: never seen
  long long mtimeNs = 0;
  std::uint64_t hash = 0;  // of the content last read; kept while the file is gone
  // Read within the file system's time granularity of its last write: a
  // write of the same size right after would leave the status as it was,
  // so the status alone may not clear it.
  bool racy = true;
};

// The time now on the files' clock, in nanoseconds since the epoch.
long long FileClockNowNs();

// Marks `s` racy when its last write is close to `nowNs`.
inline void NoteReadAt(FileState& s, long long nowNs) { s.racy = s.mtimeNs >= nowNs - 2000000000LL; }

// Whether `now` (the status just taken, its hash not yet read) holds other
// bytes than `before`; `hashOf` reads the hash when the status alone does
// not tell, and returns false when the file cannot be read. Updates `before`.
// A file gone is no change; one that comes back with the bytes it had is none either.
template <typename HashOf>
bool ContentChanged(FileState& before, FileState now, HashOf hashOf) {
  if (!now.exists) {
    before.exists = false;
    return false;
  }
  if (before.exists && !before.racy && now.size == before.size && now.mtimeNs == before.mtimeNs) return false;
  std::uint64_t hash = 0;
  if (!hashOf(hash)) return false;
  now.hash = hash;
  NoteReadAt(now, FileClockNowNs());
  const bool changed = now.size != before.size || hash != before.hash;
  before = now;
  return changed;
}

// The FNV-1a hash of a file's bytes, read through the C library; false
// when it cannot be opened.
bool HashFile(const std::string& path, std::uint64_t& hash);

// What both systems' watches share: the watched files with what they held,
// and which of them a notification named. The system's part watches the
// folders and tells the files' status.
class ContentWatch : public IFileWatch {
 protected:
  // The file's status, its hash not read.
  virtual FileState Status(const std::string& path) const = 0;
  // The folder part of a path with its last separator ("" for a bare name).
  virtual std::string FolderOf(const std::string& path) const = 0;

  // Takes `paths` as the watched set (see Watch); the folders that hold them.
  std::set<std::string> Track(const std::vector<std::string>& paths);
  bool Watched(const std::string& path) const { return m_files.count(path) != 0; }
  void MarkChanged(const std::string& path) {
    if (Watched(path)) m_dirty.insert(path);
  }
  void MarkFolderChanged(const std::string& folder);
  void MarkAllChanged();
  // The marked files whose content changed, in the order of Watch; a file
  // for which `busy` says it is still being written stays marked.
  std::vector<std::string> TakeChanged(const std::function<bool(const std::string&)>& busy = nullptr);
  bool AnyMarked() const { return !m_dirty.empty(); }

 private:
  std::map<std::string, FileState> m_files;
  std::vector<std::string> m_order;
  std::set<std::string> m_dirty;
};
