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
#include <QSignalBlocker>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

#include "ui/cp_text.h"
#include "ui/dialogs.h"
#include "ui/string_table.h"

namespace {
constexpr int kMainTemplate = 146;
constexpr int kHistoryBox = 1017;
constexpr int kFileSelect = 1001;
constexpr int kAboutString = 101;
constexpr int kProgramIcon = 128;

QIcon ResIcon(int n) { return ResourceIcon(n); }
}  // namespace

const QVector<QPair<int, int>>& CMirvanWnd::ButtonIcons() {
  static const QVector<QPair<int, int>> icons = {
      {1000, 133}, {1002, 131}, {1003, 132}, {1006, 134},
      {1008, 135}, {1009, 136}, {1011, 138}, {1010, 139},
  };
  return icons;
}

CMirvanWnd::CMirvanWnd(MirvanEnv env, QWidget* parent) : QDialog(parent), m_core(env) {
  EnsureUiResources();
  const DialogTemplate t = LoadDialogTemplate(kMainTemplate);
  m_built = BuildDialog(this, t);

  // A normal window rather than a transient dialog, so it gets a taskbar
  // entry and a minimize box; no maximize box, and it stays on top.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(t.caption);
  setFixedSize(m_built.units.X(t.w), m_built.units.Y(t.h));
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
  move(origin + QPoint(m_built.units.X(t.x), m_built.units.Y(t.y)));
  KeepOnScreen();

  m_history = qobject_cast<QComboBox*>(Control(kHistoryBox));
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
    connect(button, &QPushButton::clicked, this, [this, id] { OnButton(id); });
    const QString tip = ToolTipText(id);
    if (!tip.isEmpty()) button->setToolTip(tip);
  }
  if (QWidget* fileSelect = Control(kFileSelect)) {
    // It takes files itself, so a file dropped on it does nothing.
    fileSelect->setAcceptDrops(true);
    fileSelect->installEventFilter(this);
  }

  m_core.onInvalidate = [this] { update(); };
  m_core.m_history.onChanged = [this] { SyncHistory(); };
  // A disabled control cannot take the focus: a request during an action
  // is kept until the controls are enabled again.
  m_core.m_history.onFocus = [this] {
    if (m_busy) {
      m_focusHistory = true;
    } else {
      m_history->setFocus(Qt::OtherFocusReason);
    }
  };
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
  if (QWidget* fileSelect = Control(kFileSelect)) fileSelect->removeEventFilter(this);
  m_core.onInvalidate = nullptr;
  m_core.m_history.onChanged = nullptr;
  m_core.m_history.onFocus = nullptr;
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
  // About entry would go there; X11 and Wayland do not, so it is the bar's
  // context menu. A missing string leaves the entry out.
  m_aboutText = LoadResString(kAboutString);
  const QIcon programIcon = ResIcon(kProgramIcon);
  setWindowIcon(programIcon);
  SetButtonIcons();
  m_core.InitDialogCore();
  SyncHistory();
  update();
  setAcceptDrops(true);
  m_history->setFocus(Qt::OtherFocusReason);
  // Brought to the foreground when created, even when started from a
  // terminal or a file manager that keeps the focus.
  raise();
  activateWindow();
}

void CMirvanWnd::SetButtonIcons() {
  for (const auto& [id, icon] : ButtonIcons()) {
    auto* button = qobject_cast<QPushButton*>(Control(id));
    if (!button) continue;
    // Only the picture is shown; the caption stays for screen readers.
    button->setAccessibleName(button->text());
    button->setText(QString());
    button->setIcon(ResIcon(icon));
    const int side = qMax(8, qMin(button->width(), button->height()) - 4);
    button->setIconSize(QSize(side, side));
  }
}

void CMirvanWnd::SyncHistory() {
  if (!m_history) return;
  const bool wasSyncing = m_syncing;
  m_syncing = true;
  {
    const QSignalBlocker block(m_history);
    const HistoryBox& model = m_core.m_history;
    QStringList items;
    for (const std::string& s : model.Items()) items << CpToQt(s);
    QStringList shown;
    for (int i = 0; i < m_history->count(); ++i) shown << m_history->itemText(i);
    if (items != shown) {
      m_history->clear();
      m_history->addItems(items);
    }
    m_history->setCurrentIndex(model.GetCurSel());
    m_history->setEditText(CpToQt(model.GetEditText()));
  }
  m_syncing = wasSyncing;
}

void CMirvanWnd::OnHistoryActivated(int index) {
  const bool fromList = m_listChoice;
  m_listChoice = false;
  if (!fromList || m_syncing || m_busy) {
    SyncHistory();  // the box shows the history as it is
    return;
  }
  m_syncing = true;
  m_core.m_history.SetCurSel(index);
  m_syncing = false;
  m_core.SelectHistory();
  SyncHistory();
}

void CMirvanWnd::OnButton(int id) {
  if (m_busy) return;
  std::function<void()> action;
  switch (id) {
    case 1000: action = [this] { m_core.EditSource(); }; break;
    case 1001: action = [this] { m_core.SelectFile(); }; break;
    case 1002: action = [this] { m_core.Compile(); }; break;
    case 1003: action = [this] { m_core.ViewDvi(); }; break;
    case 1006: action = [this] { m_core.MakePdf(); }; break;
    case 1008: action = [this] { m_core.ViewPdf(); }; break;
    case 1009: action = [this] { m_core.OpenCommandPrompt(); }; break;
    case 1010: action = [this] { m_core.OpenSettings(); }; break;
    case 1011: action = [this] { m_core.CompileAndMakePdf(); }; break;
    default: return;
  }
  // The controls rather than the window are disabled: a box or dialog the
  // action opens is a child of the window and must stay usable.
  m_busy = true;
  const QPointer<QWidget> focus = focusWidget();
  QVector<QPointer<QWidget>> disabled;
  for (QWidget* w : m_built.order) {
    if (w->isEnabled()) {
      w->setEnabled(false);
      disabled << w;
    }
  }
  m_core.RunAction(action);
  for (const QPointer<QWidget>& w : disabled) {
    if (w) w->setEnabled(true);
  }
  m_busy = false;
  SyncHistory();
  if (m_focusHistory) {
    m_focusHistory = false;
    m_history->setFocus(Qt::OtherFocusReason);
  } else if (focus && focus->isEnabled()) {
    focus->setFocus(Qt::OtherFocusReason);
  }
  update();
}

void CMirvanWnd::closeEvent(QCloseEvent* e) {
  if (m_busy) {
    e->ignore();
    return;
  }
  // The close box (and Alt+F4) save the history; Esc ends through reject(),
  // whose own close is not delivered here, and so saves nothing.
  m_core.OnClose();
  QDialog::closeEvent(e);
}

void CMirvanWnd::keyPressEvent(QKeyEvent* e) {
  if (m_busy) return;
  switch (e->key()) {
    case Qt::Key_F1:
      OpenManual();
      return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      // No push button is the default: Enter presses the focused button and
      // does nothing anywhere else (it never ends the bar).
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        if (button->isEnabled()) button->click();
      }
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
  if (watched == Control(kFileSelect)) {
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
        if (plain && m_core.m_history.GetExtendedUI()) {
          m_history->showPopup();
          return true;
        }
        return false;
      case Qt::Key_F4:
        // ...and F4 does nothing.
        return m_core.m_history.GetExtendedUI();
      case Qt::Key_Up:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        // Moving through a closed list would show an entry that is not the
        // history box's selection.
        return true;
      case Qt::Key_Enter:
      case Qt::Key_Return:
        // A typed path changes nothing, and Enter here must not end the bar.
        return true;
      default:
        return false;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void CMirvanWnd::dragEnterEvent(QDragEnterEvent* e) {
  if (!m_busy && e->mimeData()->hasUrls()) {
    e->acceptProposedAction();
  } else {
    e->ignore();
  }
}

void CMirvanWnd::dragMoveEvent(QDragMoveEvent* e) {
  if (!m_busy && e->mimeData()->hasUrls()) {
    e->acceptProposedAction();
  } else {
    e->ignore();
  }
}

void CMirvanWnd::dropEvent(QDropEvent* e) {
  if (m_busy || !e->mimeData()->hasUrls()) {
    e->ignore();
    return;
  }
  std::vector<std::string> paths;
  for (const QUrl& url : e->mimeData()->urls()) {
    // A URL that names no local file is refused like a file that is not .tex.
    paths.push_back(url.isLocalFile() ? QtPathToCp(url.toLocalFile()) : std::string());
  }
  if (paths.empty()) paths.push_back(std::string());
  e->acceptProposedAction();
  // Handled after the drop has completed, so that a message box does not
  // keep the file manager waiting for the end of the drag.
  QMetaObject::invokeMethod(this, [this, paths] { DeliverDrop(paths); }, Qt::QueuedConnection);
}

void CMirvanWnd::DeliverDrop(const std::vector<std::string>& paths) {
  if (m_busy) return;
  m_core.OnDropFiles(paths);
  SyncHistory();
}

void CMirvanWnd::contextMenuEvent(QContextMenuEvent* e) {
  if (m_busy || (m_aboutText.isEmpty() && !m_showLastOutput)) {
    e->ignore();
    return;
  }
  QMenu menu(this);
  QAction* lastOutput = nullptr;
  if (m_showLastOutput) {
    lastOutput = menu.addAction(QStringLiteral("前回の出力(&L)..."));
    lastOutput->setEnabled(!m_lastOutputAvailable || m_lastOutputAvailable());
  }
  QAction* about = m_aboutText.isEmpty() ? nullptr : menu.addAction(m_aboutText);
  QAction* chosen = menu.exec(e->globalPos());
  if (!chosen) return;
  if (chosen == about) ExecAboutDialog(this);
  if (chosen == lastOutput) m_showLastOutput();
}

std::string CMirvanWnd::ManualPath() {
  const QString appDir = QCoreApplication::applicationDirPath();
  // Installed (the package's documentation folder, named after the project
  // or the package), next to the program, or in the checkout of a build.
  const QStringList candidates = {
      appDir + QStringLiteral("/../share/doc/mirvan/manual.html"),
      appDir + QStringLiteral("/../share/doc/Mirvan/manual.html"),
      appDir + QStringLiteral("/manual.html"),
      appDir + QStringLiteral("/../docs/manual.html"),
      appDir + QStringLiteral("/../../docs/manual.html"),  // a build's tests folder
  };
  for (const QString& c : candidates) {
    if (QFileInfo::exists(c)) return QtPathToCp(QFileInfo(c).canonicalFilePath());
  }
  return QtPathToCp(QDir::cleanPath(candidates.first()));
}

void CMirvanWnd::OpenManual() {
  // Shown by the program itself: the desktop's association for HTML files
  // may well be a text editor, which would show the manual's source.
  const QString path = QFile::decodeName(QByteArray::fromStdString(ManualPath()));
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
