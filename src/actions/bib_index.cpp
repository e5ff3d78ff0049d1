// The bibliography and index runs of a compile. Both run their program once
// on the document; when it cannot be started under its configured name they
// look for it in the probe folders, and then let the user pick it.
#include <string>
#include <vector>

#include "actions/messages.h"
#include "actions/tool_names.h"
#include "core/mirvan_dlg.h"
#include "text/mbcs.h"

namespace {

struct AuxTool {
  std::string CMirvanDlg::*program;
  const char* key;
  std::string fallbackJapanese;  // when the compiler is a pLaTeX
  const char* fallbackOther;
  int (CMirvanDlg::*choose)();
  const char* errorText;
  const char* notStartedText;
  const char* hintText;
};

// The names and texts that name program files are the platform's.
AuxTool BibTeXRun(const PlatformValues& v) {
  return {&CMirvanDlg::m_strBib,     tool::kKeyBib,        v.japaneseBibTeX,      tool::kBibTeX,
          &CMirvanDlg::ChooseBibTeX, v.texts.bibTeXError, msg::kBibTeXNotStarted, v.texts.bibTeXHint};
}
AuxTool MakeIndexRun(const PlatformValues& v) {
  return {&CMirvanDlg::m_strMkIdx,  tool::kKeyMkIdx,     tool::kMendex,          tool::kMakeIndex,
          &CMirvanDlg::ChooseMkIdx, v.texts.mkIdxError, msg::kMkIdxNotStarted, v.texts.mkIdxHint};
}

// Up to five runs: the configured program, one per probe folder, and the
// picked one. 1 only when a run ended with status 0.
int RunAuxTool(CMirvanDlg& dlg, const AuxTool& t, const std::vector<std::string>& args) {
  std::string& program = dlg.*t.program;
  int r = dlg.RunTool(program, args);
  if (r == 0) return 1;
  if (r != -1 || dlg.NamesProgramFile(program)) {
    dlg.Prompts().Notice(t.errorText);
    return 0;
  }

  // Kept in memory only: the next load of the configuration forgets it.
  program = CMirvanDlg::Contains(dlg.m_strTeX, tool::kPLaTeX) ? t.fallbackJapanese : t.fallbackOther;

  const PlatformValues& values = dlg.Platform().Values();
  for (const std::string& folder : values.probeFolders) {
    const std::string candidate = folder + program + values.probeSuffix;
    r = dlg.RunTool(candidate, args);
    if (r == 0) {
      program = candidate;
      dlg.Profile().WriteProfileString(tool::kSection, t.key, program);
      return 1;
    }
    if (r != -1) {
      // It is there but fails on this document: picking another file would
      // not help, running it by hand shows why.
      dlg.Prompts().Notice(t.hintText);
      return 0;
    }
  }

  dlg.Prompts().Notice(t.notStartedText);
  if ((dlg.*t.choose)() == 0) {
    dlg.Prompts().Notice(t.errorText);
    return 0;
  }
  // The file dialog may have moved the working directory.
  if (!dlg.EnterDocumentFolder()) return 0;
  if (dlg.RunTool(program, args) == 0) return 1;
  dlg.Prompts().Notice(t.errorText);
  return 0;
}

}  // namespace

int CMirvanDlg::RunBibTeX() { return RunAuxTool(*this, BibTeXRun(Platform().Values()), {DocumentArgument()}); }

int CMirvanDlg::RunMakeIndex() {
  if (m_nMkIdxNvr == 0) EditMkIdxOptions();
  // The options are the user's words; the document name stays one word.
  std::vector<std::string> args = mbcs::SplitWords(m_strMkIdxOpt);
  args.push_back(DocumentArgument());
  return RunAuxTool(*this, MakeIndexRun(Platform().Values()), args);
}
