// The console of a running tool: its output live, a line to answer its
// prompts (TeX's "?"), and closing it ends the tool. A program started from
// the desktop has no terminal, so the bar provides this window itself.
#pragma once

#include <QDialog>
#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_platform.h"

class QCloseEvent;
class QEventLoop;
class QLineEdit;
class QPlainTextEdit;
class QSocketNotifier;
class QTimer;

namespace posix {
class ChildProcess;
}

class ConsoleWindow : public QDialog {
  Q_OBJECT

 public:
  // Scrollback and line length are bounded, so a tool that prints without
  // end costs a fixed amount of memory.
  static constexpr int kMaxLines = 20000;
  static constexpr int kMaxLineLength = 1024;
  // How long a tool may take to go after TERM before it is killed.
  static constexpr int kKillGraceMs = 1000;

  explicit ConsoleWindow(QWidget* owner = nullptr);
  ~ConsoleWindow() override;

  // Starts argv[0] with argv in the current working directory, shows the
  // window while it runs and returns when the tool has ended, with its
  // status; -1 only when it could not be started (no window then). `title`
  // is in the system code page. Other windows take no input meanwhile but
  // keep repainting.
  int Run(const std::vector<std::string>& argv, const std::string& title);

  QString OutputText() const;

 public slots:
  void reject() override;  // Esc: as closing the window

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool Drain(int maxReads);
  void ReadOutput();
  void FlushInput();
  void SendLine();
  void CheckExit();
  void RequestEnd();
  void Append(const QString& text);
  void Finish();

  QPlainTextEdit* m_output;
  QLineEdit* m_input;
  QSocketNotifier* m_outNotifier = nullptr;
  QSocketNotifier* m_exitNotifier = nullptr;
  QSocketNotifier* m_inNotifier = nullptr;
  QTimer* m_exitPoll;
  QTimer* m_killTimer;
  QEventLoop* m_loop = nullptr;
  posix::ChildProcess* m_child = nullptr;
  QStringDecoder m_decoder;
  QStringEncoder m_encoder;
  int m_lineLength = 0;
  bool m_ending = false;
  bool m_finished = false;
};

// The console for PosixPlatform::SetToolConsole: one window per tool run,
// owned by `owner` (the bar), reopening where the user last left it.
std::shared_ptr<IToolConsole> MakeConsoleWindowFactory(QWidget* owner);
