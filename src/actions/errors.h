// What ends a whole button action where it stands: a file that must be read
// and cannot be opened, exhausted memory (both raised by ReadWholeFile), and
// the user stopping one of its tools. Caught once where button actions run
// (CMirvanDlg::RunAction).
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

// The user stopped a tool run: no later tool of the action starts, and no
// box or question about runs that did not happen appears.
class ActionStopped : public std::runtime_error {
 public:
  ActionStopped() : std::runtime_error("stopped by the user") {}
};
