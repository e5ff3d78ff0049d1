#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QSignalBlocker>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

#include "config/resource_ids.h"
#include "ui/cp_text.h"
#include "ui/dialogs.h"
#include "ui/string_table.h"
#include "ui/texts.h"

CMirvanWnd::CMirvanWnd(MirvanEnv env, QWidget* parent) : QDialog(parent), m_bar(env, *this) {
  EnsureUiResources();
  const DialogTemplate t = LoadDialogTemplate(dialog::kMain);
  m_built = BuildDialog(this, t);

  // A normal window rather than a transient dialog, so it gets a taskbar
  // entry and a minimize box; no maximize box, and it stays on top.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  m_caption = t.caption;
  setWindowTitle(m_caption);
  setFixedSize(m_built.units.X(t.w), m_built.units.Y(t.h));
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
  move(origin + QPoint(m_built.units.X(t.x), m_built.units.Y(t.y)));
  KeepOnScreen();

  m_history = qobject_cast<QComboBox*>(Control(control::kHistory));
  Q_ASSERT(m_history);
  m_history->setEditable(true);
  m_history->setInsertPolicy(QComboBox::NoInsert);
  m_history->setDuplicatesEnabled(true);
  // Typed text must never choose an entry: no completion, and the edit field
  // takes no drops (a file dropped there belongs to the bar).
  m_history->setCompleter(nullptr);
  m_history->setAcceptDrops(false);
  if (QLineEdit* edit = m_history->lineEdit()) {
    edit->setAcceptDrops(false);
    edit->installEventFilter(this);
  }
  m_history->installEventFilter(this);
  // The list's popup window: while it is open, "activated" is a choice.
  m_history->view()->window()->installEventFilter(this);
  connect(m_history, qOverload<int>(&QComboBox::activated), this, &CMirvanWnd::OnHistoryActivated);

  for (QWidget* w : m_built.order) {
    auto* button = qobject_cast<QPushButton*>(w);
    if (!button) continue;
    button->setAutoDefault(false);
    button->setDefault(false);
    const int id = m_built.controls.key(button, 0);
    if (id == 0) continue;
    connect(button, &QPushButton::clicked, this, [this, id] { m_bar.Press(id); });
    const QString tip = CpToQt(BarController::ToolTipOf(QtToCp(LoadResString(id))));
    if (!tip.isEmpty()) button->setToolTip(tip);
  }
  if (QWidget* fileSelect = Control(control::kSelectFile)) {
    // It takes files itself, so a file dropped on it does nothing.
    fileSelect->setAcceptDrops(true);
    fileSelect->installEventFilter(this);
  }
}

CMirvanWnd::~CMirvanWnd() {
  // Hiding the window moves the focus, and the combo box reports on that;
  // nothing of this object may be reached from there any more.
  if (m_history) {
    disconnect(m_history, nullptr, this, nullptr);
    m_history->removeEventFilter(this);
    if (QLineEdit* edit = m_history->lineEdit()) edit->removeEventFilter(this);
    m_history->view()->window()->removeEventFilter(this);
  }
  if (QWidget* fileSelect = Control(control::kSelectFile)) fileSelect->removeEventFilter(this);
}

void CMirvanWnd::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!m_initialized) {
    m_initialized = true;
    // The frame's size is known once the window manager has framed the
    // window, which it has done by the first exposure.
    if (QWindow* w = windowHandle()) w->installEventFilter(this);
    OnInitDialog();
  }
}

void CMirvanWnd::KeepOnScreen() {
  // The template's place is meant for a large screen; on a small or scaled
  // one the whole bar, frame and all, is moved onto the available area.
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect avail = s->availableGeometry();
  // One pixel more on each side: at a fractional scale the frame's width
  // in these units is rounded down.
  const QMargins frame = (windowHandle() ? windowHandle()->frameMargins() : QMargins()) + QMargins(1, 1, 1, 1);
  const QSize outer = size().grownBy(frame);
  const QPoint at = pos();
  const int x = qMax(avail.left(), qMin(at.x(), avail.left() + avail.width() - outer.width()));
  const int y = qMax(avail.top(), qMin(at.y(), avail.top() + avail.height() - outer.height()));
  if (QPoint(x, y) != at) move(x, y);
}

void CMirvanWnd::OnInitDialog() {
  // Where the window system lets an application extend the window menu the
  // About entry would go there; X11 and Wayland do not, so it is in the
  // bar's context menu.
  setWindowIcon(ResourceIcon(icon::kMainWindow));
  SetButtonIcons();
  m_bar.Open();
  setAcceptDrops(true);
  // Brought to the foreground when created, even when started from a
  // terminal or a file manager that keeps the focus.
  raise();
  activateWindow();
}

void CMirvanWnd::SetButtonIcons() {
  for (const ButtonIcon& b : kButtonIcons) {
    auto* button = qobject_cast<QPushButton*>(Control(b.control));
    if (!button) continue;
    // Only the picture is shown; the template's caption names the button
    // for screen readers.
    button->setIcon(ResourceIcon(b.icon));
    const int side = BarController::IconSide(button->width(), button->height());
    button->setIconSize(QSize(side, side));
  }
}

void CMirvanWnd::ShowHistory(const HistoryBox& model, bool entriesChanged) {
  if (!m_history) return;
  const bool wasDrawing = m_drawing;
  m_drawing = true;
  {
    const QSignalBlocker block(m_history);
    if (entriesChanged) {
      QStringList items;
      for (const std::string& s : model.Items()) items << CpToQt(s);
      m_history->clear();
      m_history->addItems(items);
    }
    m_history->setCurrentIndex(model.GetCurSel());
    m_history->setEditText(CpToQt(model.GetEditText()));
  }
  m_drawing = wasDrawing;
  update();
}

void CMirvanWnd::FocusHistory() { m_history->setFocus(Qt::OtherFocusReason); }

void CMirvanWnd::SetBusy(bool busy) {
  // The controls rather than the window are disabled: a box or dialog the
  // action opens is a child of the window and must stay usable.
  if (busy) {
    m_focusBefore = focusWidget();
    for (QWidget* w : m_built.order) {
      if (w->isEnabled()) {
        w->setEnabled(false);
        m_disabled << w;
      }
    }
    return;
  }
  for (const QPointer<QWidget>& w : m_disabled) {
    if (w) w->setEnabled(true);
  }
  m_disabled.clear();
  if (m_focusBefore && m_focusBefore->isEnabled()) m_focusBefore->setFocus(Qt::OtherFocusReason);
  m_focusBefore = nullptr;
}

void CMirvanWnd::OnHistoryActivated(int index) {
  const bool fromList = m_listChoice;
  m_listChoice = false;
  if (m_drawing) return;
  if (!fromList) {
    m_bar.ShowHistoryAgain();
    return;
  }
  m_bar.ChooseHistory(index);
}

void CMirvanWnd::closeEvent(QCloseEvent* e) {
  if (!m_bar.End(BarEnd::CloseBox)) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void CMirvanWnd::reject() {
  if (m_bar.End(BarEnd::Escape)) QDialog::reject();
}

void CMirvanWnd::EndFromOutside(BarEnd how) {
  if (m_bar.End(how)) QDialog::reject();
}

void CMirvanWnd::keyPressEvent(QKeyEvent* e) {
  if (m_bar.Busy()) return;
  switch (e->key()) {
    case Qt::Key_F1:
      OpenManual();
      return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      // No push button is the default: Enter presses the focused button,
      // and is the bar's to handle anywhere else.
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        if (button->isEnabled()) button->click();
        return;
      }
      m_bar.Enter();
      return;
    default:
      QDialog::keyPressEvent(e);
  }
}

bool CMirvanWnd::eventFilter(QObject* watched, QEvent* e) {
  if (watched == windowHandle()) {
    if (e->type() == QEvent::Expose && windowHandle()->isExposed()) {
      windowHandle()->removeEventFilter(this);
      KeepOnScreen();
    }
    return false;
  }
  if (watched == Control(control::kSelectFile)) {
    switch (e->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(e);
        if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop:
        static_cast<QDropEvent*>(e)->acceptProposedAction();
        return true;
      default:
        return false;
    }
  }
  if (m_history && watched == m_history->view()->window()) {
    if (e->type() == QEvent::Show) m_listChoice = true;
    if (e->type() == QEvent::Hide) {
      // The choice is reported right after the list closes; later reports
      // (the edit field losing the focus) are no choice.
      QMetaObject::invokeMethod(this, [this] { m_listChoice = false; }, Qt::QueuedConnection);
    }
    return false;
  }
  if (watched == m_history && e->type() == QEvent::Wheel) {
    return true;  // the list changes only by a choice from it
  }
  if ((watched == m_history || (m_history && watched == m_history->lineEdit())) &&
      e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (key->key()) {
      case Qt::Key_Down:
        // The extended keyboard interface: the down arrow opens the list...
        if (plain && m_bar.History().GetExtendedUI()) {
          m_history->showPopup();
          return true;
        }
        return false;
      case Qt::Key_F4:
        // ...and F4 does nothing.
        return m_bar.History().GetExtendedUI();
      case Qt::Key_Up:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        // Moving through a closed list would show an entry that is not the
        // history box's selection.
        return true;
      case Qt::Key_Enter:
      case Qt::Key_Return:
        // A typed path changes nothing.
        m_bar.Enter();
        return true;
      default:
        return false;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void CMirvanWnd::dragEnterEvent(QDragEnterEvent* e) {
  if (!m_bar.Busy() && e->mimeData()->hasUrls()) {
    e->acceptProposedAction();
  } else {
    e->ignore();
  }
}

void CMirvanWnd::dragMoveEvent(QDragMoveEvent* e) {
  if (!m_bar.Busy() && e->mimeData()->hasUrls()) {
    e->acceptProposedAction();
  } else {
    e->ignore();
  }
}

void CMirvanWnd::dropEvent(QDropEvent* e) {
  if (m_bar.Busy() || !e->mimeData()->hasUrls()) {
    e->ignore();
    return;
  }
  std::vector<std::string> paths;
  for (const QUrl& url : e->mimeData()->urls()) {
    // A URL that names no local file is refused like a file that is not .tex.
    paths.push_back(url.isLocalFile() ? QtPathToCp(url.toLocalFile()) : std::string());
  }
  e->acceptProposedAction();
  // Handled after the drop has completed, so that a message box does not
  // keep the file manager waiting for the end of the drag.
  QMetaObject::invokeMethod(this, [this, paths] { m_bar.Drop(paths); }, Qt::QueuedConnection);
}

void CMirvanWnd::contextMenuEvent(QContextMenuEvent* e) {
  QMenu menu(this);
  QMap<QAction*, int> commands;
  for (const MenuEntry& entry : m_bar.ContextMenu()) {
    const QString text = LoadResString(entry.command);
    if (text.isEmpty()) continue;
    QAction* a = menu.addAction(text);
    a->setCheckable(entry.checkable);
    a->setChecked(entry.checked);
    a->setEnabled(entry.enabled);
    commands.insert(a, entry.command);
  }
  if (commands.isEmpty()) {
    e->ignore();
    return;
  }
  QAction* chosen = menu.exec(e->globalPos());
  if (chosen) m_bar.Choose(commands.value(chosen));
}

void CMirvanWnd::SetConsole(std::shared_ptr<ActionConsole> console) {
  m_console = std::move(console);
  if (m_console) m_console->SetOpenEntry([this](int index) { m_bar.OpenProblem(static_cast<std::size_t>(index)); });
}

void CMirvanWnd::ShowProblems(const ProblemList& problems, bool failed) {
  if (!m_console) return;
  QVector<ConsoleWindow::ListLine> lines;
  for (const texlog::Entry& entry : problems.Entries())
    lines.push_back({CpToQt(ProblemList::LineOf(entry)), entry.kind == texlog::Kind::Error});
  m_console->ShowList(lines, failed);
}

void CMirvanWnd::OpenProblemList() {
  if (m_console) m_console->ShowTranscript();
}

void CMirvanWnd::ShowAbout() { ExecAboutDialog(this); }

void CMirvanWnd::ShowCompileOnSave(bool on) {
  setWindowTitle(on ? m_caption + LoadResString(string_id::kCompileOnSaveTitle) : m_caption);
  delete m_watchNotifier;
  const std::intptr_t handle = m_bar.WatchHandle();
  if (!on || handle < 0) return;
  m_watchNotifier = new QSocketNotifier(static_cast<qintptr>(handle), QSocketNotifier::Read, this);
  connect(m_watchNotifier, &QSocketNotifier::activated, this, [this] { m_bar.FilesMayHaveChanged(); });
}

void CMirvanWnd::SettleAfter(int ms) {
  if (!m_settle) {
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    connect(m_settle, &QTimer::timeout, this, [this] { m_bar.SavesSettled(); });
  }
  m_settle->start(ms);
}

void CMirvanWnd::OpenManual() {
  // Shown by the program itself: the desktop's association for HTML files
  // may well be a text editor, which would show the manual's source.
  const QString path = QFile::decodeName(QByteArray::fromStdString(
      m_bar.ManualPath(QtPathToCp(QCoreApplication::applicationDirPath() + QLatin1Char('/')))));
  if (!QFileInfo::exists(path)) return;
  if (!m_manual) {
    m_manual = new QTextBrowser(this);
    m_manual->setWindowFlag(Qt::Window);
    m_manual->setAttribute(Qt::WA_DeleteOnClose);
    m_manual->setOpenExternalLinks(true);
    m_manual->setSource(QUrl::fromLocalFile(path));
    m_manual->setWindowTitle(m_manual->documentTitle());
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect avail = s ? s->availableGeometry() : QRect(0, 0, 800, 600);
    m_manual->resize(qMin(760, avail.width() * 9 / 10), qMin(640, avail.height() * 9 / 10));
  }
  m_manual->show();
  m_manual->raise();
  m_manual->activateWindow();
}
