// The bar: the Qt window that shows a CMirvanDlg and hands every click, drop
// and history choice to it.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>

#include <functional>
#include <string>

#include "core/mirvan_dlg.h"
#include "ui/dialog_template.h"

class QComboBox;
class QPushButton;


class CMirvanWnd : public QDialog {
  Q_OBJECT

 public:
  // The core object is created on `env`; tests pass scripted ones.
  explicit CMirvanWnd(MirvanEnv env, QWidget* parent = nullptr);
  ~CMirvanWnd() override;

  CMirvanDlg& Core() { return m_core; }
  QWidget* Control(int id) const { return m_built.controls.value(id); }
  QComboBox* History() const { return m_history; }
  // The user manual's window, once F1 has opened it.
  QTextBrowser* Manual() const { return m_manual; }
  const BuiltDialog& Built() const { return m_built; }

  // The one way a button's action runs: the bar's controls are disabled
  // (still painted) until it ends, the core reports file and memory errors,
  // and the history box is shown anew afterwards.
  void OnButton(int id);
  bool Busy() const { return m_busy; }

  // The user manual F1 shows: the installed copy, else the one next to the
  // program or in the source tree it was built from.
  static std::string ManualPath();

  // The context menu's entry that shows the last action's tool output
  // again; `available` says whether there is one.
  void SetLastOutput(std::function<bool()> available, std::function<void()> show) {
    m_lastOutputAvailable = std::move(available);
    m_showLastOutput = std::move(show);
  }

  // Icon resource of each icon button, in the order the buttons get them.
  static const QVector<QPair<int, int>>& ButtonIcons();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void OnInitDialog();
  void KeepOnScreen();
  void SetButtonIcons();
  void SyncHistory();
  void OnHistoryActivated(int index);
  void DeliverDrop(const std::vector<std::string>& paths);
  void OpenManual();

  CMirvanDlg m_core;
  BuiltDialog m_built;
  QComboBox* m_history = nullptr;
  QString m_aboutText;
  QPointer<QTextBrowser> m_manual;
  std::function<bool()> m_lastOutputAvailable;
  std::function<void()> m_showLastOutput;
  bool m_initialized = false;
  bool m_busy = false;
  bool m_syncing = false;
  bool m_focusHistory = false;  // the history box asked for the focus during an action
  // Set while the list is open (and until its closing has been handled): an
  // "activated" then is a choice from the list. Qt also reports one when the
  // edit field loses the focus holding a typed text equal to an entry, and
  // a typed path must change nothing.
  bool m_listChoice = false;
};
