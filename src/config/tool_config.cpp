#include "config/tool_config.h"

#include <string>
#include <utility>

#include "config/option_dialogs.h"
#include "config/settings_keys.h"

using namespace settings;

namespace {

// Every stored value of the configuration: where it lives, its default, and
// when it is read. One row per key; the order is the order of reading.
struct TextRow {
  TextSetting member;
  const char* section;
  const char* key;
  const char* def;       // nullptr: a platform value (see PlatformDefault)
  const char* startDef;  // the default of the load at start
};
struct NumberRow {
  NumberSetting member;
  const char* section;
  const char* key;
  int def;
  bool atStart;   // read by the program load (else by the start-up rule, or never)
  bool onReload;  // read again after the Settings dialog
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
    {&ToolSettings::m_nMkIdxNvr, kSettings, kMkIdxNvr, kDefaultMkIdxNvr, true, true},
    // The first-success flag and the one-run suppression belong to this run.
    {&ToolSettings::m_nAcr, kSettings, kAcr, kDefaultAcr, true, false},
    {&ToolSettings::m_nCompileOnSave, kSettings, kCompileOnSave, kDefaultCompileOnSave, true, true},
    {&ToolSettings::m_nPdfNeShow, kSettings, kPdfNeShow, kDefaultPdfNeShow, false, true},
    {&ToolSettings::m_nPdfSizeNo, kSettings, kPdfSizeNo, kDefaultPdfSizeNo, false, true},
    {&ToolSettings::m_nPdfNShow, kSettings, kPdfNShow, kDefaultPdfNShow, false, false},
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

}  // namespace

ToolConfig::ToolConfig(IProfile& profile, const PlatformValues& values)
    : m_profile(profile), m_defaultEditor(values.defaultEditor), m_defaultBib(values.japaneseBibTeX) {}

const std::string& ToolConfig::PlatformDefault(TextSetting member) const {
  return member == &ToolSettings::m_strBib ? m_defaultBib : m_defaultEditor;
}

void ToolConfig::LoadStartupRule() {
  m_values.m_nPdfSizeNo = kDefaultPdfSizeNo;
  m_values.m_nPdfNShow = 0;
  m_values.m_nPdfNeShow = m_profile.GetProfileInt(kSettings, kPdfNeShow, kDefaultPdfNeShow);
  if (m_values.m_nPdfNeShow != 0) {
    // The lasting suppression: no paper size question, the stored size.
    m_values.m_nPdfNShow = 1;
    m_values.m_nPdfSizeNo = m_profile.GetProfileInt(kSettings, kPdfSizeNo, kDefaultPdfSizeNo);
  } else {
    // A one-run suppression and its size end with the run that chose them;
    // one write of the file for the three.
    m_profile.WriteProfileKeys(kSettings, {{kPdfNShow, "0"},
                                           {kPdfNeShow, "0"},
                                           {kPdfSizeNo, std::to_string(kDefaultPdfSizeNo)}});
  }
}

void ToolConfig::LoadPrograms() {
  for (const TextRow& r : kTextRows)
    m_values.*r.member = m_profile.GetProfileString(r.section, r.key, r.startDef ? r.startDef : PlatformDefault(r.member));
  for (const NumberRow& r : kNumberRows)
    if (r.atStart) m_values.*r.member = m_profile.GetProfileInt(r.section, r.key, r.def);
}

void ToolConfig::Reload() {
  for (const TextRow& r : kTextRows)
    m_values.*r.member = m_profile.GetProfileString(r.section, r.key, r.def ? r.def : PlatformDefault(r.member));
  for (const NumberRow& r : kNumberRows)
    if (r.onReload) m_values.*r.member = m_profile.GetProfileInt(r.section, r.key, r.def);
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

void ToolConfig::Forget(TextSetting which, const std::string& bareName) {
  m_values.*which = bareName;
  const TextRow& r = RowOf(which);
  m_profile.DeleteProfileKey(r.section, r.key);
}

void ToolConfig::EditMkIdxOptions(IPrompts& prompts) {
  CMkIdxOptDlg dlg(m_profile);
  if (!prompts.ShowMkIdxOptDialog(dlg)) return;
  // An empty text is stored as an empty value: deleting the key would bring
  // back the start-up default at the next start.
  Store(&ToolSettings::m_strMkIdxOpt, dlg.Options());
  Store(&ToolSettings::m_nMkIdxNvr, dlg.Never());
}

bool ToolConfig::PdfSizeExchange(IPrompts& prompts) {
  CPdfSizeDlg dlg(m_profile);
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
