// The About box (template 100): the program icon, the version and OK.
#pragma once

#include <QDialog>

#include "ui/dialog_template.h"

class CAboutDlg : public QDialog {
 public:
  explicit CAboutDlg(QWidget* parent);

 private:
  BuiltDialog m_built;
};
