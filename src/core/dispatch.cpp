#include "core/mirvan_dlg.h"
// PLACEHOLDER (compile owner replaces this file)
bool CMirvanDlg::RunAction(const std::function<void()>& action) {
  action();
  return true;
}
