// Scripted prompts whose option dialogs are the real Qt ones, so that an
// operation of the core shows the widgets a user would see.
#pragma once

#include "support/fakes.h"
#include "ui/dialogs.h"

namespace dlgtest {

class QtDialogPrompts : public ScriptedPrompts {
 public:
  QWidget* owner = nullptr;  // the window the prompts belong to, as the bar's do

  bool ShowPdfSizeDialog(CPdfSizeDlg& dlg) override {
    shown.push_back("pdfsize");
    return ExecPdfSizeDialog(dlg, owner);
  }
  bool ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) override {
    shown.push_back("mkidx");
    return ExecMkIdxOptDialog(dlg, owner);
  }
};

}  // namespace dlgtest
