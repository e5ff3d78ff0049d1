// The TeX button: runs the compiler as often as the document needs, with
// BibTeX and the index program in between.
#pragma once

#include <string>
#include <vector>

#include "actions/tool_runner.h"

class CompileDriver {
 public:
  CompileDriver(MirvanEnv env, ToolConfig& config, const Document& doc, ToolRunner& tools, VerdictLog& verdict)
      : m_env(env), m_config(config), m_doc(doc), m_tools(tools), m_verdict(verdict) {}

  // 1 when the document compiled (a new .dvi, no stop at an error).
  int Compile();
  // The bibliography and index runs; 1 when the run ended with status 0.
  int RunBibTeX();
  int RunMakeIndex();

 private:
  MirvanEnv m_env;
  ToolConfig& m_config;
  const Document& m_doc;
  ToolRunner& m_tools;
  VerdictLog& m_verdict;
};
