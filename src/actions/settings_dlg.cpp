#include "actions/settings_dlg.h"

#include "config/resource_ids.h"

CSettingsDlg::CSettingsDlg(MirvanEnv env)
    : m_env(env), m_config(env.profile, env.platform.Values()), m_doc(env), m_tools(env, m_config, m_doc, m_verdict) {}

void CSettingsDlg::OnButton(int id) {
  switch (id) {
    case control::kChooseEditor: m_tools.ChooseEditor(); break;
    case control::kChangeTeX: m_tools.ChangeTeX(); break;
    case control::kChooseBibTeX: m_tools.ChooseBibTeX(); break;
    case control::kChooseDviPdf: m_tools.ChooseDviPdf(); break;
    case control::kChooseMkIdx: m_tools.ChooseMkIdx(); break;
    case control::kMkIdxOptions: m_config.EditMkIdxOptions(m_env.prompts); break;
    case control::kPdfSize: m_config.PdfSizeExchange(m_env.prompts); break;
    default: break;
  }
}
