// The Settings dialog as a toolkit-free model.
#pragma once

#include "core/mirvan_dlg.h"

// Template 137: Settings.
class CSettingsDlg {
 public:
  explicit CSettingsDlg(MirvanEnv env);
  CMirvanDlg m_dlgWork;
  // A click on one of the seven buttons (1004, 32772, 32774, 32775, 32778,
  // 32777, 32776) runs its operation on m_dlgWork.
  void OnButton(int id);
};
