// The Settings dialog (template 137): seven buttons that each run one
// configuration operation on the model's working instance, and Close.
#pragma once

#include <QDialog>

#include "ui/dialog_template.h"

class CSettingsDlg;

class SettingsDialog : public QDialog {
 public:
  SettingsDialog(CSettingsDlg& model, QWidget* parent);

 private:
  CSettingsDlg& m_model;
  BuiltDialog m_built;
};
