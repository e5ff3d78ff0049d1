#include "actions/shell_actions.h"

#include <string>

#include "actions/texts.h"

void ShellActions::Tell(const char* failure) {
  // Also the end of a compile that ran first: its console says the same.
  m_env.prompts.Notice(failure);
  m_verdict.Failed(failure, true);
  // The failure's own box is followed by what the platform knows of its cause.
  const std::string trouble = m_env.platform.OpenTrouble();
  if (!trouble.empty()) m_env.prompts.MessageBox(std::string(), trouble, BoxIcon::Stop);
}

void ShellActions::EditSource() {
  // Without a document the editor still opens, empty; the hint tells the
  // user where another editor can be registered.
  if (m_doc.Name().empty()) m_env.prompts.Notice(msg::kEditorHint);
  if (!m_env.platform.OpenEditor(m_config.Get().m_strEditor, m_doc.File(), m_doc.Dir()))
    Tell(msg::kEditorFailure);
}

void ShellActions::ViewDvi() {
  const std::string dvi = m_doc.Dir() + m_doc.Name() + ".dvi";
  // An existing DVI file is shown as it is, however old.
  if (!m_env.platform.Stat(dvi).exists && m_compiler.Compile() == 0) return;
  m_env.prompts.BeginWaitCursor();
  if (!m_env.platform.OpenDocument(dvi, m_doc.Dir())) Tell(m_env.platform.Values().texts.dviOpenFailure);
  m_env.prompts.EndWaitCursor();
}

void ShellActions::ViewPdf() {
  const std::string pdf = m_doc.Dir() + m_doc.Name() + ".pdf";
  int made = 0;
  if (!m_env.platform.Stat(pdf).exists) made = m_pdf.MakePdf();
  if (!m_env.platform.Stat(pdf).exists && made != 1) return;
  m_env.prompts.BeginWaitCursor();
  if (!m_env.platform.OpenDocument(m_doc.Name() + ".pdf", m_doc.Dir())) Tell(msg::kPdfOpenFailure);
  m_env.prompts.EndWaitCursor();
}

void ShellActions::OpenCommandPrompt() {
  // Without a document, or with a folder that cannot be entered, the prompt
  // opens where we are: nothing runs on the document there, and the user
  // sees which folder it is.
  m_env.platform.ChangeDir(m_doc.Dir());
  m_env.platform.StartCommandPrompt();
}

void ShellActions::CompileAndMakePdf() {
  if (m_compiler.Compile() != 0) m_pdf.MakePdf();
}
