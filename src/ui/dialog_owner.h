// The owner of a modal dialog shown without a parent: the program's active
// window (the bar, or the Settings dialog when a dialog opens from there),
// so that the dialog stays above it and blocks it.
#pragma once

class QWidget;

QWidget* OwnerOr(QWidget* parent);
