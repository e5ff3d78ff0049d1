// The bar: the Qt window that draws a BarController and passes every click,
// drop, key and history choice to it.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>

#include <functional>
#include <string>

#include "core/bar_controller.h"
#include "ui/dialog_template.h"

class QComboBox;
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

  // The context menu's entry that shows the last action's tool output
  // again; `available` says whether there is one.
  void SetLastOutput(std::function<bool()> available, std::function<void()> show) {
    m_lastOutputAvailable = std::move(available);
    m_showLastOutput = std::move(show);
  }

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

  void OnInitDialog();
  void KeepOnScreen();
  void SetButtonIcons();
  void OnHistoryActivated(int index);
  void OpenManual();

  BarController m_bar;
  BuiltDialog m_built;
  QComboBox* m_history = nullptr;
  QString m_aboutText;
  QPointer<QTextBrowser> m_manual;
  std::function<bool()> m_lastOutputAvailable;
  std::function<void()> m_showLastOutput;
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
