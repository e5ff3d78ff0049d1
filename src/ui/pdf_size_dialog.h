// The paper size dialog (template 173) over its model CPdfSizeDlg.
#pragma once

#include <QDialog>

#include "ui/dialog_template.h"

class CPdfSizeDlg;
class QButtonGroup;
class QCheckBox;

class PdfSizeDialog : public QDialog {
 public:
  PdfSizeDialog(CPdfSizeDlg& model, QWidget* parent);

  QButtonGroup* radios() const { return m_radios; }

 private:
  void ShowBoxes();
  void ShowRadio();
  void OnOk();

  CPdfSizeDlg& m_model;
  BuiltDialog m_built;
  QButtonGroup* m_radios = nullptr;
  QCheckBox* m_box1012 = nullptr;
  QCheckBox* m_box1013 = nullptr;
};
