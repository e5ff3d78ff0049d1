// The platform on Windows: the C runtime's process, directory and status
// calls, and the shell's "open". The tools run in a job that ends them when
// the bar ends.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win/win_api.h"

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
  std::unique_ptr<IFileWatch> MakeFileWatch() override;
  void BeginAction() override { m_stopped = false; }
  bool ActionStopped() const override { return m_stopped; }

  // How Windows ends a console program whose console got Ctrl+C or was
  // closed (STATUS_CONTROL_C_EXIT).
  static constexpr DWORD kStoppedByUser = 0xC000013AUL;

  // One argument word as the C runtime's command-line parser reads it back:
  // quoted when it holds a blank, tab or quote (or `always`), with
  // backslashes before a quote doubled. _spawnlp joins its arguments with
  // blanks and quotes none.
  static std::string QuoteArg(const std::string& word, bool always = false);

  // The words after cmd.exe that run the batch file `script` with `args`
  // and nothing else: every word quoted, so that & | < > ^ ( ) and blanks
  // are text; no AutoRun commands, no delayed expansion (which would read
  // "!"). Throws ToolRefused for a word that quoting cannot protect.
  static std::string BatchArguments(const std::string& script, const std::vector<std::string>& args);

  // The file RunTool starts for `program`, found as _spawnlp finds it in the
  // working folder and PATH; empty when there is none.
  static std::string FindProgram(const std::string& program);

 private:
  PlatformValues m_values;
  bool m_stopped = false;
};
