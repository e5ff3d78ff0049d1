// The two errors that end a whole button action: a file that must be read
// and cannot be opened, and exhausted memory. Raised by ReadWholeFile, caught
// once where button actions are dispatched (CMirvanDlg::RunAction).
#pragma once

#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
 public:
  explicit FileError(std::string path)
      : std::runtime_error("file not found: " + path), m_path(std::move(path)) {}
  // The path exactly as it was passed to ReadWholeFile.
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

class MemoryError : public std::runtime_error {
 public:
  MemoryError() : std::runtime_error("out of memory") {}
};
