#include "core/mirvan_dlg.h"
// PLACEHOLDER (document owner replaces this file)
void CMirvanDlg::SplitPath(const std::string&) {}
void CMirvanDlg::AddToHistory(bool) {}
void CMirvanDlg::OnDropFiles(const std::vector<std::string>&) {}
void CMirvanDlg::SelectFile() {}
void CMirvanDlg::SelectHistory() {}
void CMirvanDlg::LoadHistory() {}
void CMirvanDlg::LoadHistoryFinish() {}
void CMirvanDlg::OnClose() {}
void CMirvanDlg::InitDialogCore() {}
