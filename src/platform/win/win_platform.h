// The platform on Windows: the C runtime's process, directory and status
// calls, and the shell's "open".
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

class WinPlatform : public IPlatform {
 public:
  WinPlatform();

  const PlatformValues& Values() const override { return m_values; }
  int RunTool(const std::string& program, const std::vector<std::string>& args) override;
  bool ChangeDir(const std::string& dir) override;
  bool GetCwd(std::string& out) override;
  FileStatus Stat(const std::string& path) override;
  bool OpenDocument(const std::string& file, const std::string& dir) override;
  bool OpenEditor(const std::string& editor, const std::string& documentPath,
                  const std::string& dir) override;
  void StartCommandPrompt() override;
  bool StartDetached(const std::vector<std::string>& argv, const std::string& dir) override;

  // One argument word as the C runtime's command-line parser reads it back:
  // quoted when it holds a blank, tab or quote, with backslashes before a
  // quote doubled. _spawnlp joins its arguments with blanks and quotes none.
  static std::string QuoteArg(const std::string& word);

 private:
  PlatformValues m_values;
};
