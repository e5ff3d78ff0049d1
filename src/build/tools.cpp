#include "core/mirvan_dlg.h"
// PLACEHOLDER (tools owner replaces this file)
int CMirvanDlg::RunTool(const std::string& program, const std::vector<std::string>& args) {
  return Platform().RunTool(program, args);
}
int CMirvanDlg::LocateTeX() { return 0; }
int CMirvanDlg::ChooseTeX() { return 0; }
void CMirvanDlg::ChangeTeX() {}
int CMirvanDlg::ChooseBibTeX() { return 0; }
int CMirvanDlg::ChooseMkIdx() { return 0; }
int CMirvanDlg::ChooseDviPdf() { return 0; }
