// The buttons that open things: the editor, the DVI and PDF viewers, the
// command prompt, and compile-then-convert.
#pragma once

#include "actions/pdf_maker.h"

class ShellActions {
 public:
  ShellActions(MirvanEnv env, const ToolConfig& config, const Document& doc, ToolRunner& tools,
               CompileDriver& compiler, PdfMaker& pdf, VerdictLog& verdict)
      : m_env(env), m_config(config), m_doc(doc), m_tools(tools), m_compiler(compiler), m_pdf(pdf),
        m_verdict(verdict) {}

  void EditSource();
  void ViewDvi();
  void ViewPdf();
  void OpenCommandPrompt();
  void CompileAndMakePdf();

 private:
  void Tell(const char* failure);

  MirvanEnv m_env;
  const ToolConfig& m_config;
  const Document& m_doc;
  ToolRunner& m_tools;
  CompileDriver& m_compiler;
  PdfMaker& m_pdf;
  VerdictLog& m_verdict;
};
