// The core's tests: a CMirvanDlg over the in-memory settings store, a
// platform (scripted unless another is named) and scripted prompts. The bar
// is reached only as its users reach it: through the settings file it
// loads, its operations and what the world sees of them.
#pragma once

#include <string>

#include "core/mirvan_dlg.h"
#include "support/fakes.h"

template <typename Platform = ScriptedPlatform>
struct BarOn : WorldOn<Platform> {
  using WorldOn<Platform>::WorldOn;

  // The bar opened on this document, with the usual tools where Mirvan.ini
  // names none; what the start wrote is forgotten.
  void Open(const std::string& file) {
    MemoryProfile& p = this->profile;
    const char* const usual[][2] = {{"TeX", "platex"}, {"Bib", "jbibtex"},          {"DviPdf", "dvipdfmx"},
                                    {"MkIdx", "mendex"}, {"MkIdxOpt", "-s myindex"}, {"MkIdxNvr", "1"}};
    for (const auto& [key, value] : usual)
      if (!p.Has("Settings", key)) p.Set("Settings", key, value);
    dlg.SetDocument(file);
    dlg.InitDialogCore();
    p.log.clear();
  }

  CMirvanDlg dlg{this->env};
};
