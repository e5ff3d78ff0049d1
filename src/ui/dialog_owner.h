// The owner of a modal dialog: the open modal dialog if there is one (a
// dialog opened from the Settings dialog belongs to it, whatever window its
// caller names), else the given parent, else the program's active window.
#pragma once

class QWidget;

QWidget* DialogOwner(QWidget* parent);
