// The modal dialogs of the bar, each over its toolkit-free model.
#pragma once

class QWidget;
class CPdfSizeDlg;
class CMkIdxOptDlg;
class CSettingsDlg;

// true when closed with OK (the model then holds the saved exchange).
bool ExecPdfSizeDialog(CPdfSizeDlg& model, QWidget* parent);
bool ExecMkIdxOptDialog(CMkIdxOptDlg& model, QWidget* parent);
// Returns when the Settings dialog has closed, whichever way.
void ExecSettingsDialog(CSettingsDlg& model, QWidget* parent);
void ExecAboutDialog(QWidget* parent);
