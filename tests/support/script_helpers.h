// Small real programs for the process tests: shell scripts written into a
// temporary folder, and a guard that restores an environment variable.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

// Writes `body` after a /bin/sh line and makes it executable; its full path.
inline std::string WriteScript(const TempDir& dir, const std::string& name, const std::string& body) {
  dir.Write(name, "#!/bin/sh\n" + body);
  ::chmod(dir.File(name).c_str(), 0755);
  return dir.File(name);
}

// A script that records its working directory and then each argument as one
// line into `record`, renaming at the end so a reader never sees half of it.
inline std::string WriteRecorder(const TempDir& dir, const std::string& name, const std::string& record) {
  return WriteScript(dir, name,
                     "out='" + record + "'\n"
                     "pwd > \"$out.part\"\n"
                     "for a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$out.part\"\n"
                     "mv \"$out.part\" \"$out\"\n");
}

// Lines of a file that a detached program writes some time later; empty
// when it did not appear within `seconds`.
inline std::vector<std::string> WaitForLines(const TempDir& dir, const std::string& name, int seconds = 10) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (::access(dir.File(name).c_str(), F_OK) != 0) {
    if (std::chrono::steady_clock::now() > until) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::vector<std::string> lines;
  std::string text = dir.Read(name), line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  return lines;
}

class EnvGuard {
 public:
  EnvGuard(const char* name, const std::optional<std::string>& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~EnvGuard() {
    if (m_old)
      ::setenv(m_name, m_old->c_str(), 1);
    else
      ::unsetenv(m_name);
  }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

class CwdGuard {
 public:
  explicit CwdGuard(const std::string& dir) {
    char buf[4096];
    if (::getcwd(buf, sizeof buf)) m_old = buf;
    if (::chdir(dir.c_str()) != 0) m_old.clear();
  }
  ~CwdGuard() {
    if (!m_old.empty() && ::chdir(m_old.c_str()) != 0) {
    }
  }
  CwdGuard(const CwdGuard&) = delete;
  CwdGuard& operator=(const CwdGuard&) = delete;

 private:
  std::string m_old;
};

// The folder as the system spells it (TempDir's may pass through a symlink).
inline std::string RealDir(const std::string& dir) {
  char* real = ::realpath(dir.c_str(), nullptr);
  std::string out = real ? real : dir;
  std::free(real);
  return out;
}

// A private freedesktop setup in `xdg`: the system's MIME database and
// nothing else of the system's, so that no installed application answers
// for a type; applications go to data/applications, defaults to
// config/mimeapps.list.
inline void MakePrivateXdg(const TempDir& xdg) {
  ::mkdir(xdg.File("system").c_str(), 0755);
  if (::symlink("/usr/share/mime", xdg.File("system/mime").c_str()) != 0) return;
  ::mkdir(xdg.File("config").c_str(), 0755);
  ::mkdir(xdg.File("data").c_str(), 0755);
  ::mkdir(xdg.File("data/applications").c_str(), 0755);
}
// Points GIO at it; in a child process before its first GIO call, since
// GIO keeps what it read once.
inline void UsePrivateXdg(const TempDir& xdg) {
  ::setenv("XDG_DATA_HOME", xdg.File("data").c_str(), 1);
  ::setenv("XDG_DATA_DIRS", xdg.File("system").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", xdg.File("config").c_str(), 1);
  ::setenv("XDG_CONFIG_DIRS", xdg.File("config").c_str(), 1);
  ::setenv("XDG_CURRENT_DESKTOP", "", 1);
  ::setenv("GIO_USE_VFS", "local", 1);
}
