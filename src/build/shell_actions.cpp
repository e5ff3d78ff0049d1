#include "core/mirvan_dlg.h"
// PLACEHOLDER (shell actions owner replaces this file)
void CMirvanDlg::EditSource() {}
void CMirvanDlg::ViewDvi() {}
void CMirvanDlg::ViewPdf() {}
void CMirvanDlg::OpenCommandPrompt() {}
void CMirvanDlg::CompileAndMakePdf() {}
