// PLACEHOLDER (ui-dialogs owner replaces this file)
#include "ui/dialogs.h"
bool ExecPdfSizeDialog(CPdfSizeDlg&, QWidget*) { return false; }
bool ExecMkIdxOptDialog(CMkIdxOptDlg&, QWidget*) { return false; }
void ExecSettingsDialog(CSettingsDlg&, QWidget*) {}
void ExecAboutDialog(QWidget*) {}
