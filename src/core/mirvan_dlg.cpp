#include "core/mirvan_dlg.h"

#include "text/mbcs.h"

CMirvanDlg::CMirvanDlg(MirvanEnv env) : m_env(env) {}

bool CMirvanDlg::Contains(const std::string& text, const std::string& what) {
  return mbcs::Contains(text, what);
}

bool CMirvanDlg::NamesProgramFile(const std::string& program) const {
  return Contains(program, m_env.platform.Values().programFileMarker);
}
