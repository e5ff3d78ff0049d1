// The actions' tests: the parts a bar is made of, wired as the bar wires
// them, each within reach: the configuration, the document, the tool runner,
// the compile driver, the PDF maker and the shell actions, with the verdict
// they record.
#pragma once

#include <string>

#include "actions/shell_actions.h"
#include "actions/verdict.h"
#include "support/config_rig.h"
#include "support/fakes.h"

template <typename Platform = ScriptedPlatform>
struct ActionsOn : WorldOn<Platform> {
  using WorldOn<Platform>::WorldOn;

  // This document and the usual tools, in memory only.
  void Configure(const std::string& file) {
    doc.SetFile(file);
    SetUsualTools(config);
  }

  VerdictLog verdict;
  ToolConfig config{this->profile, this->platform.Values()};
  Document doc{this->env};
  ToolRunner tools{this->env, config, doc, verdict};
  CompileDriver compiler{this->env, config, doc, tools, verdict};
  PdfMaker pdf{this->env, config, doc, tools, compiler, verdict};
  ShellActions shell{this->env, config, doc, tools, compiler, pdf, verdict};
};
