// The console of one button action: every tool run of the action in order,
// each under a line naming program, arguments and folder and over a line
// telling how it ended; a line to answer the tools' prompts (TeX's "?"), and
// a Stop button. A program started from the desktop has no terminal, so the
// bar provides this window itself.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QStringDecoder>
#include <QStringEncoder>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/tool_console.h"

class IChildProcess;
class QCloseEvent;
class QEventLoop;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSocketNotifier;
class QTimer;

class ConsoleWindow : public QDialog {
  Q_OBJECT

 public:
  // Scrollback and line length are bounded, so a tool that prints without
  // end costs a fixed amount of memory.
  static constexpr int kMaxLines = 20000;
  static constexpr int kMaxLineLength = 1024;
  // How long a tool may take to go after TERM before its group is killed.
  static constexpr int kKillGraceMs = 500;

  explicit ConsoleWindow(QWidget* owner = nullptr);
  ~ConsoleWindow() override;

  // Starts argv[0] with argv in the current working directory (`dir` is
  // only shown), shows the window while it runs and returns when the tool
  // has ended, with its status; -1 only when it could not be started. The
  // window stays when the tool has ended. `title` is in the system code page.
  int Run(const std::vector<std::string>& argv, const std::string& title, const std::string& dir = std::string());
  // The same for a tool already started from argv.
  int Run(std::unique_ptr<IChildProcess> started, const std::vector<std::string>& argv, const std::string& title,
          const std::string& dir);

  // A line of the program's own (UTF-8), after what is shown so far.
  void AppendLine(const std::string& text);
  void Clear();
  // The transcript as the scrollback holds it once what still waits to be
  // shown is in.
  QString OutputText() const;
  // How the last tool ended, as the transcript says it.
  const std::string& EndLine() const { return m_endLine; }
  // Whether the user stopped a tool since the last Clear.
  bool Stopped() const { return m_stopped; }
  // Shows the window beside its owner on the owner's screen, not over it.
  void ShowBesideOwner();
  // Brings the view up to date with the output read so far.
  void ShowPending();

  // The list beside the transcript: what the action's tools reported, one
  // line each, errors first; hidden while empty. `focus`: the list takes
  // the keyboard focus with its first entry selected. Enter or a double
  // click on an entry calls `open` with its index.
  struct ListLine {
    QString text;
    bool error = false;
  };
  void ShowList(const QVector<ListLine>& lines, bool focus);
  void SetOpenEntry(std::function<void(int)> open) { m_openEntry = std::move(open); }
  QListWidget* List() const { return m_list; }
  // The running tool waits for an answer: its output ends in TeX's prompt.
  bool AwaitsAnswer() const;

 public slots:
  void reject() override;  // Esc: as closing the window
  void Stop();             // the Stop button and Ctrl+C

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Drain(int maxReads);
  void ReadOutput();
  void FlushInput();
  void SendLine();
  void CheckExit();
  void Append(const QString& text);
  void Finish();

  QPlainTextEdit* m_output;
  QListWidget* m_list;
  QLineEdit* m_input;
  std::function<void(int)> m_openEntry;
  // The last characters the tool printed, to tell its prompt.
  QString m_tail;
  QPushButton* m_stop;
  QSocketNotifier* m_outNotifier = nullptr;
  QSocketNotifier* m_exitNotifier = nullptr;
  QSocketNotifier* m_inNotifier = nullptr;
  QTimer* m_exitPoll;
  QTimer* m_killTimer;
  QTimer* m_showTimer;
  QEventLoop* m_loop = nullptr;
  IChildProcess* m_child = nullptr;
  std::string m_program;
  std::string m_endLine;
  QStringDecoder m_decoder;
  QStringEncoder m_encoder;
  // Output not yet in the view: the view is updated in batches, at a rate
  // that leaves most of the time to reading. Only what the scrollback can
  // show is kept: lines are cut to kMaxLineLength, and the waiting text to
  // the scrollback's worth of lines, so its memory is bounded by the two.
  QString m_pending;
  int m_pendingLines = 0;
  QElapsedTimer m_sinceShown;
  int m_showInterval = 40;
  int m_lineLength = 0;
  bool m_ending = false;
  bool m_finished = false;
  bool m_stopped = false;
  bool m_placed = false;
};

// The console for PosixPlatform::SetToolConsole: one window per button
// action, opened by the action's first tool run. Each run ends with a line
// giving its status; the action ends with its verdict. After a success the
// window closes by itself; after a failure or a stop it stays with the whole
// transcript. The last transcript can be shown again.
class ActionConsole : public IToolConsole {
 public:
  explicit ActionConsole(QWidget* owner) : m_owner(owner) {}
  ~ActionConsole() override;

  int Run(const std::vector<std::string>& argv, const std::string& title, const std::string& dir) override;
  void BeginAction() override;
  void Missing(const std::string& program) override;
  bool Stopped() const override;
  void EndAction(const ActionVerdict& verdict) override;
  bool ShowsVerdicts() const override { return true; }

  bool AwaitsAnswer() const override { return m_window && m_window->AwaitsAnswer(); }
  void StopTool() override {
    if (m_window) m_window->Stop();
  }

  bool HasTranscript() const { return m_window != nullptr; }
  void ShowTranscript();
  // The list of the last action's problems, in the transcript's window.
  void ShowList(const QVector<ConsoleWindow::ListLine>& lines, bool focus);
  void SetOpenEntry(std::function<void(int)> open);
  ConsoleWindow* Window() const { return m_window.data(); }

 private:
  ConsoleWindow& Transcript();

  QPointer<QWidget> m_owner;
  QPointer<ConsoleWindow> m_window;
  std::function<void(int)> m_openEntry;
  bool m_inAction = false;
  bool m_fresh = true;  // nothing of this action shown yet: the last transcript stays
};

// The verdict's line as the transcript ends with it.
std::string VerdictLine(const ActionVerdict& verdict);

std::shared_ptr<ActionConsole> MakeConsoleWindowFactory(QWidget* owner);
