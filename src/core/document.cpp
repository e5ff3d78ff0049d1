// The current document and the history box: how a document is chosen (drop,
// file dialog, history entry, command line), how its path is split into the
// folder and name that every tool run uses, and how the history survives
// between runs (section "RFL", keys File0..File15, most recent first).
#include <string>
#include <vector>

#include "config/settings_keys.h"
#include "core/mirvan_dlg.h"
#include "text/mbcs.h"

namespace {

using settings::kHistory;
using settings::kHistoryKeys;

// "File%d" with the position, 0 the most recent.
std::string HistoryKey(int position) { return "File" + std::to_string(position); }

const char kNotTeXFile[] = "TeX のファイルではありません！登録して直して下さい！";

}  // namespace

void CMirvanDlg::SplitPath(const std::string& path) {
  const mbcs::PathParts parts = mbcs::SplitPath(path);
  m_strDir = mbcs::MakePath(parts.drive, parts.dir, std::string(), std::string());
  m_strName = parts.fname;
}

void CMirvanDlg::AddToHistory(bool selectEntry) {
  // Only the same document is replaced. Paths compare without regard to case
  // where the file system does (Windows); on POSIX A.tex and a.tex are two
  // documents. Every copy goes, so a document listed twice (a command-line
  // start) ends up once.
  const bool foldCase = Platform().Values().pathsIgnoreCase;
  for (int i = m_history.GetCount() - 1; i >= 0; --i) {
    const std::string entry = m_history.GetText(i);
    const bool same = foldCase ? mbcs::EqualsNoCase(entry, m_strFile) : entry == m_strFile;
    if (same) m_history.DeleteString(i);
  }
  m_history.InsertString(0, m_strFile);
  m_history.SetEditText(m_strFile);
  if (selectEntry) m_history.SelectString(-1, m_strFile);  // from the top
  m_history.SetFocus();
  // The capacity is set when the window opens; before that nothing is trimmed.
  if (m_nHistoryMax > 0 && m_history.GetCount() > m_nHistoryMax) m_history.DeleteString(m_nHistoryMax);
}

void CMirvanDlg::OnDropFiles(const std::vector<std::string>& paths) {
  // Only the first file of a drop counts; an empty path is a drop that
  // carried no local file.
  const std::string path = paths.empty() ? std::string() : paths.front();
  const std::string ext = mbcs::SplitPath(path).ext;
  if (path.empty() || (ext != ".tex" && ext != ".TEX")) {
    Prompts().Notice(kNotTeXFile);
    return;
  }
  m_strFile = path;
  SplitPath(m_strFile);
  AddToHistory(false);
  Invalidate();
}

void CMirvanDlg::SelectFile() {
  FileDialogSpec request;
  request.filter = "TeX file (*.tex)|*.tex||";
  request.defExt = "tex";
  request.initialName = "*.tex";
  request.fileMustExist = true;
  request.hideReadOnly = true;
  request.ownedByMainWindow = true;
  std::string path;
  // Whatever existing file is picked becomes the document: no extension test.
  if (Prompts().PickFile(request, path)) {
    m_strFile = path;
    SplitPath(m_strFile);
    AddToHistory(true);
  }
  Invalidate();
}

void CMirvanDlg::SelectHistory() {
  const int sel = m_history.GetCurSel();
  if (sel < 0) return;
  const std::string text = m_history.GetText(sel);
  m_history.DeleteString(sel);
  // A vanished file just drops out of the list; the current document stays.
  if (Platform().Stat(text).exists) {
    m_strFile = text;
    m_history.InsertString(0, text);
    m_history.SelectString(0, text);
    SplitPath(m_strFile);
  }
  Invalidate();
}

void CMirvanDlg::LoadHistory() {
  m_nHistoryMax = kHistoryKeys;
  std::string first;
  for (int i = 0; i < kHistoryKeys; ++i) {
    const std::string path = Profile().GetProfileString(kHistory, HistoryKey(i), std::string());
    if (path.empty()) break;
    m_history.InsertString(i, path);
    if (i == 0) first = path;
  }
  m_history.SetExtendedUI(true);
  if (m_strFile.empty()) {
    m_strFile = first;
  } else {
    // The command-line document goes on top as given, even when it is
    // already listed further down.
    m_history.InsertString(0, m_strFile);
    if (m_history.GetCount() > m_nHistoryMax) m_history.DeleteString(m_nHistoryMax);
  }
}

void CMirvanDlg::LoadHistoryFinish() {
  if (m_strFile.empty()) return;
  m_history.SelectString(-1, m_strFile);  // from the top
  SplitPath(m_strFile);
}

void CMirvanDlg::OnClose() {
  const int n = m_history.GetCount();
  for (int i = 0; i < n && i < kHistoryKeys; ++i)
    Profile().WriteProfileString(kHistory, HistoryKey(i), m_history.GetText(i));
  // Keys past the list would bring removed entries back at the next start.
  for (int i = n; i < kHistoryKeys; ++i) Profile().DeleteProfileKey(kHistory, HistoryKey(i));
}

void CMirvanDlg::InitDialogCore() {
  LoadSettingsStartupRule();
  LoadHistory();
  LoadSettingsPrograms();
  LoadHistoryFinish();
  Invalidate();
}
