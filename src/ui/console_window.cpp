#include "ui/console_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/child_process.h"
#include "platform/texts.h"
#include "text/mbcs.h"
#include "ui/beside_bar.h"
#include "ui/texts.h"

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

// Output read per wake-up: large reads keep the tool writing at full speed,
// and a bounded number of them keeps the window responsive meanwhile.
constexpr std::size_t kReadChunk = 256 * 1024;
constexpr int kReadsPerWake = 8;
constexpr int kReadsAtEnd = 256;
// Output waiting for the view is cut to the scrollback's worth of lines
// once half as many again wait: a cut moves the lines kept, so it is made
// once for many lines.
constexpr int kMaxPendingLines = ConsoleWindow::kMaxLines + ConsoleWindow::kMaxLines / 2;
// The view is brought up to date at most this often, and never takes more
// than about a fifth of the time. Ten times a second reads as live output;
// more often, the drawing competes with the tools for the processor, and a
// tool that ends during a redraw waits for it before the next one starts.
constexpr int kMinShowIntervalMs = 100;
constexpr int kMaxShowIntervalMs = 500;

// Ctrl+C, the terminal's way to stop a program.
bool IsInterrupt(QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  return key->key() == Qt::Key_C && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

}  // namespace

ConsoleWindow::ConsoleWindow(QWidget* owner)
    : QDialog(owner),
      m_output(new QPlainTextEdit(this)),
      m_list(new QListWidget(this)),
      m_input(new QLineEdit(this)),
      m_stop(new QPushButton(QString::fromUtf8(ui_text::kConsoleStop), this)),
      m_exitPoll(new QTimer(this)),
      m_killTimer(new QTimer(this)),
      m_showTimer(new QTimer(this)),
      m_decoder(MakeDecoder()),
      m_encoder(MakeEncoder()) {
  setObjectName("ConsoleWindow");
  // Each run names its tool; before the first one the window says what it is.
  setWindowTitle(QGuiApplication::applicationDisplayName() + QString::fromUtf8(ui_text::kConsoleTitleSuffix));
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
  m_input->setEnabled(false);
  m_stop->setObjectName("stop");
  m_stop->setAutoDefault(false);
  m_stop->setEnabled(false);
  m_output->installEventFilter(this);
  m_input->installEventFilter(this);
  m_list->installEventFilter(this);
  m_list->setObjectName("problems");
  m_list->hide();
  // Beside the transcript: the list stays in view while the output scrolls.
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(m_output);
  split->addWidget(m_list);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  split->setChildrenCollapsible(false);
  connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (m_openEntry && item) m_openEntry(m_list->row(item));
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split, 1);
  auto* row = new QHBoxLayout;
  row->addWidget(m_input, 1);
  row->addWidget(m_stop);
  layout->addLayout(row);
  resize(640, 400);

  connect(m_input, &QLineEdit::returnPressed, this, &ConsoleWindow::SendLine);
  connect(m_stop, &QPushButton::clicked, this, &ConsoleWindow::Stop);
  m_exitPoll->setInterval(50);
  connect(m_exitPoll, &QTimer::timeout, this, &ConsoleWindow::CheckExit);
  m_killTimer->setSingleShot(true);
  m_killTimer->setInterval(kKillGraceMs);
  connect(m_killTimer, &QTimer::timeout, this, [this] {
    if (m_child) m_child->Kill();
  });
  m_showTimer->setSingleShot(true);
  connect(m_showTimer, &QTimer::timeout, this, &ConsoleWindow::ShowPending);
}

ConsoleWindow::~ConsoleWindow() = default;

int ConsoleWindow::Run(const std::vector<std::string>& argv, const std::string& title, const std::string& dir) {
  std::unique_ptr<IChildProcess> child = MakeChildProcess();
  if (argv.empty() || !child->Start(argv)) return -1;
  return Run(std::move(child), argv, title, dir);
}

int ConsoleWindow::Run(std::unique_ptr<IChildProcess> started, const std::vector<std::string>& argv,
                       const std::string& title, const std::string& dir) {
  const std::unique_ptr<IChildProcess> child = std::move(started);
  m_child = child.get();
  m_program = argv[0];
  m_ending = false;
  m_finished = false;
  m_lineLength = 0;
  m_input->clear();
  m_input->setEnabled(true);
  m_stop->setEnabled(true);
  m_decoder = MakeDecoder();
  QStringDecoder titleDecoder = MakeDecoder();
  setWindowTitle(titleDecoder(QByteArray::fromStdString(title)));
  AppendLine(tool_text::Header(argv, dir));

  m_outNotifier = new QSocketNotifier(m_child->OutputFd(), QSocketNotifier::Read, this);
  connect(m_outNotifier, &QSocketNotifier::activated, this, &ConsoleWindow::ReadOutput);
  m_inNotifier = new QSocketNotifier(m_child->InputFd(), QSocketNotifier::Write, this);
  m_inNotifier->setEnabled(false);
  connect(m_inNotifier, &QSocketNotifier::activated, this, &ConsoleWindow::FlushInput);
  if (m_child->ExitFd() >= 0) {
    m_exitNotifier = new QSocketNotifier(m_child->ExitFd(), QSocketNotifier::Read, this);
    connect(m_exitNotifier, &QSocketNotifier::activated, this, &ConsoleWindow::CheckExit);
  } else {
    m_exitPoll->start();
  }

  // Not modal: the bar keeps its controls off while its action runs, and a
  // box the action shows must stay usable beside the transcript.
  if (!isVisible()) ShowBesideOwner();
  m_input->setFocus();

  QEventLoop loop;
  m_loop = &loop;
  if (!m_finished) loop.exec(QEventLoop::DialogExec);
  m_loop = nullptr;

  int status = m_child->Wait();
  const int sig = m_child->EndSignal();
  m_endLine = sig ? tool_text::EndedBySignal(m_program, sig) : tool_text::Exited(m_program, status);
  // Shown with the next batch: the next tool of the action starts first.
  AppendLine(m_endLine);
  m_child = nullptr;
  return status;
}

void ConsoleWindow::ShowBesideOwner() {
  QWidget* owner = parentWidget();
  QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (!m_placed && screen) {
    m_placed = true;
    const auto rect = [](const QRect& r) { return beside_bar::Rect{r.left(), r.top(), r.width(), r.height()}; };
    const QRect area = screen->availableGeometry();
    const QRect bar = owner ? owner->frameGeometry() : QRect(area.topLeft(), QSize(0, 0));
    const int gap = 8;
    // The frame is not made yet: about this much title bar comes on top.
    const int frame = 30;
    const int room = beside_bar::Room(rect(bar), rect(area), gap);
    QSize size(qMin(640, area.width()), qMin(400, qMax(room - frame - 10, 120)));
    resize(size);
    const beside_bar::Point at = beside_bar::Place(rect(bar), size.width(), size.height() + frame, rect(area), gap);
    move(at.x, at.y);
  }
  show();
  raise();
  activateWindow();
}

void ConsoleWindow::Clear() {
  m_showTimer->stop();
  m_pending.clear();
  m_pendingLines = 0;
  m_lineLength = 0;
  m_stopped = false;
  m_output->clear();
  m_list->clear();
  m_list->hide();
}

QString ConsoleWindow::OutputText() const {
  QString text = m_output->toPlainText() + m_pending;
  // What the scrollback keeps of it once the view is up to date.
  qsizetype from = text.size();
  for (int lines = 0; from > 0; --from) {
    if (text[from - 1] == QLatin1Char('\n') && ++lines == kMaxLines) break;
  }
  return text.mid(from);
}

bool ConsoleWindow::AwaitsAnswer() const {
  return m_child && m_child->Running() && !m_ending && EndsAtTeXPrompt(m_tail.toStdString());
}

void ConsoleWindow::ShowList(const QVector<ListLine>& lines, bool focus) {
  m_list->clear();
  for (const ListLine& l : lines) {
    auto* item = new QListWidgetItem(QString::fromUtf8(l.error ? ui_text::kListError : ui_text::kListWarning) + l.text, m_list);
    item->setToolTip(l.text);
  }
  const bool appears = !lines.isEmpty() && m_list->isHidden();
  m_list->setVisible(!lines.isEmpty());
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (appears && s) {
    // Room for the list beside the transcript, as far as the screen allows,
    // moving the window left where it would run off the screen.
    const QRect area = s->availableGeometry();
    const int frame = frameGeometry().width() - width();
    const int wanted = qMin(1000, area.width() - frame);
    if (wanted > width()) {
      const int left = qMax(area.left(), qMin(frameGeometry().left(), area.right() - wanted - frame));
      resize(wanted, height());
      move(left, pos().y());
    }
  }
  if (lines.isEmpty() || !focus) return;
  m_list->setCurrentRow(0);
  m_list->setFocus(Qt::OtherFocusReason);
}

void ConsoleWindow::AppendLine(const std::string& text) {
  if (m_lineLength != 0) Append(QStringLiteral("\n"));
  Append(QString::fromStdString(text) + QLatin1Char('\n'));
}

bool ConsoleWindow::Drain(int maxReads) {
  std::unique_ptr<char[]> buf(new char[kReadChunk]);
  bool atEnd = false;
  for (int i = 0; i < maxReads; ++i) {
    long n = m_child->ReadOutput(buf.get(), kReadChunk);
    if (n == 0) atEnd = true;
    if (n <= 0) break;
    // The decoder keeps an incomplete multibyte character for the next read.
    const QString text = m_decoder(QByteArrayView(buf.get(), static_cast<qsizetype>(n)));
    m_tail = (m_tail + text).right(8);
    Append(text);
  }
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
  m_tail.clear();
  QString line = m_input->text();
  m_input->clear();
  // No terminal echoes the answer, so show it where the prompt stands.
  Append(line + QLatin1Char('\n'));
  ShowPending();
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
  if (m_ending) m_child->Kill();
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
  m_stop->setEnabled(false);
  m_finished = true;
  if (m_loop) m_loop->quit();
}

void ConsoleWindow::Stop() {
  if (!m_child || !m_child->Running() || m_ending) return;
  m_ending = true;
  m_stopped = true;
  m_input->setEnabled(false);
  m_stop->setEnabled(false);
  AppendLine(tool_text::Stopped(m_program));
  ShowPending();
  m_child->Terminate();
  m_killTimer->start();
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
  if (m_child && m_child->Running()) {
    // The window goes when the tool has gone.
    event->ignore();
    Stop();
    return;
  }
  QDialog::closeEvent(event);
}

void ConsoleWindow::reject() {
  if (m_child && m_child->Running()) {
    Stop();
    return;
  }
  QDialog::reject();
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
  // Ctrl+C on the list copies the entry, to paste it into a search or a mail.
  if (watched == m_list && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    if (QListWidgetItem* item = m_list->currentItem()) QGuiApplication::clipboard()->setText(item->toolTip());
    return true;
  }
  // Ctrl+C copies a selection, and stops the tool when nothing is selected.
  if ((watched == m_input || watched == m_output) && IsInterrupt(event) && m_child && m_child->Running() &&
      !m_input->hasSelectedText() && !m_output->textCursor().hasSelection()) {
    event->accept();
    if (event->type() == QEvent::KeyPress) Stop();
    return event->type() == QEvent::KeyPress;
  }
  return QDialog::eventFilter(watched, event);
}

void ConsoleWindow::Append(const QString& text) {
  m_pending.reserve(m_pending.size() + text.size());
  for (QChar c : text) {
    if (c == QLatin1Char('\r')) continue;
    if (c == QLatin1Char('\n')) {
      m_lineLength = 0;
      ++m_pendingLines;
    } else if (++m_lineLength > kMaxLineLength) {
      m_pending += QLatin1Char('\n');
      ++m_pendingLines;
      m_lineLength = 1;
    }
    m_pending += c;
  }
  if (m_pendingLines > kMaxPendingLines) {
    // Lines beyond the scrollback's worth push everything shown so far out
    // of it, and the oldest of them too: only the end can ever be seen.
    qsizetype cut = 0;
    for (int drop = m_pendingLines - kMaxLines; drop > 0; --drop) cut = m_pending.indexOf(QLatin1Char('\n'), cut) + 1;
    m_pending.remove(0, cut);
    m_pendingLines = kMaxLines;
    m_output->clear();
  }
  if (!m_showTimer->isActive()) {
    const qint64 since = m_sinceShown.isValid() ? m_sinceShown.elapsed() : kMaxShowIntervalMs;
    const qint64 wait = qBound<qint64>(0, qint64(m_showInterval) - since, qint64(m_showInterval));
    m_showTimer->start(static_cast<int>(wait));
  }
}

void ConsoleWindow::ShowPending() {
  m_showTimer->stop();
  if (m_pending.isEmpty()) return;
  QElapsedTimer took;
  took.start();
  QScrollBar* bar = m_output->verticalScrollBar();
  const bool atBottom = bar->value() >= bar->maximum() - 2;
  QString text;
  text.swap(m_pending);
  m_pendingLines = 0;
  // Through the cursor: a line the tool has not ended yet goes on in the
  // same block with the next batch.
  QTextCursor cursor(m_output->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);
  if (atBottom) bar->setValue(bar->maximum());
  // A slow view waits longer before its next update, so reading keeps most
  // of the time.
  const qint64 cost = took.elapsed();
  m_sinceShown.start();
  m_showInterval = static_cast<int>(qBound<qint64>(qint64(kMinShowIntervalMs), cost * 4, qint64(kMaxShowIntervalMs)));
}

ActionConsole::~ActionConsole() { delete m_window.data(); }

ConsoleWindow& ActionConsole::Transcript() {
  if (!m_window) {
    m_window = new ConsoleWindow(m_owner.data());
    m_window->SetOpenEntry(m_openEntry);
  }
  if (m_fresh) {
    m_fresh = false;
    m_window->Clear();
  }
  return *m_window;
}

void ActionConsole::BeginAction() {
  m_inAction = true;
  m_fresh = true;
}

int ActionConsole::Run(const std::vector<std::string>& argv, const std::string& title, const std::string& dir) {
  // The tool starts before the window is made or shown, which it need not wait for.
  std::unique_ptr<IChildProcess> child = MakeChildProcess();
  if (argv.empty() || !child->Start(argv)) {
    Missing(argv.empty() ? std::string() : argv[0]);
    return -1;
  }
  return Transcript().Run(std::move(child), argv, title, dir);
}

void ActionConsole::Missing(const std::string& program) { Transcript().AppendLine(tool_text::Missing(program)); }

bool ActionConsole::Stopped() const { return m_inAction && !m_fresh && m_window && m_window->Stopped(); }

void ActionConsole::EndAction(const ActionVerdict& verdict) {
  const bool ran = m_inAction && !m_fresh;
  m_inAction = false;
  if (!ran || !m_window) return;
  const std::string line = VerdictLine(verdict);
  if (!line.empty()) m_window->AppendLine(line);
  if (verdict.kind == ActionVerdict::Kind::Success || verdict.kind == ActionVerdict::Kind::None) {
    m_window->hide();
    return;
  }
  ShowTranscript();
}

std::string VerdictLine(const ActionVerdict& verdict) {
  switch (verdict.kind) {
    case ActionVerdict::Kind::Success: return ui_text::kVerdictSucceeded + verdict.text;
    case ActionVerdict::Kind::Failure: return ui_text::kVerdictFailed + verdict.text;
    case ActionVerdict::Kind::Stopped: return ui_text::kVerdictStopped + verdict.text;
    case ActionVerdict::Kind::None: break;
  }
  return std::string();
}

void ActionConsole::ShowList(const QVector<ConsoleWindow::ListLine>& lines, bool focus) {
  // A list with nothing to show needs no window of its own.
  if (!m_window && lines.isEmpty()) return;
  if (!m_window) {
    m_window = new ConsoleWindow(m_owner.data());
    m_window->SetOpenEntry(m_openEntry);
  }
  m_window->ShowList(lines, focus && m_window->isVisible());
}

void ActionConsole::SetOpenEntry(std::function<void(int)> open) {
  m_openEntry = std::move(open);
  if (m_window) m_window->SetOpenEntry(m_openEntry);
}

void ActionConsole::ShowTranscript() {
  if (!m_window) return;
  m_window->ShowPending();
  m_window->ShowBesideOwner();
  QMetaObject::invokeMethod(m_window, [w = m_window] { if (w) w->raise(); }, Qt::QueuedConnection);
}

std::shared_ptr<ActionConsole> MakeConsoleWindowFactory(QWidget* owner) {
  return std::make_shared<ActionConsole>(owner);
}
