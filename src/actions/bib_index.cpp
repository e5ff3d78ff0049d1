// The bibliography and index runs of a compile. Both run their program once
// on the document; when it cannot be started under its configured name they
// look for it in the probe folders, and then let the user pick it.
#include <string>
#include <vector>

#include "actions/compile_driver.h"
#include "actions/texts.h"
#include "actions/tool_names.h"
#include "text/mbcs.h"

namespace {

struct AuxTool {
  TextSetting program;
  std::string fallbackJapanese;  // when the compiler is a pLaTeX
  const char* fallbackOther;
  int (ToolRunner::*choose)();
  const char* errorText;
  const char* notStartedText;
  const char* hintText;
};

// The names and texts that name program files are the platform's.
AuxTool BibTeXRun(const PlatformValues& v) {
  return {&ToolSettings::m_strBib,  v.japaneseBibTeX,      tool::kBibTeX,
          &ToolRunner::ChooseBibTeX, v.texts.bibTeXError, msg::kBibTeXNotStarted, v.texts.bibTeXHint};
}
AuxTool MakeIndexRun(const PlatformValues& v) {
  return {&ToolSettings::m_strMkIdx, tool::kMendex,        tool::kMakeIndex,
          &ToolRunner::ChooseMkIdx,  v.texts.mkIdxError, msg::kMkIdxNotStarted, v.texts.mkIdxHint};
}

// Up to five runs: the configured program, one per probe folder, and the
// picked one. 1 only when a run ended with status 0.
int RunAuxTool(IPrompts& prompts, ToolConfig& config, ToolRunner& tools, const AuxTool& t,
               const std::vector<std::string>& args) {
  const std::string program = config.Get().*t.program;
  const int r = tools.RunTool(program, args);
  if (r == 0) return 1;
  if (r != -1 || tools.NamesProgramFile(program)) {
    prompts.Notice(t.errorText);
    return 0;
  }

  // Kept in memory only: the next load of the configuration forgets it.
  const bool japanese = mbcs::Contains(config.Get().m_strTeX, tool::kPLaTeX);
  config.Set(t.program, japanese ? t.fallbackJapanese : t.fallbackOther);

  const ToolRunner::Found found = tools.ProbeThenPick(t.program, args, true, [&] {
    prompts.Notice(t.notStartedText);
    if ((tools.*t.choose)() != 0) return true;
    prompts.Notice(t.errorText);
    return false;
  });
  switch (found.way) {
    case ToolRunner::Found::Way::None:
      return 0;
    case ToolRunner::Found::Way::Probed:
      if (found.status == 0) {
        config.Store(t.program, found.program);
        return 1;
      }
      // It is there but fails on this document: picking another file would
      // not help, running it by hand shows why.
      prompts.Notice(t.hintText);
      return 0;
    case ToolRunner::Found::Way::Picked:
      break;
  }
  if (found.status == 0) return 1;
  prompts.Notice(t.errorText);
  return 0;
}

}  // namespace

int CompileDriver::RunBibTeX() {
  return RunAuxTool(m_env.prompts, m_config, m_tools, BibTeXRun(m_env.platform.Values()),
                    {m_tools.DocumentArgument()});
}

int CompileDriver::RunMakeIndex() {
  if (m_config.Get().m_nMkIdxNvr == 0) m_config.EditMkIdxOptions(m_env.prompts);
  // The options are the user's words; the document name stays one word.
  std::vector<std::string> args = mbcs::SplitWords(m_config.Get().m_strMkIdxOpt);
  args.push_back(m_tools.DocumentArgument());
  return RunAuxTool(m_env.prompts, m_config, m_tools, MakeIndexRun(m_env.platform.Values()), args);
}
