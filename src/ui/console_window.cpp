#include "ui/console_window.h"

#include <signal.h>

#include <QCloseEvent>
#include <QEventLoop>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/posix/child_process.h"
#include "text/mbcs.h"

namespace {

// The tools speak the system code page, as every string of the program does.
const char* CodePageName() {
  return mbcs::SystemCodePage() == mbcs::CodePage::Cp932 ? "Shift_JIS" : "UTF-8";
}

QStringDecoder MakeDecoder() {
  QStringDecoder decoder(CodePageName());
  return decoder.isValid() ? std::move(decoder) : QStringDecoder(QStringConverter::Utf8);
}

QStringEncoder MakeEncoder() {
  QStringEncoder encoder(CodePageName());
  return encoder.isValid() ? std::move(encoder) : QStringEncoder(QStringConverter::Utf8);
}

// Output read per wake-up: enough to keep up with a fast tool, little
// enough that the window stays responsive meanwhile.
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr int kReadsPerWake = 16;
constexpr int kReadsAtEnd = 1024;

}  // namespace

ConsoleWindow::ConsoleWindow(QWidget* owner)
    : QDialog(owner),
      m_output(new QPlainTextEdit(this)),
      m_input(new QLineEdit(this)),
      m_exitPoll(new QTimer(this)),
      m_killTimer(new QTimer(this)),
      m_decoder(MakeDecoder()),
      m_encoder(MakeEncoder()) {
  setObjectName("ConsoleWindow");
  setSizeGripEnabled(true);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  m_output->setObjectName("output");
  m_output->setReadOnly(true);
  m_output->setFont(mono);
  m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_output->setMaximumBlockCount(kMaxLines);
  // The undo history would keep every byte the tool ever printed.
  m_output->document()->setUndoRedoEnabled(false);
  m_output->setFocusPolicy(Qt::ClickFocus);
  m_input->setObjectName("input");
  m_input->setFont(mono);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_output, 1);
  layout->addWidget(m_input);
  resize(640, 400);

  connect(m_input, &QLineEdit::returnPressed, this, &ConsoleWindow::SendLine);
  m_exitPoll->setInterval(50);
  connect(m_exitPoll, &QTimer::timeout, this, &ConsoleWindow::CheckExit);
  m_killTimer->setSingleShot(true);
  m_killTimer->setInterval(kKillGraceMs);
  connect(m_killTimer, &QTimer::timeout, this, [this] {
    if (m_child) m_child->SignalGroup(SIGKILL);
  });
}

ConsoleWindow::~ConsoleWindow() = default;

int ConsoleWindow::Run(const std::vector<std::string>& argv, const std::string& title) {
  posix::ChildProcess child;
  if (!child.Start(argv)) return -1;
  m_child = &child;
  m_ending = false;
  m_finished = false;
  m_lineLength = 0;
  m_output->clear();
  m_input->clear();
  m_input->setEnabled(true);
  m_decoder = MakeDecoder();
  QStringDecoder titleDecoder = MakeDecoder();
  setWindowTitle(titleDecoder(QByteArray::fromStdString(title)));

  m_outNotifier = new QSocketNotifier(child.OutputFd(), QSocketNotifier::Read, this);
  connect(m_outNotifier, &QSocketNotifier::activated, this, &ConsoleWindow::ReadOutput);
  m_inNotifier = new QSocketNotifier(child.InputFd(), QSocketNotifier::Write, this);
  m_inNotifier->setEnabled(false);
  connect(m_inNotifier, &QSocketNotifier::activated, this, &ConsoleWindow::FlushInput);
  if (child.ExitFd() >= 0) {
    m_exitNotifier = new QSocketNotifier(child.ExitFd(), QSocketNotifier::Read, this);
    connect(m_exitNotifier, &QSocketNotifier::activated, this, &ConsoleWindow::CheckExit);
  } else {
    m_exitPoll->start();
  }

  // Nothing else of the application takes input while the tool runs; it
  // all keeps painting, since this loop serves every window.
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  m_input->setFocus();

  QEventLoop loop;
  m_loop = &loop;
  if (!m_finished) loop.exec(QEventLoop::DialogExec);
  m_loop = nullptr;

  int status = child.Wait();
  m_child = nullptr;
  hide();
  return status;
}

QString ConsoleWindow::OutputText() const { return m_output->toPlainText(); }

bool ConsoleWindow::Drain(int maxReads) {
  QByteArray bytes;
  char buf[kReadChunk];
  bool atEnd = false;
  for (int i = 0; i < maxReads; ++i) {
    long n = m_child->ReadOutput(buf, sizeof buf);
    if (n == 0) atEnd = true;
    if (n <= 0) break;
    bytes.append(buf, static_cast<qsizetype>(n));
  }
  // The decoder keeps an incomplete multibyte character for the next read.
  if (!bytes.isEmpty()) Append(m_decoder(bytes));
  return atEnd;
}

void ConsoleWindow::ReadOutput() {
  if (!m_child || !m_outNotifier) return;
  // Off while reading: at the end of output the descriptor is closed here.
  m_outNotifier->setEnabled(false);
  if (Drain(kReadsPerWake)) {
    m_outNotifier->deleteLater();
    m_outNotifier = nullptr;
  } else {
    m_outNotifier->setEnabled(true);
  }
}

void ConsoleWindow::FlushInput() {
  if (!m_child) return;
  bool done = m_child->FlushInput();
  if (m_inNotifier) m_inNotifier->setEnabled(!done && m_child->InputFd() >= 0);
}

void ConsoleWindow::SendLine() {
  if (!m_child || !m_child->Running()) return;
  QString line = m_input->text();
  m_input->clear();
  // No terminal echoes the answer, so show it where the prompt stands.
  Append(line + QLatin1Char('\n'));
  QByteArray bytes = m_encoder(line);
  bytes.append('\n');
  m_child->WriteInput(bytes.toStdString());
  FlushInput();
}

void ConsoleWindow::CheckExit() {
  if (!m_child) return;
  if (!m_child->HasEnded()) return;
  // Seen without reaping: the group id is still ours, so whatever of the
  // group the user asked to end is killed before the leader is reaped.
  if (m_ending) m_child->SignalGroup(SIGKILL);
  if (m_exitNotifier) {
    // Its descriptor closes with the reaping; and it may be our sender.
    m_exitNotifier->setEnabled(false);
    m_exitNotifier->deleteLater();
    m_exitNotifier = nullptr;
  }
  m_child->TryWait(nullptr);
  Finish();
}

void ConsoleWindow::Finish() {
  delete m_exitNotifier;
  m_exitNotifier = nullptr;
  m_exitPoll->stop();
  m_killTimer->stop();
  if (m_outNotifier) {
    // What the tool wrote just before it ended; a background child that
    // still holds the pipe is not waited for.
    m_outNotifier->setEnabled(false);
    Drain(kReadsAtEnd);
    delete m_outNotifier;
    m_outNotifier = nullptr;
  }
  delete m_inNotifier;
  m_inNotifier = nullptr;
  m_input->setEnabled(false);
  m_finished = true;
  if (m_loop) m_loop->quit();
}

void ConsoleWindow::RequestEnd() {
  if (!m_child || !m_child->Running() || m_ending) return;
  m_ending = true;
  m_input->setEnabled(false);
  m_child->SignalGroup(SIGTERM);
  m_killTimer->start();
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
  if (m_child && m_child->Running()) {
    // The window goes when the tool has gone.
    event->ignore();
    RequestEnd();
    return;
  }
  QDialog::closeEvent(event);
}

void ConsoleWindow::reject() {
  if (m_child && m_child->Running()) {
    RequestEnd();
    return;
  }
  QDialog::reject();
}

void ConsoleWindow::Append(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (QChar c : text) {
    if (c == QLatin1Char('\r')) continue;
    if (c == QLatin1Char('\n')) {
      m_lineLength = 0;
    } else if (++m_lineLength > kMaxLineLength) {
      shown += QLatin1Char('\n');
      m_lineLength = 1;
    }
    shown += c;
  }
  if (shown.isEmpty()) return;
  QScrollBar* bar = m_output->verticalScrollBar();
  bool atBottom = bar->value() >= bar->maximum() - 2;
  QTextCursor cursor(m_output->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(shown);
  if (atBottom) bar->setValue(bar->maximum());
}

namespace {

class ConsoleWindowTool : public IToolConsole {
 public:
  explicit ConsoleWindowTool(QWidget* owner) : m_owner(owner) {}

  int Run(const std::vector<std::string>& argv, const std::string& title) override {
    ConsoleWindow window(m_owner.data());
    if (!m_geometry.isEmpty()) window.restoreGeometry(m_geometry);
    int status = window.Run(argv, title);
    if (status != -1) m_geometry = window.saveGeometry();
    return status;
  }

 private:
  QPointer<QWidget> m_owner;
  QByteArray m_geometry;
};

}  // namespace

std::shared_ptr<IToolConsole> MakeConsoleWindowFactory(QWidget* owner) {
  return std::make_shared<ConsoleWindowTool>(owner);
}
