#include "core/mirvan_dlg.h"
// PLACEHOLDER (compile owner replaces this file)
int CMirvanDlg::Compile() { return 0; }
