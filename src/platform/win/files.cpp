// The file system on Windows.
#include "platform/files.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/win/win_api.h"
#include "text/mbcs.h"

namespace files {

const char* const kNativeEol = "\r\n";

namespace {
HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

std::uint64_t Ticks(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

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
  do {
    const std::string name = fd.cFileName;
    if (name.size() <= base.size() || !mbcs::EqualsNoCase(name.substr(0, base.size()), base)) continue;
    if (name.find_first_not_of("0123456789", base.size()) != std::string::npos) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (Ticks(nowFt) < Ticks(fd.ftLastWriteTime) + kStaleSeconds * 10000000ull) continue;
    DeleteFileA((folder + name).c_str());
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}
// How long after a file's last change its times are trusted to move with
// the next one (FAT keeps two-second times).
const std::uint64_t kSettleTicks = 4ull * 10000000ull;

FileStamp StampFrom(const BY_HANDLE_FILE_INFORMATION& info) {
  FileStamp s;
  s.device = info.dwVolumeSerialNumber;
  s.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  s.size = static_cast<long long>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
  s.mtimeNs = static_cast<long long>(Ticks(info.ftLastWriteTime) * 100);
  s.ctimeNs = static_cast<long long>(Ticks(info.ftCreationTime) * 100);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  s.settled = Ticks(now) > Ticks(info.ftLastWriteTime) + kSettleTicks;
  return s;
}

bool NotThere(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

HANDLE OpenShared(const std::string& path, DWORD access) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace

ReadStatus ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out, FileStamp* stamp) {
  out.clear();
  const DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return NotThere(GetLastError()) ? ReadStatus::Missing : ReadStatus::Failed;
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return ReadStatus::NotAFile;
  HANDLE h = OpenShared(path, GENERIC_READ);
  if (h == INVALID_HANDLE_VALUE) return NotThere(GetLastError()) ? ReadStatus::Missing : ReadStatus::Failed;
  BY_HANDLE_FILE_INFORMATION info;
  ReadStatus status = ReadStatus::Ok;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    status = ReadStatus::NotAFile;
  } else if (!GetFileInformationByHandle(h, &info)) {
    status = ReadStatus::Failed;
  } else if (((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow) > maxBytes) {
    status = ReadStatus::TooBig;
  }
  if (status == ReadStatus::Ok) {
    char buf[65536];
    DWORD n = 0;
    while (status == ReadStatus::Ok) {
      if (!ReadFile(h, buf, sizeof buf, &n, nullptr)) status = ReadStatus::Failed;
      if (status != ReadStatus::Ok || n == 0) break;
      out.append(buf, n);
      if (out.size() > maxBytes) status = ReadStatus::TooBig;
    }
    if (status != ReadStatus::Ok) out.clear();
  }
  if (status == ReadStatus::Ok && stamp) {
    BY_HANDLE_FILE_INFORMATION after;
    *stamp = StampFrom(GetFileInformationByHandle(h, &after) ? after : info);
    if (!stamp->SameVersion(StampFrom(info))) stamp->settled = false;
  }
  CloseHandle(h);
  return status;
}

bool StampOf(const std::string& path, FileStamp& stamp) {
  HANDLE h = OpenShared(path, 0);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  if (ok) stamp = StampFrom(info);
  return ok;
}

// A named mutex, one name per settings file (its full path without regard to
// case): no lock file is left next to it.
WriteLock::WriteLock(const std::string& path) {
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
  HANDLE h = CreateMutexA(nullptr, FALSE, name);
  m_handle = h ? reinterpret_cast<std::intptr_t>(h) : -1;
  if (h) {
    const DWORD r = WaitForSingleObject(h, INFINITE);
    m_locked = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
  }
}

WriteLock::~WriteLock() {
  if (m_handle == -1) return;
  if (m_locked) ReleaseMutex(AsHandle(m_handle));
  CloseHandle(AsHandle(m_handle));
}

// MoveFileEx's write-through already made the replacement durable.
void WriteLock::SyncFolder() {}

bool ReplaceWith(const std::string& path, const std::string& bytes) {
  const DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
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

long long FileLength(std::FILE* f) {
  if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
  const long long len = _ftelli64(f);
  if (_fseeki64(f, 0, SEEK_SET) != 0) return -1;
  return len;
}

}  // namespace files
