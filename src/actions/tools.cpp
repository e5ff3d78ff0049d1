// Starting the tools, finding the TeX compiler, and letting the user pick a
// tool's program file.
#include <string>
#include <vector>

#include "actions/messages.h"
#include "actions/tool_names.h"
#include "core/mirvan_dlg.h"
#include "text/mbcs.h"

namespace {

// The question and the failure text name the compiler with a "%s".
std::string WithName(const char* text, const std::string& name) {
  std::string out(text);
  const std::string hole = "%s";
  for (std::size_t at = out.find(hole); at != std::string::npos; at = out.find(hole, at + name.size()))
    out.replace(at, hole.size(), name);
  return out;
}

// The picker for program files: every chooser opens the same one.
FileDialogSpec ProgramFileDialog(const PlatformValues& values) {
  FileDialogSpec dialog;
  dialog.filter = values.programFilter;
  dialog.defExt.clear();
  dialog.initialName.clear();
  dialog.fileMustExist = true;
  dialog.hideReadOnly = true;
  return dialog;
}

// One ask-then-pick chooser: which member and key it sets, the bare name it
// falls back to, and what it asks first.
struct Chooser {
  std::string CMirvanDlg::*member;
  const char* key;
  std::string restored;
  const char* question;
};

int AskThenPick(CMirvanDlg& dlg, const Chooser& c) {
  std::string path;
  if (dlg.Prompts().AskOkCancel(c.question) &&
      dlg.Prompts().PickFile(ProgramFileDialog(dlg.Platform().Values()), path)) {
    dlg.*c.member = path;
    dlg.Profile().WriteProfileString(tool::kSection, c.key, path);
    return 1;
  }
  // Declining resets the tool so the bare default is tried from now on.
  dlg.*c.member = c.restored;
  dlg.Profile().DeleteProfileKey(tool::kSection, c.key);
  return 0;
}

}  // namespace

int CMirvanDlg::RunTool(const std::string& program, const std::vector<std::string>& args) {
  return Platform().RunTool(program, args);
}

bool CMirvanDlg::EnterDocumentFolder() {
  if (m_strDir.empty() || Platform().ChangeDir(m_strDir)) return true;
  // Running on in another folder would compile some other file of the same
  // name there, or none, and say nothing.
  Prompts().MessageBox(std::string(), msg::kFolderUnreachable + m_strDir, BoxIcon::Stop);
  return false;
}

std::string CMirvanDlg::DocumentArgument() const {
  // The tools run in the document's folder, so ./ names the same file.
  return !m_strName.empty() && m_strName[0] == '-' ? "./" + m_strName : m_strName;
}

int CMirvanDlg::LocateTeX() {
  // Both texts keep naming the compiler that failed, even after a new one
  // has been picked below.
  const std::string question = WithName(Platform().Values().texts.locateTeXQuestion, m_strTeX);
  const std::string hint = msg::kLocateTeXHint;
  const std::string failure = WithName(msg::kLocateTeXFailure, m_strTeX);

  if (!NamesProgramFile(m_strTeX)) {
    const PlatformValues& values = Platform().Values();
    for (const std::string& folder : values.probeFolders) {
      const std::string candidate = folder + m_strTeX + values.probeSuffix;
      // A compiler that starts has run on the document, errors or not.
      if (RunTool(candidate, {DocumentArgument()}) != -1) {
        m_strTeX = candidate;
        Profile().WriteProfileString(tool::kSection, tool::kKeyTeX, m_strTeX);
        return 1;
      }
    }
  }

  if (!Prompts().AskOkCancel(question)) {
    m_strTeX = tool::kPLaTeX;
    Profile().DeleteProfileKey(tool::kSection, tool::kKeyTeX);
    Prompts().Notice(hint);
    return 0;
  }
  if (!ChooseTeX()) {
    Prompts().Notice(hint);
    return 0;
  }
  // The file dialog may have moved the working directory.
  if (!EnterDocumentFolder()) return 0;
  if (RunTool(m_strTeX, {DocumentArgument()}) != -1) return 1;
  Prompts().Notice(failure);
  return 0;
}

int CMirvanDlg::ChooseTeX() {
  std::string path;
  if (!Prompts().PickFile(ProgramFileDialog(Platform().Values()), path)) return 0;
  m_strTeX = path;
  Profile().WriteProfileString(tool::kSection, tool::kKeyTeX, m_strTeX);
  if (!Contains(m_strTeX, tool::kLaTeX)) return 1;

  // A LaTeX installation keeps its companions next to the compiler.
  const std::size_t sep = mbcs::FindLastOf(m_strTeX, Platform().Values().separator);
  const std::string folder = sep == std::string::npos ? std::string() : m_strTeX.substr(0, sep + 1);

  if (!NamesProgramFile(m_strDviPdf)) {
    m_strDviPdf = folder + tool::kDvipdfmx;
    Profile().WriteProfileString(tool::kSection, tool::kKeyDviPdf, m_strDviPdf);
  }
  const bool japanese = Contains(m_strTeX, tool::kPLaTeX);
  m_strBib = folder + (japanese ? Platform().Values().japaneseBibTeX : tool::kBibTeX);
  m_strMkIdx = folder + (japanese ? tool::kMendex : tool::kMakeIndex);
  Profile().WriteProfileString(tool::kSection, tool::kKeyBib, m_strBib);
  Profile().WriteProfileString(tool::kSection, tool::kKeyMkIdx, m_strMkIdx);
  return 1;
}

void CMirvanDlg::ChangeTeX() {
  if (Prompts().AskOkCancel(Platform().Values().texts.changeTeXQuestion)) {
    ChooseTeX();  // a cancelled pick leaves everything as it was
    return;
  }
  m_strTeX = tool::kPLaTeX;
  Profile().DeleteProfileKey(tool::kSection, tool::kKeyTeX);
}

int CMirvanDlg::ChooseBibTeX() {
  const PlatformValues& values = Platform().Values();
  return AskThenPick(*this, {&CMirvanDlg::m_strBib, tool::kKeyBib, values.japaneseBibTeX,
                             values.texts.chooseBibTeXQuestion});
}

int CMirvanDlg::ChooseMkIdx() {
  return AskThenPick(*this, {&CMirvanDlg::m_strMkIdx, tool::kKeyMkIdx, tool::kMendex,
                             Platform().Values().texts.chooseMkIdxQuestion});
}

int CMirvanDlg::ChooseDviPdf() {
  return AskThenPick(*this,
                     {&CMirvanDlg::m_strDviPdf, tool::kKeyDviPdf, tool::kDvipdfmx,
                      Platform().Values().texts.chooseDviPdfQuestion});
}
