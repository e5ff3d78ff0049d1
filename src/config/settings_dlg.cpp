#include "core/dialogs.h"
// PLACEHOLDER (dialog models owner replaces this file)
CSettingsDlg::CSettingsDlg(MirvanEnv env) : m_dlgWork(env) {}
void CSettingsDlg::OnButton(int) {}
void CMirvanDlg::OpenSettings() {}
void CMirvanDlg::ChooseEditor() {}
