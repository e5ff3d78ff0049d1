#include "core/mirvan_dlg.h"

#include <optional>

#include "actions/editor_command.h"
#include "actions/texts.h"
#include "actions/settings_dlg.h"

CMirvanDlg::CMirvanDlg(MirvanEnv env)
    : m_env(env),
      m_config(env.profile, env.platform.Values()),
      m_doc(env),
      m_tools(env, m_config, m_doc, m_verdict),
      m_compiler(env, m_config, m_doc, m_tools, m_verdict),
      m_pdf(env, m_config, m_doc, m_tools, m_compiler, m_verdict),
      m_shell(env, m_config, m_doc, m_tools, m_compiler, m_pdf, m_verdict),
      m_problems(env) {}

void CMirvanDlg::InitDialogCore() {
  m_config.LoadStartupRule();
  m_doc.LoadHistory();
  m_config.LoadPrograms();
  m_doc.LoadHistoryFinish();
}

void CMirvanDlg::OpenSettings() {
  CSettingsDlg dlg(m_env);
  m_env.prompts.ShowSettingsDialog(dlg);
  // However the dialog closed, the file now holds what its buttons wrote.
  m_config.Reload();
  // The question switch is not read from the file: it travels from the
  // working copy's last paper size OK.
  if (const std::optional<int> show = dlg.Work().PdfSizeOkShow())
    m_config.Set(&ToolSettings::m_nPdfNShow, *show);
}

void CMirvanDlg::OpenProblem(const texlog::Entry& entry) {
  const std::string path = m_problems.PathOf(entry);
  if (path.empty()) return;
  if (!editor::OpenAtLine(m_env.platform, m_config.Get(), path, entry.line, m_doc.Dir()))
    m_env.prompts.Notice(msg::kEditorFailure);
}
