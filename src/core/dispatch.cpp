// Which operation a bar button runs, and where button actions run: a file
// that an action must read and cannot, a tool run the platform refuses, or
// exhausted memory, ends the whole action and is reported here, once. The
// bar then waits for the next button.
#include <new>
#include <string>

#include "actions/errors.h"
#include "config/control_ids.h"
#include "core/mirvan_dlg.h"

namespace {

constexpr const char kFileNotFoundText[] = "%1 が見つかりませんでした。";
constexpr const char kNoMemoryText[] = "ﾒﾓﾘが不足しています。";

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

bool CMirvanDlg::RunAction(const std::function<void()>& action) {
  // The tools of one action share one console and one transcript.
  m_env.platform.BeginAction();
  bool completed = false;
  try {
    action();
    completed = true;
  } catch (const FileError& e) {
    const std::string text = WithPath(kFileNotFoundText, e.Path());
    m_env.platform.NoteFailure(text);
    m_env.prompts.MessageBox("", text, BoxIcon::Stop);
  } catch (const ToolRefused& e) {
    m_env.platform.NoteFailure(e.what());
    m_env.prompts.MessageBox("", e.what(), BoxIcon::Stop);
  } catch (const MemoryError&) {
    m_env.platform.NoteFailure(kNoMemoryText);
    m_env.prompts.MessageBox("", kNoMemoryText, BoxIcon::Exclamation);
  } catch (const std::bad_alloc&) {
    m_env.prompts.MessageBox("", kNoMemoryText, BoxIcon::Exclamation);
  }
  m_env.platform.EndAction();
  return completed;
}
