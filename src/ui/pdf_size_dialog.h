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
  QCheckBox* m_nShowBox = nullptr;   // not this run
  QCheckBox* m_neShowBox = nullptr;  // never again
};
