#include "core/mirvan_dlg.h"
// PLACEHOLDER (configuration owner replaces this file)
void CMirvanDlg::LoadSettingsStartupRule() {}
void CMirvanDlg::LoadSettingsPrograms() {}
void CMirvanDlg::ReloadSettings() {}
