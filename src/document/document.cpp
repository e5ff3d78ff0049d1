#include "document/document.h"

#include "config/tool_config.h"
#include "document/texts.h"
#include "text/mbcs.h"

#include <vector>

Document::Document(MirvanEnv env) : m_env(env) {
  const std::string& separator = m_env.platform.Values().separator;
  if (!m_env.platform.GetCwd(m_startDir) || m_startDir.empty()) return;
  // A trail byte of a double-byte character is no separator.
  const std::size_t last = mbcs::FindLastOf(m_startDir, separator);
  if (last == std::string::npos || last + 1 != m_startDir.size()) m_startDir += separator;
}

void Document::SetFile(const std::string& path) {
  m_strFile = path;
  SplitPath(m_strFile);
}

void Document::SetFileFromCommandLine(const std::string& path) {
  const bool windows = m_env.platform.Values().pathStyle == mbcs::PathStyle::Windows;
  const auto isSeparator = [windows](char c) { return c == '/' || (windows && c == '\\'); };
  std::string rest = path;
  const bool rooted = !rest.empty() && isSeparator(rest[0]);
  const bool drive = windows && rest.size() >= 2 && rest[1] == ':';
  if (rest.empty() || m_startDir.empty() || drive || (rooted && !windows)) {
    SetFile(rest);
    return;
  }
  if (rooted) {
    // The root of the start folder's drive (a UNC path keeps its own).
    const bool unc = rest.size() >= 2 && isSeparator(rest[1]);
    SetFile(unc || m_startDir.size() < 2 || m_startDir[1] != ':' ? rest : m_startDir.substr(0, 2) + rest);
    return;
  }
  while (rest.size() >= 2 && rest[0] == '.' && isSeparator(rest[1])) {
    rest.erase(0, 2);
    while (!rest.empty() && isSeparator(rest[0])) rest.erase(0, 1);
  }
  SetFile(m_startDir + rest);
}

void Document::SplitPath(const std::string& path) {
  const mbcs::PathParts parts = mbcs::SplitPath(path, mbcs::SystemCodePage(), m_env.platform.Values().pathStyle);
  m_strDir = mbcs::MakePath(parts.drive, parts.dir, std::string(), std::string());
  m_strName = parts.fname;
  // A name without a folder (an entry written by hand into Mirvan.ini)
  // would otherwise be looked for, and compiled, in whichever folder the
  // last action left the program in.
  if (m_strDir.empty() && !m_strName.empty()) m_strDir = m_startDir;
}

bool Document::SameDocument(const std::string& a, const std::string& b) const {
  // Paths compare without regard to case where the file system does
  // (Windows); on POSIX A.tex and a.tex are two documents.
  return m_env.platform.Values().pathsIgnoreCase ? mbcs::EqualsNoCase(a, b) : a == b;
}

// Every entry of the same document below position `from`.
void Document::RemoveFromHistory(const std::string& path, int from) {
  for (int i = m_history.GetCount() - 1; i >= from; --i) {
    if (SameDocument(m_history.GetText(i), path)) m_history.DeleteString(i);
  }
}

void Document::AddToHistory(bool selectEntry) {
  // Only the same document is replaced, every copy of it, so a document
  // listed twice ends up once.
  RemoveFromHistory(m_strFile, 0);
  m_history.InsertString(0, m_strFile);
  m_history.SetEditText(m_strFile);
  if (selectEntry) m_history.SelectString(-1, m_strFile);  // from the top
  m_history.SetFocus();
  // The capacity is set when the window opens; before that nothing is trimmed.
  if (m_nHistoryMax > 0 && m_history.GetCount() > m_nHistoryMax) m_history.DeleteString(m_nHistoryMax);
}

bool Document::OnDropFiles(const std::vector<std::string>& paths) {
  // Only the first file of a drop counts; an empty path is a drop that
  // carried no local file.
  const std::string path = paths.empty() ? std::string() : paths.front();
  const std::string ext = mbcs::SplitPath(path, mbcs::SystemCodePage(), m_env.platform.Values().pathStyle).ext;
  if (path.empty() || (ext != ".tex" && ext != ".TEX")) {
    m_env.prompts.Notice(msg::kNotTeXFile);
    return false;
  }
  SetFile(path);
  AddToHistory(false);
  return true;
}

void Document::SelectFile() {
  FileRequest request;
  request.types = {{msg::kTeXFile, "*.tex"}};
  request.defExt = "tex";
  request.initialName = "*.tex";
  request.fileMustExist = true;
  request.hideReadOnly = true;
  request.ownedByMainWindow = true;
  std::string path;
  // Whatever existing file is picked becomes the document: no extension test.
  if (m_env.prompts.PickFile(request, path)) {
    SetFile(path);
    AddToHistory(true);
  }
}

bool Document::SelectHistory() {
  const int sel = m_history.GetCurSel();
  if (sel < 0) return false;
  const std::string text = m_history.GetText(sel);
  m_history.DeleteString(sel);
  // A vanished file just drops out of the list; the current document stays.
  if (m_env.platform.Stat(text).exists) {
    m_strFile = text;
    m_history.InsertString(0, text);
    // The entry itself: a prefix search without regard to case would pick
    // /w/a.tex for /w/A.tex, both kept on POSIX.
    m_history.SetCurSel(0);
    SplitPath(m_strFile);
  }
  return true;
}

void Document::LoadHistory() {
  m_nHistoryMax = ToolConfig::HistoryCapacity();
  const std::vector<std::string> stored = ToolConfig::ReadHistory(m_env.profile);
  const std::string first = stored.empty() ? std::string() : stored.front();
  for (const std::string& path : stored) {
    // A file written by an older version may hold a path twice.
    bool listed = false;
    for (const std::string& e : m_history.Items()) listed = listed || SameDocument(e, path);
    if (!listed) m_history.InsertString(m_history.GetCount(), path);
  }
  m_history.SetExtendedUI(true);
  if (m_strFile.empty()) {
    m_strFile = first;
  } else {
    // The command-line document goes on top; an older entry of it goes, so
    // the list (and the file written at close) holds it once.
    RemoveFromHistory(m_strFile, 0);
    m_history.InsertString(0, m_strFile);
    if (m_history.GetCount() > m_nHistoryMax) m_history.DeleteString(m_nHistoryMax);
  }
}

void Document::LoadHistoryFinish() {
  if (m_strFile.empty()) return;
  m_history.SelectString(-1, m_strFile);  // from the top
  SplitPath(m_strFile);
}

void Document::OnClose() {
  // An entry that Mirvan.ini cannot hold stays in the list for this run.
  ToolConfig::WriteHistory(m_env.profile, m_history.Items());
}
