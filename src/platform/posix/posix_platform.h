// The platform on Linux and other POSIX systems.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

// How a running tool meets the user: the Qt console window in the bar, or a
// headless attendant (tests, no display). Implementations own the wait.
class IToolConsole {
 public:
  virtual ~IToolConsole() = default;
  // Runs argv[0] (already resolved to a path) with argv in the current
  // working directory, shows its output, forwards typed lines to its stdin,
  // and returns its status. -1 only when it could not be started.
  virtual int Run(const std::vector<std::string>& argv, const std::string& title) = 0;
};

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

 private:
  PlatformValues m_values;
  std::shared_ptr<IToolConsole> m_console;
};
