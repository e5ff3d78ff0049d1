// The Settings dialog's model: seven buttons that run configuration
// operations on a working instance of their own. What they change reaches
// the main window only through the settings file, read again on close.
#include <string>

#include "config/settings_keys.h"
#include "actions/settings_dlg.h"

// The working instance is never initialised as a window: its configuration
// starts empty, so each operation sees only what earlier buttons of the same
// opening set on it.
CSettingsDlg::CSettingsDlg(MirvanEnv env) : m_dlgWork(env) {}

void CSettingsDlg::OnButton(int id) {
  switch (id) {
    case 1004: m_dlgWork.ChooseEditor(); break;
    case 32772: m_dlgWork.ChangeTeX(); break;
    case 32774: m_dlgWork.ChooseBibTeX(); break;
    case 32775: m_dlgWork.ChooseDviPdf(); break;
    case 32778: m_dlgWork.ChooseMkIdx(); break;
    case 32777: m_dlgWork.EditMkIdxOptions(); break;
    case 32776: m_dlgWork.EditPdfSize(); break;
    default: break;
  }
}

void CMirvanDlg::OpenSettings() {
  CSettingsDlg dlg(Env());
  Prompts().ShowSettingsDialog(dlg);
  // However the dialog closed, the file now holds what its buttons wrote.
  ReloadSettings();
  // The question switch is not read from the file: it travels from the
  // working instance's last paper size OK.
  if (dlg.m_dlgWork.m_bPdfSizeOk) m_nPdfNShow = dlg.m_dlgWork.m_nPdfSizeOkShow;
}

void CMirvanDlg::ChooseEditor() {
  const PlatformValues& values = Platform().Values();
  FileDialogSpec request;
  request.filter = values.editorFilter;
  request.defExt = values.editorDefExt;
  request.initialName = values.editorInitialName;
  request.fileMustExist = true;
  request.hideReadOnly = true;
  request.ownedByMainWindow = false;
  std::string path;
  // Unlike the tool choosers, a cancel keeps the stored editor.
  if (!Prompts().PickFile(request, path)) return;
  m_strEditor = path;
  Profile().WriteProfileString(settings::kEditor, settings::kEdit, m_strEditor);
}
