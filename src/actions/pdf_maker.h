// The PDF button: a .dvi first, the paper size question unless switched
// off, the converter run, and one offered re-run when it fails.
#pragma once

#include <string>

#include "actions/compile_driver.h"

class PdfMaker {
 public:
  PdfMaker(MirvanEnv env, ToolConfig& config, const Document& doc, ToolRunner& tools, CompileDriver& compiler,
           VerdictLog& verdict)
      : m_env(env), m_config(config), m_doc(doc), m_tools(tools), m_compiler(compiler), m_verdict(verdict) {}

  // 1 when the converter made the PDF.
  int MakePdf();
  // The converter option words of a paper size number (" -p a3 " -> -p a3).
  static std::string PdfSizeOption(int sizeNo);

 private:
  // The converter run and what follows it; true when the PDF was made.
  bool Convert(const std::vector<std::string>& words);
  // The failure notice, which is also the action's last word.
  void TellPdfNotMade();

  MirvanEnv m_env;
  ToolConfig& m_config;
  const Document& m_doc;
  ToolRunner& m_tools;
  CompileDriver& m_compiler;
  VerdictLog& m_verdict;
};
