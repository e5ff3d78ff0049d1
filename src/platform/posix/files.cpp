// The file system on POSIX systems.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

namespace files {

const char* const kNativeEol = "\n";

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t sep = path.find_last_of('/');
  if (sep == std::string::npos) return ".";
  if (sep == 0) return "/";
  return path.substr(0, sep);
}

bool WriteFully(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

const int kStaleSeconds = 10;

long long Ns(const struct timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

// How long after a file's last change its times are trusted to move with
// the next one: a few ticks of the kernel's clock on the local file systems
// that keep fine times, and two seconds elsewhere (FAT keeps two-second
// times; a file server keeps its own clock).
long long SettleNs(long fsType) {
  switch (static_cast<unsigned long>(fsType)) {
    case 0xEF53:       // ext2, ext3, ext4
    case 0x01021994:   // tmpfs
    case 0x9123683E:   // btrfs
    case 0x58465342:   // xfs
    case 0xF2F52010:   // f2fs
    case 0x794C7630:   // overlayfs
    case 0x2FC12FC1:   // zfs
      return 50000000LL;
    default:
      return 2000000000LL;
  }
}

FileStamp StampFrom(const struct stat& st, long fsType) {
  FileStamp s;
  s.device = static_cast<std::uint64_t>(st.st_dev);
  s.inode = static_cast<std::uint64_t>(st.st_ino);
  s.size = static_cast<long long>(st.st_size);
  s.mtimeNs = Ns(st.st_mtim);
  s.ctimeNs = Ns(st.st_ctim);
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  // Only a write that could leave the modification time as it is matters:
  // one within the same tick of the file system's clock.
  s.settled = Ns(now) - s.mtimeNs > SettleNs(fsType);
  return s;
}

// Temporaries are ".<ini>.<pid>.<n>.tmp", written only under the folder
// lock; one older than a live writer could take is the leftover of a
// writer that was killed, and nobody else will ever remove it.
void RemoveStaleTemporaries(const std::string& folder, const std::string& base) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return;
  const std::string head = "." + base + ".";
  const time_t now = ::time(nullptr);
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name.size() <= head.size() + 4 || name.compare(0, head.size(), head) != 0) continue;
    if (name.compare(name.size() - 4, 4, ".tmp") != 0) continue;
    const std::string middle = name.substr(head.size(), name.size() - head.size() - 4);
    const std::size_t dot = middle.find('.');
    if (dot == 0 || dot == std::string::npos || dot + 1 == middle.size() ||
        middle.find_first_not_of("0123456789.") != std::string::npos || middle.find('.', dot + 1) != std::string::npos) {
      continue;
    }
    const std::string full = folder + "/" + name;
    struct stat st;
    if (::lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (now - st.st_mtime < kStaleSeconds) continue;
    ::unlink(full.c_str());
  }
  ::closedir(d);
}

// Windows refuses to replace a read-only file, administrators included; a
// file without any write permission is read-only in that sense here too,
// also for root, who would otherwise pass every access check.
bool ReadOnly(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

// An exclusive flock on the settings file's folder. The folder rather than a
// lock file: it exists whenever a write can succeed, survives the rename that
// replaces the file, and leaves no extra file behind.
WriteLock::WriteLock(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  m_handle = fd;
  if (fd < 0) return;
  int r;
  while ((r = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  m_locked = r == 0;
}

WriteLock::~WriteLock() {
  if (m_handle >= 0) ::close(static_cast<int>(m_handle));  // releases the lock
}

// Makes the rename itself durable.
void WriteLock::SyncFolder() {
  if (m_handle >= 0) ::fsync(static_cast<int>(m_handle));
}

ReadStatus ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out, FileStamp* stamp) {
  out.clear();
  // Without O_NONBLOCK a FIFO would hold the open until some writer came.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadStatus::Missing;
    return errno == ENXIO ? ReadStatus::NotAFile : ReadStatus::Failed;  // ENXIO: a socket
  }
  struct stat before {};
  ReadStatus status = ReadStatus::Ok;
  if (::fstat(fd, &before) != 0) {
    status = ReadStatus::Failed;
  } else if (!S_ISREG(before.st_mode)) {
    status = ReadStatus::NotAFile;
  } else if (static_cast<unsigned long long>(before.st_size) > maxBytes) {
    status = ReadStatus::TooBig;
  }
  if (status == ReadStatus::Ok) {
    out.resize(static_cast<std::size_t>(before.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
      if (got == out.size()) out.resize(std::min(out.size() * 2, maxBytes + 1));
      const ssize_t n = ::read(fd, &out[got], out.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) status = ReadStatus::Failed;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
      // Grown past the limit while being read.
      if (got > maxBytes) {
        status = ReadStatus::TooBig;
        break;
      }
    }
    out.resize(status == ReadStatus::Ok ? got : 0);
  }
  struct stat after {};
  if (status == ReadStatus::Ok && stamp) {
    if (::fstat(fd, &after) != 0) after = before;
    struct statfs fs {};
    const long fsType = ::fstatfs(fd, &fs) == 0 ? static_cast<long>(fs.f_type) : 0;
    *stamp = StampFrom(after, fsType);
    // Written to while being read: the bytes may be of neither version.
    if (!stamp->SameVersion(StampFrom(before, fsType))) stamp->settled = false;
  }
  ::close(fd);
  return status;
}

bool StampOf(const std::string& path, FileStamp& stamp) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  struct statfs fs {};
  stamp = StampFrom(st, ::statfs(path.c_str(), &fs) == 0 ? static_cast<long>(fs.f_type) : 0);
  return true;
}

bool ReplaceWith(const std::string& path, const std::string& bytes) {
  if (ReadOnly(path)) return false;
  // A FIFO, a device or a folder in the settings file's place stays: a
  // rename would put a regular file there and the link or node is lost.
  struct stat own {};
  if (::lstat(path.c_str(), &own) == 0 && !S_ISREG(own.st_mode)) return false;
  const std::string folder = FolderOf(path);
  const std::size_t sep = path.find_last_of('/');
  const std::string base = sep == std::string::npos ? path : path.substr(sep + 1);
  RemoveStaleTemporaries(folder, base);
  static unsigned counter = 0;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = folder + "/." + base + "." + std::to_string(::getpid()) + "." + std::to_string(++counter) + ".tmp";
    // 0666 through the umask, as a file created by the editor would be.
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    // Keep who owns the settings file and who may read it. Keeping the
    // owner needs privileges; without them the file becomes the writer's,
    // as an editor's save would make it.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) errno = 0;
    ::fchmod(fd, st.st_mode & 07777);
  }
  bool ok = WriteFully(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

// A settings file that is a symbolic link is written through the link, so
// the link stays; also one that points at a file not there yet, which the
// write then creates. Links are followed one at a time, as open() would.
std::string WriteTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
    if (n <= 0) return target;
    const std::string link(buf, static_cast<std::size_t>(n));
    if (link[0] == '/') {
      target = link;
    } else {
      const std::size_t sep = target.find_last_of('/');
      target = (sep == std::string::npos ? std::string() : target.substr(0, sep + 1)) + link;
    }
  }
  return target;
}

long long FileLength(std::FILE* f) {
  // A folder opens for reading here but has no text; its "length" may be
  // anything.
  struct stat st {};
  if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  const long long len = ftello(f);
  if (fseeko(f, 0, SEEK_SET) != 0) return -1;
  return len;
}

}  // namespace files
