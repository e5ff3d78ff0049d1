// What the settings store and the tools' output files need of the file
// system: replacing a file whole, a write lock between two bars sharing one
// settings file, and the length of an open file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace files {

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
// step; false (and `path` untouched) on any failure.
bool ReplaceWith(const std::string& path, const std::string& bytes);

// The file a write to `path` must replace (a symbolic link's target).
std::string WriteTarget(const std::string& path);

// The length in bytes, or -1 when it cannot be had (a folder, a failed
// seek). 64-bit on both systems, for logs past 2 GB.
long long FileLength(std::FILE* f);

}  // namespace files
