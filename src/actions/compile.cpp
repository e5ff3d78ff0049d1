// The TeX button: run the compiler as often as the document needs, with
// BibTeX and the index program in between, judging everything from the files
// the compiler leaves next to the document.
#include <cstdint>
#include <optional>
#include <string>

#include "actions/compile_driver.h"
#include "actions/markers.h"
#include "actions/problems.h"
#include "actions/read_file.h"
#include "actions/texts.h"
#include "actions/tool_names.h"
#include "text/mbcs.h"

namespace ct = compile_text;

namespace {

// TeX writes these markers as lines of their own. Looking for them only at
// the start of a line keeps document text out: a Shift-JIS title such as
// 表bibdata holds the bytes of "\bibdata" (表 ends in 0x5C), which only a
// CP932 system would otherwise tell apart.
bool StartsALine(const std::string& text, const std::string& marker) {
  return text.compare(0, marker.size(), marker) == 0 || mbcs::Contains(text, "\n" + marker);
}

constexpr std::size_t kMaxWarningLines = 200;

// The log's warnings, each on a line of its own with the file and line it
// names, without repeats: what the warning box unfolds.
std::string WarningLines(const std::string& log, const std::string& docDir, const PlatformValues& values) {
  texlog::Options options;
  options.docDir = docDir;
  options.windowsPaths = values.pathStyle == mbcs::PathStyle::Windows;
  const texlog::Report report = texlog::ReadTeXLog(log, options);
  std::string out;
  std::size_t kept = 0;
  for (const texlog::Entry& e : report.entries) {
    if (e.kind != texlog::Kind::Warning || kept >= kMaxWarningLines) continue;
    const std::string line = ProblemList::LineOf(e) + "\n";
    if (out.find(line) != std::string::npos) continue;
    out += line;
    ++kept;
  }
  return out;
}

// The working state of one Compile call. Nothing of it outlives the call, so
// every press starts over from fresh snapshots.
class CompileRun {
 public:
  CompileRun(CompileDriver& driver, MirvanEnv env, const ToolConfig& config, const Document& doc,
             ToolRunner& tools, VerdictLog& verdict)
      : m_driver(driver),
        m_env(env),
        m_config(config),
        m_tools(tools),
        m_verdict(verdict),
        m_dir(doc.Dir()),
        m_name(doc.Name()) {}

  int Full();
  // Why Full returned 0 after the compiler ran; empty otherwise.
  const char* Failure() const { return m_failure; }

 private:
  std::string DocPath(const char* ext) const { return m_dir + m_name + ext; }
  IPlatform& Platform() { return m_env.platform; }

  // m_strTeX is read afresh each time: a compiler that LocateTeX found during
  // this call is the one used for the remaining runs.
  int RunCompiler() { return m_tools.RunTool(m_config.Get().m_strTeX, {m_tools.DocumentArgument()}); }

  std::optional<std::string> TextIfExists(const std::string& path) {
    if (!Platform().Stat(path).exists) return std::nullopt;
    std::string text;
    ReadWholeFile(path, text);
    return text;
  }
  std::optional<std::int64_t> TimeIfExists(const std::string& path) {
    const FileStatus st = Platform().Stat(path);
    if (!st.exists) return std::nullopt;
    return st.mtimeNs;
  }
  // The log goes by its bare name: the working directory is the document's
  // by now, and a missing log is reported under that name.
  void ReadLog() { ReadWholeFile(m_name + ".log", m_logText); }
  bool Aborted() {
    const bool stopped =
        mbcs::Contains(m_logText, marker::kStoppedLower) || mbcs::Contains(m_logText, marker::kStoppedUpper);
    if (stopped) m_failure = ct::kFailedStopped;
    return stopped;
  }
  void NoteWarning() { m_warningFound = mbcs::Contains(m_logText, marker::kLaTeXWarning); }

  int BibStage();
  bool IndexStageAborted();
  int Finish();

  CompileDriver& m_driver;
  MirvanEnv m_env;
  const ToolConfig& m_config;
  ToolRunner& m_tools;
  VerdictLog& m_verdict;
  const std::string m_dir;
  const std::string m_name;
  std::optional<std::string> m_tocBefore;
  std::optional<std::string> m_auxBefore;
  std::optional<std::int64_t> m_dviTimeBefore;
  std::optional<std::int64_t> m_idxTimeBefore;
  std::string m_logText;
  bool m_warningFound = false;
  const char* m_failure = "";
};

int CompileRun::Full() {
  // Snapshots, in this order, all before the first run.
  m_tocBefore = TextIfExists(DocPath(".toc"));
  m_auxBefore = TextIfExists(DocPath(".aux"));
  m_dviTimeBefore = TimeIfExists(DocPath(".dvi"));
  m_idxTimeBefore = TimeIfExists(DocPath(".idx"));

  // The first run's exit status says nothing: platex exits non-zero after
  // errors the user chose to scroll past. Only the .dvi and the log count.
  if (RunCompiler() == -1 && m_tools.LocateTeX() == 0) return 0;

  // The .dvi must be new. Full-resolution times: a quick document compiled
  // twice within one second still gets a strictly newer .dvi.
  const std::optional<std::int64_t> dviNow = TimeIfExists(DocPath(".dvi"));
  m_failure = ct::kFailedNoDvi;
  if (!dviNow) return 0;
  if (m_dviTimeBefore && *m_dviTimeBefore >= *dviNow) return 0;
  m_failure = "";

  ReadLog();
  if (Aborted()) return 0;

  const int bibStatus = BibStage();
  if (bibStatus == 0) {
    ReadLog();
    if (Aborted()) return 0;
  }

  if (IndexStageAborted()) return 0;
  return Finish();
}

// Returns the exit status of the compiler run this stage made, 1 when it
// made none.
int CompileRun::BibStage() {
  int bibStatus = 1;
  const std::string noBbl = std::string(marker::kNoFile) + m_name + marker::kBblExtension;
  if (StartsALine(m_logText, noBbl)) {
    if (m_driver.RunBibTeX() != 0) bibStatus = RunCompiler();
    return bibStatus;
  }
  // A document under \nofiles writes no .aux; that is no reason to fail.
  const std::string auxNow = TextIfExists(DocPath(".aux")).value_or(std::string());
  if (StartsALine(auxNow, marker::kBibData)) {
    if (m_driver.RunBibTeX() != 0) bibStatus = RunCompiler();
  } else if (m_auxBefore && *m_auxBefore != auxNow) {
    bibStatus = RunCompiler();
  }
  return bibStatus;
}

bool CompileRun::IndexStageAborted() {
  const std::optional<std::int64_t> idxNow = TimeIfExists(DocPath(".idx"));
  if (!idxNow) return false;
  if (m_idxTimeBefore && *m_idxTimeBefore >= *idxNow) return false;
  if (m_driver.RunMakeIndex() == 0) return false;
  if (RunCompiler() != 0) return false;
  ReadLog();
  return Aborted();
}

int CompileRun::Finish() {
  const std::optional<std::string> tocNow = TextIfExists(DocPath(".toc"));
  ReadLog();
  NoteWarning();
  const bool labelsFound = mbcs::Contains(m_logText, marker::kLabels);
  if (Aborted()) return 0;

  // An absent text compares as the empty one.
  const std::string tocNowText = tocNow.value_or(std::string());
  enum class Branch { RunAndCompare, OneMoreRun, Done };
  Branch branch;
  if (m_tocBefore) {
    if (labelsFound)
      branch = Branch::RunAndCompare;
    else
      branch = *m_tocBefore != tocNowText ? Branch::OneMoreRun : Branch::Done;
  } else if (tocNow) {
    branch = labelsFound ? Branch::RunAndCompare : Branch::OneMoreRun;
  } else {
    branch = labelsFound ? Branch::OneMoreRun : Branch::Done;
  }

  m_failure = ct::kFailedLastRun;
  if (branch == Branch::RunAndCompare) {
    if (RunCompiler() != 0) return 0;
    // The .toc may vanish while labels still settle; absent reads as empty.
    const std::string tocAgain = TextIfExists(DocPath(".toc")).value_or(std::string());
    ReadLog();
    NoteWarning();
    branch = tocAgain == tocNowText ? Branch::Done : Branch::OneMoreRun;
  }
  if (branch == Branch::OneMoreRun) {
    const int lastStatus = RunCompiler();
    ReadLog();
    NoteWarning();
    if (lastStatus != 0) return 0;
  }
  m_failure = "";

  if (m_warningFound) {
    m_env.prompts.MessageBoxWithDetails(ct::kWarningCaption, ct::kWarningText, BoxIcon::Exclamation,
                                        WarningLines(m_logText, m_dir, m_env.platform.Values()));
    m_verdict.Succeeded(ct::kWarningText, true);
  } else {
    m_verdict.Succeeded(ct::CompiledText());
  }
  return 1;
}

}  // namespace

int CompileDriver::Compile() {
  if (m_doc.Name().empty()) {
    m_env.prompts.Notice(ct::kNoDocumentText);
    m_verdict.Failed(ct::kNoDocumentText, true);
    return 0;
  }
  if (!m_tools.DocumentNameReadable() || !m_tools.EnterDocumentFolder()) return 0;

  // Plain TeX and friends leave nothing to judge: a start is a success.
  const std::string& tex = m_config.Get().m_strTeX;
  if (!mbcs::Contains(tex, tool::kLaTeX)) {
    if (m_tools.RunTool(tex, {m_tools.DocumentArgument()}) == -1 && m_tools.LocateTeX() == 0) return 0;
    m_verdict.Succeeded(ct::CompiledText());
    return 1;
  }
  CompileRun run(*this, m_env, m_config, m_doc, m_tools, m_verdict);
  const int result = run.Full();
  // Without a text of its own, the failure is one a box has told already.
  if (result == 0 && *run.Failure()) m_verdict.Failed(run.Failure(), false);
  return result;
}
