// Where button actions run: a file that an action must read and cannot, or
// exhausted memory, ends the whole action and is reported here, once. The bar
// then waits for the next button.
#include <new>
#include <string>

#include "core/errors.h"
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

bool CMirvanDlg::RunAction(const std::function<void()>& action) {
  // The tools of one action share one console and one transcript.
  Platform().BeginAction();
  bool completed = false;
  try {
    action();
    completed = true;
  } catch (const FileError& e) {
    const std::string text = WithPath(kFileNotFoundText, e.Path());
    Platform().NoteFailure(text);
    Prompts().MessageBox("", text, BoxIcon::Stop);
  } catch (const MemoryError&) {
    Platform().NoteFailure(kNoMemoryText);
    Prompts().MessageBox("", kNoMemoryText, BoxIcon::Exclamation);
  } catch (const std::bad_alloc&) {
    Prompts().MessageBox("", kNoMemoryText, BoxIcon::Exclamation);
  }
  Platform().EndAction();
  return completed;
}
