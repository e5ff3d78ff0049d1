// What the settings store and the tools' output files need of the file
// system: reading a settings file whole without ever waiting on it,
// telling whether it changed since, replacing it whole, a write lock between
// two bars sharing one settings file, and the length of an open file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace files {

// The largest settings file read: far beyond what any Mirvan.ini holds (a
// few hundred bytes), small enough that a file that is really something
// else (a log, /dev/zero behind a link) costs no more than a moment.
inline constexpr std::size_t kMaxSettingsBytes = 16u * 1024 * 1024;

// One version of a file, as far as the system tells versions apart: when
// any field differs, the bytes may differ.
struct FileStamp {
  std::uint64_t device = 0, inode = 0;
  long long size = -1, mtimeNs = 0, ctimeNs = 0;
  // The times are old enough that a change made now would move them: a
  // file rewritten in place within one tick of the file system's clock can
  // keep its times, so a stamp taken that soon vouches for nothing.
  bool settled = false;
  bool SameVersion(const FileStamp& o) const {
    return device == o.device && inode == o.inode && size == o.size && mtimeNs == o.mtimeNs && ctimeNs == o.ctimeNs;
  }
};

enum class ReadStatus {
  Ok,
  Missing,   // nothing of that name (a dangling link included)
  NotAFile,  // a folder, a FIFO, a device: never opened for reading, never replaced
  TooBig,    // a regular file past the limit
  Failed,    // there, but it could not be read (permissions, I/O)
};

// Reads a whole regular file of at most `maxBytes` into `out`, never
// waiting on it (a FIFO is refused, not opened for a writer that may never
// come). `stamp`, if given, gets the version read.
ReadStatus ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out,
                           FileStamp* stamp = nullptr);
// The version `path` names now (links followed); false when nothing is there.
bool StampOf(const std::string& path, FileStamp& stamp);

// The line break this system's own programs write ("\r\n" / "\n").
extern const char* const kNativeEol;

// Holds the lock of one settings file for its lifetime. Where the system
// refuses the lock, the write goes ahead unserialised.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path);
  ~WriteLock();
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  // Makes a replacement made under this lock durable.
  void SyncFolder();

 private:
  std::intptr_t m_handle = -1;
  bool m_locked = false;
};

// Writes `bytes` to a new file next to `path` and puts it in its place in one
// step; false (and `path` untouched) on any failure, and when `path` is
// there but is no regular file (a FIFO or a device is never replaced).
bool ReplaceWith(const std::string& path, const std::string& bytes);

// The file a write to `path` must replace (a symbolic link's target).
std::string WriteTarget(const std::string& path);

// The length in bytes, or -1 when it cannot be had (a folder, a failed
// seek). 64-bit on both systems, for logs past 2 GB.
long long FileLength(std::FILE* f);

}  // namespace files
