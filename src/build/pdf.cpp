#include "core/mirvan_dlg.h"
// PLACEHOLDER (pdf owner replaces this file)
int CMirvanDlg::MakePdf() { return 0; }
std::string CMirvanDlg::PdfSizeOption(int) { return std::string(); }
