// A scripted platform whose document files are real files in a temporary
// folder, so that what Stat reports and what ReadWholeFile reads agree.
// ChangeDir moves the process too: the compile driver reads the log by its
// bare name.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "support/fakes.h"
#include "support/temp_dir.h"

class DocPlatform : public ScriptedPlatform {
 public:
  DocPlatform() : ScriptedPlatform(PosixPlatformValues()), m_startDir(std::filesystem::current_path()) {}
  ~DocPlatform() override {
    std::error_code ec;
    std::filesystem::current_path(m_startDir, ec);
  }

  bool ChangeDir(const std::string& dir) override {
    if (!ScriptedPlatform::ChangeDir(dir)) return false;
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::u8path(dir), ec);
    return !ec;
  }

  // The document folder, ending in '/'.
  const std::string& Dir() const { return m_dir.Path(); }

  // Writes the file with a last-write time newer than any before. The clock
  // moves in nanoseconds, so every file of a test lies within one second.
  void Put(const std::string& name, const std::string& text) {
    m_dir.Write(name, text);
    files[Dir() + name] = ++m_clock;
  }
  // Rewrites the file and keeps its last-write time.
  void Rewrite(const std::string& name, const std::string& text) {
    const long long t = files.count(Dir() + name) ? files[Dir() + name] : ++m_clock;
    m_dir.Write(name, text);
    files[Dir() + name] = t;
  }
  void Remove(const std::string& name) {
    std::remove(m_dir.File(name).c_str());
    files.erase(Dir() + name);
  }
  bool Has(const std::string& name) const { return files.count(Dir() + name) != 0; }

 private:
  TempDir m_dir;
  std::filesystem::path m_startDir;
  long long m_clock = 1700000000LL * 1000000000LL;
};
