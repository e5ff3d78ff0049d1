#include "support/fakes.h"

#include <cstdlib>

std::string MemoryProfile::GetProfileString(const std::string& section, const std::string& key,
                                            const std::string& def) {
  auto it = values.find(section + "/" + key);
  return it == values.end() ? def : it->second;
}

int MemoryProfile::GetProfileInt(const std::string& section, const std::string& key, int def) {
  auto it = values.find(section + "/" + key);
  if (it == values.end() || it->second.empty()) return def;
  return static_cast<int>(std::strtol(it->second.c_str(), nullptr, 10));
}

bool MemoryProfile::WriteProfileString(const std::string& section, const std::string& key,
                                       const std::string* value) {
  const std::string k = section + "/" + key;
  if (value) {
    values[k] = *value;
    log.push_back("W " + k + "=" + *value);
  } else {
    values.erase(k);
    log.push_back("D " + k);
  }
  return true;
}

bool MemoryProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
  const std::string v = std::to_string(value);
  return WriteProfileString(section, key, &v);
}

bool MemoryProfile::WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) {
  for (const ProfileEntry& e : entries) {
    if (e.value && !StorableProfileValue(*e.value)) return false;
  }
  ++batches;
  for (const ProfileEntry& e : entries) WriteProfileString(section, e.key, e.value ? &*e.value : nullptr);
  return true;
}

int ScriptedPlatform::RunTool(const std::string& program, const std::vector<std::string>& args) {
  runs.push_back({cwd, program, args});
  return onRun ? onRun(runs.back()) : -1;
}

bool ScriptedPlatform::ChangeDir(const std::string& dir) {
  chdirs.push_back(dir);
  if (chdirFails || dir.empty()) return false;
  cwd = dir;
  return true;
}

bool ScriptedPlatform::GetCwd(std::string& out) {
  out = cwd;
  return true;
}

FileStatus ScriptedPlatform::Stat(const std::string& path) {
  FileStatus st;
  auto it = files.find(path);
  if (it != files.end()) {
    st.exists = true;
    st.mtimeNs = it->second;
  }
  return st;
}

bool ScriptedPlatform::OpenDocument(const std::string& file, const std::string& dir) {
  opens.push_back("doc|" + file + "|" + dir);
  return openResult;
}

bool ScriptedPlatform::OpenEditor(const std::string& editor, const std::string& documentPath,
                                  const std::string& dir) {
  opens.push_back("editor|" + editor + "|" + documentPath + "|" + dir);
  return openResult;
}

void ScriptedPlatform::StartCommandPrompt() { opens.push_back("prompt|" + cwd); }

bool ScriptedPlatform::StartDetached(const std::vector<std::string>& argv, const std::string& dir) {
  std::string record = "start";
  for (const std::string& w : argv) record += "|" + w;
  opens.push_back(record + "|" + dir);
  return openResult;
}

std::vector<std::string> ScriptedPlatform::Programs() const {
  std::vector<std::string> out;
  for (const auto& r : runs) out.push_back(r.program);
  return out;
}

void ScriptedPrompts::Notice(const std::string& text) { shown.push_back("notice:" + text); }

bool ScriptedPrompts::AskOkCancel(const std::string& text) {
  shown.push_back("ask:" + text);
  if (askAnswers.empty()) return false;
  bool a = askAnswers.front();
  askAnswers.pop_front();
  return a;
}

void ScriptedPrompts::MessageBox(const std::string& caption, const std::string& text, BoxIcon icon) {
  const char* name = icon == BoxIcon::Stop ? "stop" : icon == BoxIcon::Exclamation ? "exclamation" : "none";
  shown.push_back("box:" + caption + "|" + name + "|" + text);
}

bool ScriptedPrompts::PickFile(const FileRequest& request, std::string& path) {
  shown.push_back(PickText(request.types));
  pickRequests.push_back(request);
  if (picks.empty()) return false;
  auto p = picks.front();
  picks.pop_front();
  if (!p) return false;
  path = *p;
  return true;
}

bool ScriptedPrompts::ShowPdfSizeDialog(CPdfSizeDlg& dlg) {
  shown.push_back("pdfsize");
  if (pdfSize.empty()) return false;
  auto f = pdfSize.front();
  pdfSize.pop_front();
  return f(dlg);
}

bool ScriptedPrompts::ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) {
  shown.push_back("mkidx");
  if (mkIdx.empty()) return false;
  auto f = mkIdx.front();
  mkIdx.pop_front();
  return f(dlg);
}

void ScriptedPrompts::ShowSettingsDialog(CSettingsDlg& dlg) {
  shown.push_back("settings");
  if (settings.empty()) return;
  auto f = settings.front();
  settings.pop_front();
  f(dlg);
}

void ScriptedPrompts::BeginWaitCursor() { shown.push_back("wait+"); }
void ScriptedPrompts::EndWaitCursor() { shown.push_back("wait-"); }
