// The MakeIndex options dialog (template 198) over its model CMkIdxOptDlg.
#pragma once

#include <QDialog>

#include "ui/dialog_template.h"

class CMkIdxOptDlg;
class QCheckBox;
class QLineEdit;

class MkIdxOptDialog : public QDialog {
 public:
  MkIdxOptDialog(CMkIdxOptDlg& model, QWidget* parent);

 private:
  void OnOk();

  CMkIdxOptDlg& m_model;
  BuiltDialog m_built;
  QLineEdit* m_options = nullptr;
  QCheckBox* m_never = nullptr;
};
