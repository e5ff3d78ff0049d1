#include "actions/tool_runner.h"

#include "actions/errors.h"
#include "actions/tex_name.h"
#include "actions/texts.h"
#include "actions/tool_names.h"
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
FileRequest ProgramFileRequest(const PlatformValues& values) {
  FileRequest request;
  request.types = values.programTypes;
  request.defExt.clear();
  request.initialName.clear();
  request.fileMustExist = true;
  request.hideReadOnly = true;
  return request;
}

}  // namespace

int ToolRunner::RunTool(const std::string& program, const std::vector<std::string>& args) {
  const int status = m_env.platform.RunTool(program, args);
  // Whatever the stopped tool's status says, what follows it in the action
  // was asked for by nobody: no later run, no question about this one.
  if (m_env.platform.ActionStopped()) throw ActionStopped();
  return status;
}

bool ToolRunner::EnterDocumentFolder() {
  // Without a document there is no folder to go to (a document always has
  // one: a bare name is in the folder the program started in).
  const std::string& dir = m_doc.Dir();
  if (dir.empty() || m_env.platform.ChangeDir(dir)) return true;
  // Running on in another folder would compile some other file of the same
  // name there, or none, and say nothing.
  const std::string text = msg::kFolderUnreachable + dir;
  m_env.prompts.MessageBox(std::string(), text, BoxIcon::Stop);
  m_verdict.Failed(text, true);
  return false;
}

std::string ToolRunner::DocumentArgument() const {
  // The tools run in the document's folder, so ./ names the same file.
  const std::string& name = m_doc.Name();
  return !name.empty() && name[0] == '-' ? "./" + name : name;
}

bool ToolRunner::DocumentNameReadable() {
  const char* hazard = TeXNameHazard(DocumentArgument());
  if (!hazard) return true;
  const mbcs::PathParts parts =
      mbcs::SplitPath(m_doc.File(), mbcs::SystemCodePage(), m_env.platform.Values().pathStyle);
  std::string text = msg::kNameRefused;
  text.replace(text.find("%1"), 2, hazard);
  text.replace(text.find("%2"), 2, parts.fname + parts.ext);
  m_env.prompts.MessageBox(std::string(), text, BoxIcon::Stop);
  m_verdict.Failed(text, true);
  return false;
}

bool ToolRunner::NamesProgramFile(const std::string& program) const {
  return mbcs::Contains(program, m_env.platform.Values().programFileMarker);
}

ToolRunner::Found ToolRunner::ProbeThenPick(TextSetting tool, const std::vector<std::string>& args, bool probe,
                                            const std::function<bool()>& pick) {
  Found found;
  if (probe) {
    const PlatformValues& values = m_env.platform.Values();
    for (const std::string& folder : values.probeFolders) {
      found.program = folder + m_config.Get().*tool + values.probeSuffix;
      found.status = RunTool(found.program, args);
      if (found.status != -1) {
        found.way = Found::Way::Probed;
        return found;
      }
    }
  }
  if (!pick()) return Found();
  // The file dialog may have moved the working directory.
  if (!EnterDocumentFolder()) return Found();
  found.way = Found::Way::Picked;
  found.program = m_config.Get().*tool;
  found.status = RunTool(found.program, args);
  return found;
}

int ToolRunner::LocateTeX() {
  const std::string tex = m_config.Get().m_strTeX;
  // Both texts keep naming the compiler that failed, even after a new one
  // has been picked below.
  const std::string question = WithName(m_env.platform.Values().texts.locateTeXQuestion, tex);
  const std::string failure = WithName(msg::kLocateTeXFailure, tex);
  IPrompts& prompts = m_env.prompts;

  const Found found = ProbeThenPick(&ToolSettings::m_strTeX, {DocumentArgument()}, !NamesProgramFile(tex), [&] {
    if (!prompts.AskOkCancel(question)) m_config.Forget(&ToolSettings::m_strTeX);
    else if (ChooseTeX()) return true;
    prompts.Notice(msg::kLocateTeXHint);
    m_verdict.Failed(failure, true);
    return false;
  });
  switch (found.way) {
    case Found::Way::None:
      return 0;
    case Found::Way::Probed:
      // A compiler that starts has run on the document, errors or not.
      m_config.Store(&ToolSettings::m_strTeX, found.program);
      return 1;
    case Found::Way::Picked:
      break;
  }
  if (found.status != -1) return 1;
  prompts.Notice(failure);
  m_verdict.Failed(failure, true);
  return 0;
}

int ToolRunner::ChooseTeX() {
  std::string path;
  if (!m_env.prompts.PickFile(ProgramFileRequest(m_env.platform.Values()), path)) return 0;
  m_config.Store(&ToolSettings::m_strTeX, path);
  if (!mbcs::Contains(path, tool::kLaTeX)) return 1;

  // A LaTeX installation keeps its companions next to the compiler.
  const std::size_t sep = mbcs::FindLastOf(path, m_env.platform.Values().separator);
  const std::string folder = sep == std::string::npos ? std::string() : path.substr(0, sep + 1);

  if (!NamesProgramFile(m_config.Get().m_strDviPdf))
    m_config.Store(&ToolSettings::m_strDviPdf, folder + tool::kDvipdfmx);
  const bool japanese = mbcs::Contains(path, tool::kPLaTeX);
  m_config.Store(&ToolSettings::m_strBib, folder + (japanese ? m_env.platform.Values().japaneseBibTeX : tool::kBibTeX));
  m_config.Store(&ToolSettings::m_strMkIdx, folder + (japanese ? tool::kMendex : tool::kMakeIndex));
  return 1;
}

void ToolRunner::ChangeTeX() {
  if (m_env.prompts.AskOkCancel(m_env.platform.Values().texts.changeTeXQuestion)) {
    ChooseTeX();  // a cancelled pick leaves everything as it was
    return;
  }
  m_config.Forget(&ToolSettings::m_strTeX);
}

int ToolRunner::AskThenPick(TextSetting tool, const std::string& question) {
  std::string path;
  if (m_env.prompts.AskOkCancel(question) &&
      m_env.prompts.PickFile(ProgramFileRequest(m_env.platform.Values()), path)) {
    m_config.Store(tool, path);
    return 1;
  }
  // Declining resets the tool so the bare default is tried from now on.
  m_config.Forget(tool);
  return 0;
}

int ToolRunner::ChooseBibTeX() {
  const PlatformValues& values = m_env.platform.Values();
  return AskThenPick(&ToolSettings::m_strBib, values.texts.chooseBibTeXQuestion);
}

int ToolRunner::ChooseMkIdx() {
  return AskThenPick(&ToolSettings::m_strMkIdx, m_env.platform.Values().texts.chooseMkIdxQuestion);
}

int ToolRunner::ChooseDviPdf() {
  return AskThenPick(&ToolSettings::m_strDviPdf, m_env.platform.Values().texts.chooseDviPdfQuestion);
}

void ToolRunner::ChooseEditor() {
  const PlatformValues& values = m_env.platform.Values();
  FileRequest request;
  request.types = values.editorTypes;
  request.defExt = values.editorDefExt;
  request.initialName = values.editorInitialName;
  request.fileMustExist = true;
  request.hideReadOnly = true;
  request.ownedByMainWindow = false;
  std::string path;
  // Unlike the tool choosers, a cancel keeps the stored editor.
  if (!m_env.prompts.PickFile(request, path)) return;
  m_config.Store(&ToolSettings::m_strEditor, path);
}
