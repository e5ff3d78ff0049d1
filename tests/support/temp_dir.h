// A temporary folder that removes itself, for tests on real files.
#pragma once

#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Ends in '/'.
  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;

 private:
  std::string m_path;
};
