// Acting on windows that a modal call under test opens: the call blocks, so
// the test's hands run from a timer inside the nested event loop.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

// Calls `act` with the first window that `find` returns (polled from the event
// loop), once. After `ms` without one, the test fails and every modal window
// is rejected, so a missing window never hangs the suite.
inline void WhenWindow(std::function<QWidget*()> find, std::function<void(QWidget*)> act, int ms = 5000) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, find, act, ms] {
    if (QWidget* w = find()) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      act(w);
      return;
    }
    if (clock->elapsed() > ms) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      ADD_FAILURE() << "the expected window did not open";
      while (QWidget* p = QApplication::activePopupWidget()) p->close();
      while (QWidget* m = QApplication::activeModalWidget()) m->close();
    }
  });
  timer->start(10);
}

// The next modal window other than `except` (the window under test).
inline void WhenModal(std::function<void(QWidget*)> act, QWidget* except = nullptr) {
  WhenWindow(
      [except]() -> QWidget* {
        QWidget* m = QApplication::activeModalWidget();
        return m != except && m && m->isVisible() ? m : nullptr;
      },
      std::move(act));
}

inline void WhenPopup(std::function<void(QWidget*)> act) {
  WhenWindow([]() -> QWidget* { return QApplication::activePopupWidget(); }, std::move(act));
}
