// The platform on Linux and other POSIX systems.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/tool_console.h"

class PosixPlatform : public IPlatform {
 public:
  PosixPlatform();
  ~PosixPlatform() override;

  // The console used by RunTool; the default is headless.
  void SetToolConsole(std::shared_ptr<IToolConsole> console);

  const PlatformValues& Values() const override { return m_values; }
  int RunTool(const std::string& program, const std::vector<std::string>& args) override;
  bool ChangeDir(const std::string& dir) override;
  bool GetCwd(std::string& out) override;
  FileStatus Stat(const std::string& path) override;
  bool OpenDocument(const std::string& file, const std::string& dir) override;
  bool OpenEditor(const std::string& editor, const std::string& documentPath,
                  const std::string& dir) override;
  void StartCommandPrompt() override;
  std::string OpenTrouble() const override;
  bool StartDetached(const std::vector<std::string>& argv, const std::string& dir) override;
  std::vector<std::string> DesktopEditor() override;
  void BeginAction() override { m_console->BeginAction(); }
  bool ActionStopped() const override { return m_console->Stopped(); }
  void EndAction(const ActionVerdict& verdict) override { m_console->EndAction(verdict); }
  bool ShowsVerdicts() const override { return m_console->ShowsVerdicts(); }
  std::unique_ptr<IFileWatch> MakeFileWatch() override;
  bool ToolAwaitsAnswer() const override { return m_console->AwaitsAnswer(); }
  void StopTool() override { m_console->StopTool(); }

 private:
  PlatformValues m_values;
  std::shared_ptr<IToolConsole> m_console;
  std::string m_openTrouble;  // of the last open
};
