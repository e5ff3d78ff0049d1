// The file system on POSIX systems.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool ReplaceWith(const std::string& path, const std::string& bytes) {
  if (ReadOnly(path)) return false;
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
