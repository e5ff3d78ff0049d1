#include "config/ini_profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "text/mbcs.h"

#ifdef _WIN32
#include "platform/win/win_api.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#endif

namespace {

#ifdef _WIN32
const char* const kNativeEol = "\r\n";
#else
const char* const kNativeEol = "\n";
#endif

// Windows' profile reader counts Ctrl-Z as a blank too.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

enum class Kind { Blank, Comment, Section, Key };

// One line of the file. Offsets into the whole file's bytes.
struct Line {
  std::size_t begin = 0;   // first byte of the line
  std::size_t rawEnd = 0;  // end of the line's text, before its "\n" or "\r\n"
  std::size_t next = 0;    // first byte of the following line
  std::size_t b = 0, e = 0;  // the text without surrounding blanks
  Kind kind = Kind::Blank;
  std::string name;  // section or key name, blanks removed
  bool hasValue = false;            // Key: an '=' is there
  std::size_t nameEnd = 0;          // Key: end of the name (blanks removed)
  std::size_t valueBegin = 0;       // Key: first byte of the value
};

Line ReadLine(const std::string& data, std::size_t begin) {
  Line l;
  l.begin = begin;
  std::size_t nl = data.find('\n', begin);
  l.next = nl == std::string::npos ? data.size() : nl + 1;
  l.rawEnd = nl == std::string::npos ? data.size() : nl;
  if (l.rawEnd > begin && data[l.rawEnd - 1] == '\r') --l.rawEnd;

  std::size_t b = begin, e = l.rawEnd;
  // A byte order mark that Linux editors like to put in front of the text.
  if (begin == 0 && data.compare(0, 3, "\xEF\xBB\xBF") == 0 && e >= 3) b = 3;
  while (b < e && IsBlank(data[b])) ++b;
  while (e > b && IsBlank(data[e - 1])) --e;
  l.b = b;
  l.e = e;
  if (b == e) return l;

  if (data[b] == '[') {
    const std::string text = data.substr(b, e - b);
    const std::size_t close = mbcs::FindLastOf(text, "]");
    if (close != std::string::npos) {
      l.kind = Kind::Section;
      l.name = Trim(text.substr(1, close - 1));
      return l;
    }
  }
  if (data[b] == ';') {
    l.kind = Kind::Comment;
    return l;
  }
  l.kind = Kind::Key;
  // Only this line's bytes: a search to the end of the file would make a
  // file of lines without '=' quadratic to read.
  const void* hit = std::memchr(data.data() + b, '=', e - b);
  const std::size_t eq = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data.data()) : e;
  if (eq >= e) {
    l.nameEnd = e;
    l.valueBegin = e;
  } else {
    l.hasValue = true;
    std::size_t ne = eq;
    while (ne > b && IsBlank(data[ne - 1])) --ne;
    l.nameEnd = ne;
    std::size_t vb = eq + 1;
    while (vb < e && IsBlank(data[vb])) ++vb;
    l.valueBegin = vb;
  }
  l.name = data.substr(b, l.nameEnd - b);
  return l;
}

bool SameName(const std::string& a, const std::string& b) {
  return !a.empty() && mbcs::EqualsNoCase(a, b);
}

// Where a key is, or where it would go.
struct Spot {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;
  std::size_t insertAt = 0;  // after the section's last key line (or its header)
};

// Only the first section of the name counts, and in it only the first key
// of the name: what Windows does with duplicates.
Spot Locate(const std::string& data, const std::string& section, const std::string& key) {
  Spot s;
  bool inside = false;
  for (std::size_t pos = 0; pos < data.size();) {
    Line l = ReadLine(data, pos);
    pos = l.next;
    if (l.kind == Kind::Section) {
      if (inside) break;
      if (SameName(l.name, section)) {
        inside = true;
        s.sectionFound = true;
        s.insertAt = l.next;
      }
    } else if (inside && l.kind == Kind::Key) {
      s.insertAt = l.next;
      if (SameName(l.name, key)) {
        s.keyFound = true;
        s.keyLine = std::move(l);
        break;
      }
    }
  }
  return s;
}

std::string EolOf(const std::string& data, const char* eolIfNone) {
  std::size_t nl = data.find('\n');
  if (nl == std::string::npos) return eolIfNone;
  return (nl > 0 && data[nl - 1] == '\r') ? "\r\n" : "\n";
}

bool HasAny(const std::string& s, const char* bytes, std::size_t n) {
  return s.find_first_of(bytes, 0, n) != std::string::npos;
}

bool StorableName(const std::string& name) {
  return !name.empty() && !HasAny(name, "\r\n\0", 3);
}

// ---- Files ----------------------------------------------------------------

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadAll(const std::string& path, std::string& out) {
  out.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  // One buffer of the file's size: growing it chunk by chunk copies a big
  // file several times over.
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    // A folder opens too, and tells sizes no file has.
    if (size > 0 && size < (1L << 30)) out.reserve(static_cast<std::size_t>(size));
    std::rewind(f);
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  return failed ? ReadResult::Failed : ReadResult::Ok;
}

#ifdef _WIN32

// Holds a named mutex for its lifetime, one name per settings file (its
// full path without regard to case): no lock file is left next to it.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    std::string key = (n > 0 && n < MAX_PATH) ? std::string(full, n) : path;
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : key) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Mirvan-ini-%016llx", static_cast<unsigned long long>(hash));
    m_h = CreateMutexA(nullptr, FALSE, name);
    if (m_h) {
      const DWORD r = WaitForSingleObject(m_h, INFINITE);
      m_locked = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
  }
  ~WriteLock() {
    if (!m_h) return;
    if (m_locked) ReleaseMutex(m_h);
    CloseHandle(m_h);
  }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  void SyncFolder() {}

 private:
  HANDLE m_h = nullptr;
  bool m_locked = false;
};

// How old a temporary of ours must be before a later write takes it for the
// leftover of a writer that was killed: a live writer finishes in far less.
const int kStaleSeconds = 10;

// Temporaries are "<ini>.tmp<pid>". One that is still open in its writer
// cannot be deleted (it is created without sharing), so only leftovers go.
void RemoveStaleTemporaries(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((path + ".tmp*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  const std::size_t sep = path.find_last_of("\\/");
  const std::string folder = sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
  const std::string base = (sep == std::string::npos ? path : path.substr(sep + 1)) + ".tmp";
  FILETIME nowFt;
  GetSystemTimeAsFileTime(&nowFt);
  auto ticks = [](const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  do {
    const std::string name = fd.cFileName;
    if (name.size() <= base.size() || !mbcs::EqualsNoCase(name.substr(0, base.size()), base)) continue;
    if (name.find_first_not_of("0123456789", base.size()) != std::string::npos) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (ticks(nowFt) < ticks(fd.ftLastWriteTime) + kStaleSeconds * 10000000ull) continue;
    DeleteFileA((folder + name).c_str());
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

bool ReplaceWith(const std::string& path, const std::string& bytes) {
  RemoveStaleTemporaries(path);
  const std::string tmp = path + ".tmp" + std::to_string(GetCurrentProcessId());
  HANDLE h = CreateFileA(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    ok = WriteFile(h, bytes.data() + done, chunk, &written, nullptr) != 0 && written > 0;
    done += written;
  }
  ok = ok && FlushFileBuffers(h) != 0;
  ok = CloseHandle(h) != 0 && ok;
  ok = ok && MoveFileExA(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileA(tmp.c_str());
  return ok;
}

std::string WriteTarget(const std::string& path) { return path; }

#else

std::string FolderOf(const std::string& path) {
  const std::size_t sep = path.find_last_of('/');
  if (sep == std::string::npos) return ".";
  if (sep == 0) return "/";
  return path.substr(0, sep);
}

// Holds an exclusive flock on the ini's folder for its lifetime. The folder
// rather than a lock file: it exists whenever a write can succeed, survives
// the rename that replaces the ini, and leaves no extra file behind. Where
// the file system refuses the lock, the write goes ahead unserialised.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path) {
    m_fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) return;
    while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~WriteLock() {
    if (m_fd >= 0) ::close(m_fd);  // releases the lock
  }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  // Makes the rename itself durable.
  void SyncFolder() {
    if (m_fd >= 0) ::fsync(m_fd);
  }

 private:
  int m_fd = -1;
};

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

#endif

}  // namespace

namespace ini {

std::optional<std::string> Lookup(const std::string& data, const std::string& section,
                                  const std::string& key) {
  const Spot s = Locate(data, Trim(section), Trim(key));
  if (!s.keyFound || !s.keyLine.hasValue) return std::nullopt;
  std::string v = data.substr(s.keyLine.valueBegin, s.keyLine.e - s.keyLine.valueBegin);
  // Windows hands values out as C strings.
  std::size_t nul = v.find('\0');
  if (nul != std::string::npos) v.resize(nul);
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  return v;
}

std::string Update(const std::string& data, const std::string& section, const std::string& key,
                   const std::string* value, const char* eolIfNone) {
  const std::string sec = Trim(section), name = Trim(key);
  const Spot s = Locate(data, sec, name);
  std::string out = data;
  if (!value) {
    if (s.keyFound) out.erase(s.keyLine.begin, s.keyLine.next - s.keyLine.begin);
    return out;
  }
  const std::string eol = EolOf(data, eolIfNone);
  if (s.keyFound) {
    const Line& l = s.keyLine;
    if (l.hasValue) {
      out.replace(l.valueBegin, l.rawEnd - l.valueBegin, *value);
    } else {
      out.replace(l.nameEnd, l.rawEnd - l.nameEnd, "=" + *value);
    }
    return out;
  }
  const std::string entry = name + "=" + *value;
  if (s.sectionFound) {
    std::string insert = entry + eol;
    // The section's last line may be the file's last line, without a break.
    if (s.insertAt == out.size() && !out.empty() && out.back() != '\n') insert = eol + entry + eol;
    out.insert(s.insertAt, insert);
    return out;
  }
  if (!out.empty() && out.back() != '\n') out += eol;
  out += "[" + sec + "]" + eol + entry + eol;
  return out;
}

int ParseInt(const std::string& value) {
  std::size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  std::uint32_t acc = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    acc = acc * 10u + static_cast<std::uint32_t>(value[i] - '0');
  }
  if (negative) acc = 0u - acc;
  return static_cast<std::int32_t>(acc);
}

}  // namespace ini

IniProfile::IniProfile(std::string path) : m_path(std::move(path)) {}

std::optional<std::string> IniProfile::ReadValue(const std::string& section, const std::string& key) const {
  if (m_path.empty()) return std::nullopt;
  std::string data;
  if (ReadAll(m_path, data) != ReadResult::Ok) return std::nullopt;
  return ini::Lookup(data, section, key);
}

std::string IniProfile::GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& def) {
  std::optional<std::string> v = ReadValue(section, key);
  return v ? *v : def;
}

int IniProfile::GetProfileInt(const std::string& section, const std::string& key, int def) {
  std::optional<std::string> v = ReadValue(section, key);
  if (!v || v->empty()) return def;
  return ini::ParseInt(*v);
}

bool IniProfile::WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string* value) {
  if (m_path.empty()) return false;
  const std::string sec = Trim(section), name = Trim(key);
  if (!StorableName(sec) || !StorableName(name)) return false;
  if (name.find('=') != std::string::npos || name[0] == ';' || name[0] == '[') return false;
  if (value && HasAny(*value, "\r\n\0", 3)) return false;

  const std::string target = WriteTarget(m_path);
  WriteLock lock(target);
  std::string data;
  const ReadResult r = ReadAll(target, data);
  // A file that is there but cannot be read is never overwritten.
  if (r == ReadResult::Failed) return false;
  if (r == ReadResult::Missing && !value) return true;
  const std::string updated = ini::Update(data, sec, name, value, kNativeEol);
  if (r == ReadResult::Ok && updated == data) return true;
  if (!ReplaceWith(target, updated)) return false;
  lock.SyncFolder();
  return true;
}

bool IniProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
  const std::string text = std::to_string(value);
  return WriteProfileString(section, key, &text);
}
