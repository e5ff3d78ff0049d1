// The bar: the Qt window that draws a BarController and passes every click,
// drop, key and history choice to it.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>

#include <functional>
#include <memory>
#include <string>

#include "core/bar_controller.h"
#include "ui/console_window.h"
#include "ui/dialog_template.h"

class QComboBox;
class QSocketNotifier;
class QPushButton;

class CMirvanWnd : public QDialog, private IBarView {
  Q_OBJECT

 public:
  // The controller is created on `env`; tests pass scripted ones.
  explicit CMirvanWnd(MirvanEnv env, QWidget* parent = nullptr);
  ~CMirvanWnd() override;

  BarController& Bar() { return m_bar; }
  QWidget* Control(int id) const { return m_built.controls.value(id); }
  QComboBox* History() const { return m_history; }
  // The user manual's window, once F1 has opened it.
  QTextBrowser* Manual() const { return m_manual; }
  const BuiltDialog& Built() const { return m_built; }

  // The console the tools' output and the list of their problems go to.
  void SetConsole(std::shared_ptr<ActionConsole> console);

  // The bar is told to end from outside (a signal, the session's end).
  void EndFromOutside(BarEnd how);

 public slots:
  void reject() override;  // Esc

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
  // What the controller asks of the window.
  void ShowHistory(const HistoryBox& history, bool entriesChanged) override;
  void SetBusy(bool busy) override;
  void FocusHistory() override;
  void ShowProblems(const ProblemList& problems, bool failed) override;
  void OpenProblemList() override;
  void ShowCompileOnSave(bool on) override;
  void ShowAbout() override;
  void SettleAfter(int ms) override;

  void OnInitDialog();
  void KeepOnScreen();
  void SetButtonIcons();
  void OnHistoryActivated(int index);
  void OpenManual();

  BarController m_bar;
  BuiltDialog m_built;
  QComboBox* m_history = nullptr;
  QPointer<QTextBrowser> m_manual;
  std::shared_ptr<ActionConsole> m_console;
  QString m_caption;
  QPointer<QSocketNotifier> m_watchNotifier;
  QTimer* m_settle = nullptr;
  // The controls an action disabled, and the focus to give back after it.
  QVector<QPointer<QWidget>> m_disabled;
  QPointer<QWidget> m_focusBefore;
  bool m_initialized = false;
  bool m_drawing = false;  // the history box is being drawn: its reports are ours
  // Set while the list is open (and until its closing has been handled): an
  // "activated" then is a choice from the list. Qt also reports one when the
  // edit field loses the focus holding a typed text equal to an entry, and
  // a typed path must change nothing.
  bool m_listChoice = false;
};
