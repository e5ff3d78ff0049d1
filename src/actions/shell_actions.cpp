// The buttons that open things: the editor, the DVI and PDF viewers, the
// command prompt, and compile-then-convert.
#include <string>

#include "actions/messages.h"
#include "core/mirvan_dlg.h"

void CMirvanDlg::EditSource() {
  // Without a document the editor still opens, empty; the hint tells the
  // user where another editor can be registered.
  if (m_strName.empty()) Prompts().Notice(msg::kEditorHint);
  if (!Platform().OpenEditor(m_strEditor, m_strFile, m_strDir)) Prompts().Notice(msg::kEditorFailure);
}

void CMirvanDlg::ViewDvi() {
  const std::string dvi = m_strDir + m_strName + ".dvi";
  // An existing DVI file is shown as it is, however old.
  if (!Platform().Stat(dvi).exists && Compile() == 0) return;
  Prompts().BeginWaitCursor();
  if (!Platform().OpenDocument(dvi, m_strDir)) Prompts().Notice(Platform().Values().texts.dviOpenFailure);
  Prompts().EndWaitCursor();
}

void CMirvanDlg::ViewPdf() {
  const std::string pdf = m_strDir + m_strName + ".pdf";
  int made = 0;
  if (!Platform().Stat(pdf).exists) made = MakePdf();
  if (!Platform().Stat(pdf).exists && made != 1) return;
  Prompts().BeginWaitCursor();
  if (!Platform().OpenDocument(m_strName + ".pdf", m_strDir)) Prompts().Notice(msg::kPdfOpenFailure);
  Prompts().EndWaitCursor();
}

void CMirvanDlg::OpenCommandPrompt() {
  // Without a document the prompt opens where we are.
  if (!EnterDocumentFolder()) return;
  Platform().StartCommandPrompt();
}

void CMirvanDlg::CompileAndMakePdf() {
  if (Compile() != 0) MakePdf();
}
