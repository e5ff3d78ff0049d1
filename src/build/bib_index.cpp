#include "core/mirvan_dlg.h"
// PLACEHOLDER (bib/index owner replaces this file)
int CMirvanDlg::RunBibTeX() { return 0; }
int CMirvanDlg::RunMakeIndex() { return 0; }
