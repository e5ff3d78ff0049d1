#include "config/tool_config.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/settings_keys.h"

using namespace settings;

namespace {

// Every stored value of the configuration: where it lives, its default, and
// when it is read. One row per key; the order is the order of reading. No
// other code names a section, a key or a default of Mirvan.ini.
struct TextRow {
  TextSetting member;
  const char* section;
  const char* key;
  const char* def;       // nullptr: a platform value (see PlatformDefault)
  const char* startDef;  // the default of the load at start
};

// When a number is read or set without being asked for.
enum When : unsigned {
  kAtStart = 1,   // read by the program load at start
  kOnReload = 2,  // read again after the Settings dialog
  // Part of the paper size question's start-up rule: back to its default,
  // in memory and in the file, unless the lasting suppression holds.
  kStartRule = 4,
};
struct NumberRow {
  NumberSetting member;
  const char* section;
  const char* key;
  int def;
  unsigned when;
};

const TextRow kTextRows[] = {
    {&ToolSettings::m_strEditor, kEditor, kEdit, nullptr, nullptr},
    {&ToolSettings::m_strEditLine, kEditor, kEditLine, kDefaultEditLine, kDefaultEditLine},
    {&ToolSettings::m_strTeX, kSettings, kTeX, kDefaultTeX, kDefaultTeX},
    {&ToolSettings::m_strBib, kSettings, kBib, nullptr, nullptr},
    {&ToolSettings::m_strDviPdf, kSettings, kDviPdf, kDefaultDviPdf, kDefaultDviPdf},
    {&ToolSettings::m_strMkIdx, kSettings, kMkIdx, kDefaultMkIdx, kDefaultMkIdx},
    {&ToolSettings::m_strMkIdxOpt, kSettings, kMkIdxOpt, kDefaultMkIdxOpt, kDefaultMkIdxOptAtStart},
};
const NumberRow kNumberRows[] = {
    {&ToolSettings::m_nMkIdxNvr, kSettings, kMkIdxNvr, kDefaultMkIdxNvr, kAtStart | kOnReload},
    // The first-success flag and the one-run suppression belong to this run.
    {&ToolSettings::m_nAcr, kSettings, kAcr, kDefaultAcr, kAtStart},
    {&ToolSettings::m_nCompileOnSave, kSettings, kCompileOnSave, kDefaultCompileOnSave, kAtStart | kOnReload},
    {&ToolSettings::m_nPdfNShow, kSettings, kPdfNShow, kDefaultPdfNShow, kStartRule},
    {&ToolSettings::m_nPdfNeShow, kSettings, kPdfNeShow, kDefaultPdfNeShow, kOnReload | kStartRule},
    {&ToolSettings::m_nPdfSizeNo, kSettings, kPdfSizeNo, kDefaultPdfSizeNo, kOnReload | kStartRule},
};

// Every member has its row; the first row is never reached.
const TextRow& RowOf(TextSetting member) {
  for (const TextRow& r : kTextRows)
    if (r.member == member) return r;
  return kTextRows[0];
}
const NumberRow& RowOf(NumberSetting member) {
  for (const NumberRow& r : kNumberRows)
    if (r.member == member) return r;
  return kNumberRows[0];
}

// The key of a history position, 0 the most recent.
std::string HistoryKey(int position) { return kHistoryKeyPrefix + std::to_string(position); }

}  // namespace

ToolConfig::ToolConfig(IProfile& profile, const PlatformValues& values)
    : m_profile(profile), m_defaultEditor(values.defaultEditor), m_defaultBib(values.japaneseBibTeX) {}

const std::string& ToolConfig::PlatformDefault(TextSetting member) const {
  return member == &ToolSettings::m_strBib ? m_defaultBib : m_defaultEditor;
}

std::string ToolConfig::Read(TextSetting member) {
  const TextRow& r = RowOf(member);
  return m_profile.GetProfileString(r.section, r.key, r.def ? r.def : PlatformDefault(r.member));
}

int ToolConfig::Read(NumberSetting member) {
  const NumberRow& r = RowOf(member);
  return m_profile.GetProfileInt(r.section, r.key, r.def);
}

void ToolConfig::LoadStartupRule() {
  for (const NumberRow& r : kNumberRows)
    if (r.when & kStartRule) m_values.*r.member = r.def;
  m_values.m_nPdfNeShow = Read(&ToolSettings::m_nPdfNeShow);
  if (m_values.m_nPdfNeShow != 0) {
    // The lasting suppression: no paper size question, the stored size.
    m_values.m_nPdfNShow = 1;
    m_values.m_nPdfSizeNo = Read(&ToolSettings::m_nPdfSizeNo);
    return;
  }
  // A one-run suppression and its size end with the run that chose them;
  // one write of the file for the three (all in one section).
  std::vector<ProfileEntry> reset;
  const char* section = nullptr;
  for (const NumberRow& r : kNumberRows) {
    if (!(r.when & kStartRule)) continue;
    section = r.section;
    reset.push_back({r.key, std::to_string(r.def)});
  }
  m_profile.WriteProfileKeys(section, reset);
}

void ToolConfig::LoadPrograms() {
  for (const TextRow& r : kTextRows)
    m_values.*r.member = m_profile.GetProfileString(r.section, r.key, r.startDef ? r.startDef : PlatformDefault(r.member));
  for (const NumberRow& r : kNumberRows)
    if (r.when & kAtStart) m_values.*r.member = m_profile.GetProfileInt(r.section, r.key, r.def);
}

void ToolConfig::Reload() {
  for (const TextRow& r : kTextRows) m_values.*r.member = Read(r.member);
  for (const NumberRow& r : kNumberRows)
    if (r.when & kOnReload) m_values.*r.member = Read(r.member);
}

void ToolConfig::Store(TextSetting which, const std::string& value) {
  m_values.*which = value;
  const TextRow& r = RowOf(which);
  m_profile.WriteProfileString(r.section, r.key, value);
}

void ToolConfig::Store(NumberSetting which, int value) {
  m_values.*which = value;
  const NumberRow& r = RowOf(which);
  m_profile.WriteProfileInt(r.section, r.key, value);
}

void ToolConfig::Forget(TextSetting which) {
  const TextRow& r = RowOf(which);
  m_values.*which = r.def ? r.def : PlatformDefault(which);
  m_profile.DeleteProfileKey(r.section, r.key);
}

void ToolConfig::EditMkIdxOptions(IPrompts& prompts) {
  CMkIdxOptDlg dlg = MkIdxOptModel();
  if (!prompts.ShowMkIdxOptDialog(dlg)) return;
  // An empty text is stored as an empty value: deleting the key would bring
  // back the start-up default at the next start.
  Store(&ToolSettings::m_strMkIdxOpt, dlg.Options());
  Store(&ToolSettings::m_nMkIdxNvr, dlg.Never());
}

bool ToolConfig::PdfSizeExchange(IPrompts& prompts) {
  CPdfSizeDlg dlg = PdfSizeModel();
  if (!prompts.ShowPdfSizeDialog(dlg)) return false;
  Store(&ToolSettings::m_nPdfNShow, dlg.NShow());
  Store(&ToolSettings::m_nPdfNeShow, dlg.NeShow());
  Store(&ToolSettings::m_nPdfSizeNo, dlg.SizeNo());
  // The file keeps the two boxes apart; in memory either one stops the
  // question for the rest of this run.
  m_values.m_nPdfNShow += m_values.m_nPdfNeShow;
  m_pdfSizeOkShow = m_values.m_nPdfNShow;
  return true;
}

CPdfSizeDlg ToolConfig::PdfSizeModel() {
  const int nShow = Read(&ToolSettings::m_nPdfNShow);
  const int neShow = Read(&ToolSettings::m_nPdfNeShow);
  const int sizeNo = Read(&ToolSettings::m_nPdfSizeNo);
  return CPdfSizeDlg(nShow, neShow, sizeNo);
}

CMkIdxOptDlg ToolConfig::MkIdxOptModel() {
  std::string options = Read(&ToolSettings::m_strMkIdxOpt);
  const int never = Read(&ToolSettings::m_nMkIdxNvr);
  return CMkIdxOptDlg(std::move(options), never);
}

int ToolConfig::HistoryCapacity() { return kHistoryKeys; }

std::vector<std::string> ToolConfig::ReadHistory(IProfile& profile) {
  std::vector<std::string> entries;
  for (int i = 0; i < kHistoryKeys; ++i) {
    std::string path = profile.GetProfileString(kHistory, HistoryKey(i), std::string());
    if (path.empty()) break;
    entries.push_back(std::move(path));
  }
  return entries;
}

void ToolConfig::WriteHistory(IProfile& profile, const std::vector<std::string>& entries) {
  // An entry Mirvan.ini cannot hold (a line break in its path) takes no
  // key: a gap would end the list at the next start, so the others are
  // numbered on without one.
  std::vector<ProfileEntry> keys;
  for (const std::string& path : entries) {
    if (static_cast<int>(keys.size()) == kHistoryKeys) break;
    if (StorableProfileValue(path)) keys.push_back({HistoryKey(static_cast<int>(keys.size())), path});
  }
  // Keys past the list would bring removed entries back at the next start.
  for (int i = static_cast<int>(keys.size()); i < kHistoryKeys; ++i) keys.push_back({HistoryKey(i), std::nullopt});
  // One write of the file: a bar killed while it closes keeps the old list
  // or the new one, never a mixture.
  profile.WriteProfileKeys(kHistory, keys);
}
