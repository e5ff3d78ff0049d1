// Which operation a bar button runs, and where button actions run: a file
// that an action must read and cannot, a tool run the platform refuses,
// exhausted memory, or the user stopping a tool ends the whole action, and
// is reported here, once. The bar then waits for the next button.
#include <new>
#include <string>

#include "actions/errors.h"
#include "config/resource_ids.h"
#include "core/mirvan_dlg.h"
#include "core/texts.h"

namespace {

std::string WithPath(std::string text, const std::string& path) {
  const std::string::size_type at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

}  // namespace

std::function<void()> CMirvanDlg::ActionFor(int id) {
  switch (id) {
    case control::kEditSource: return [this] { EditSource(); };
    case control::kSelectFile: return [this] { SelectFile(); };
    case control::kCompile: return [this] { Compile(); };
    case control::kViewDvi: return [this] { ViewDvi(); };
    case control::kMakePdf: return [this] { MakePdf(); };
    case control::kViewPdf: return [this] { ViewPdf(); };
    case control::kCommandPrompt: return [this] { OpenCommandPrompt(); };
    case control::kSettings: return [this] { OpenSettings(); };
    case control::kCompileAndMakePdf: return [this] { CompileAndMakePdf(); };
    default: return {};
  }
}

ActionVerdict CMirvanDlg::RunAction(const std::function<void()>& action) {
  // The tools of one action share one console and one transcript.
  m_env.platform.BeginAction();
  m_verdict.Begin();
  m_problems.Begin(m_doc);
  try {
    action();
  } catch (const ActionStopped&) {
    m_verdict.Stopped(msg::kStoppedText);
  } catch (const FileError& e) {
    const std::string text = WithPath(msg::kFileNotFoundText, e.Path());
    m_env.prompts.MessageBox("", text, BoxIcon::Stop);
    m_verdict.Failed(text, true);
  } catch (const ToolRefused& e) {
    m_env.prompts.MessageBox("", e.what(), BoxIcon::Stop);
    m_verdict.Failed(e.what(), true);
  } catch (const MemoryError&) {
    m_env.prompts.MessageBox("", msg::kNoMemoryText, BoxIcon::Exclamation);
    m_verdict.Failed(msg::kNoMemoryText, true);
  } catch (const std::bad_alloc&) {
    m_env.prompts.MessageBox("", msg::kNoMemoryText, BoxIcon::Exclamation);
    m_verdict.Failed(msg::kNoMemoryText, true);
  }
  m_problems.End(m_doc);
  const ActionVerdict verdict = m_verdict.Verdict();
  m_env.platform.EndAction(verdict);
  return verdict;
}
