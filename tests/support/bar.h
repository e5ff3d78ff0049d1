// The bar the core's tests drive: a CMirvanDlg wired to an in-memory
// settings store that logs writes, a platform (scripted unless another is
// named) and scripted prompts.
#pragma once

#include <string>
#include <utility>

#include "core/mirvan_dlg.h"
#include "support/fakes.h"

template <typename Platform = ScriptedPlatform>
struct BarOn {
  template <typename... Args>
  explicit BarOn(Args&&... platformArgs) : platform(std::forward<Args>(platformArgs)...) {}

  // A configured bar: this document and the usual tools, in memory only.
  void Configure(const std::string& file) {
    dlg.Doc().SetFile(file);
    ToolConfig& c = dlg.Config();
    c.Set(&ToolSettings::m_strTeX, "platex");
    c.Set(&ToolSettings::m_strBib, "jbibtex");
    c.Set(&ToolSettings::m_strDviPdf, "dvipdfmx");
    c.Set(&ToolSettings::m_strMkIdx, "mendex");
    c.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex");
    c.Set(&ToolSettings::m_nMkIdxNvr, 1);
  }

  MemoryProfile profile;
  Platform platform;
  ScriptedPrompts prompts;
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
};
