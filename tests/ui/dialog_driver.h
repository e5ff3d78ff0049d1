// Drives a modal dialog from inside its own event loop: the script runs on
// the active modal widget once exec() is up, as a user's clicks would.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace dlgtest {

// Schedules `script` for the next modal dialog. A dialog the script leaves
// open is rejected afterwards, so that a failing test cannot hang.
inline void WhenModal(std::function<void(QDialog*)> script) {
  QTimer::singleShot(0, [script] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dlg) {
      ADD_FAILURE() << "no modal dialog is open";
      return;
    }
    script(dlg);
    if (dlg->isVisible()) dlg->reject();
  });
}

template <class W = QWidget>
W* Control(QWidget* dlg, int id) {
  auto* w = dlg->findChild<W*>(QStringLiteral("ctl%1").arg(id));
  EXPECT_NE(w, nullptr) << "control " << id;
  return w;
}

inline void Click(QWidget* dlg, int id) {
  if (auto* b = Control<QAbstractButton>(dlg, id)) b->click();
}

inline void PressKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
}

// Enter on control `id` after the user tabbed to it: the key goes to the
// control and, when it does not take it, on to the dialog.
inline void EnterOn(QWidget* dlg, int id) {
  QWidget* w = Control<QWidget>(dlg, id);
  if (!w) return;
  w->setFocus(Qt::TabFocusReason);
  PressKey(w, Qt::Key_Return);
}

inline std::string S(const QString& s) { return s.toStdString(); }

}  // namespace dlgtest
