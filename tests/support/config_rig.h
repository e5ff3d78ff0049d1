// The configuration's tests: a ToolConfig over the in-memory settings store.
#pragma once

#include "config/tool_config.h"
#include "support/fakes.h"

template <typename Platform = ScriptedPlatform>
struct ConfigOn : WorldOn<Platform> {
  using WorldOn<Platform>::WorldOn;
  ToolConfig config{this->profile, this->platform.Values()};
};

// The tools most cases run, in memory only (nothing written).
inline void SetUsualTools(ToolConfig& c) {
  c.Set(&ToolSettings::m_strTeX, "platex");
  c.Set(&ToolSettings::m_strBib, "jbibtex");
  c.Set(&ToolSettings::m_strDviPdf, "dvipdfmx");
  c.Set(&ToolSettings::m_strMkIdx, "mendex");
  c.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex");
  c.Set(&ToolSettings::m_nMkIdxNvr, 1);
}

// The option dialogs' models as the configuration makes them from `profile`.
inline CPdfSizeDlg PdfSizeModelOn(IProfile& profile) {
  return ToolConfig(profile, PosixPlatformValues()).PdfSizeModel();
}
inline CMkIdxOptDlg MkIdxOptModelOn(IProfile& profile) {
  return ToolConfig(profile, PosixPlatformValues()).MkIdxOptModel();
}
