// CMirvanDlg: the bar's state and operations, free of any toolkit. It
// composes the parts that own the data (the tool configuration, the current
// document and its history) and those that act on them (the tool runner,
// the compile driver, the PDF maker, the shell actions), and keeps the bar's
// entry points. It reaches the world only through MirvanEnv.
//
// The Qt window (src/ui) shows one of these; the Settings dialog works on a
// copy of its own (CSettingsDlg), never on this one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "actions/shell_actions.h"

class CMirvanDlg {
 public:
  explicit CMirvanDlg(MirvanEnv env);
  CMirvanDlg(const CMirvanDlg&) = delete;
  CMirvanDlg& operator=(const CMirvanDlg&) = delete;

  // The window opens: the paper size rule, the history, the programs, then
  // the current document's entry.
  void InitDialogCore();

  // The buttons.
  int Compile() { return m_compiler.Compile(); }
  int MakePdf() { return m_pdf.MakePdf(); }
  void CompileAndMakePdf() { m_shell.CompileAndMakePdf(); }
  void EditSource() { m_shell.EditSource(); }
  void ViewDvi() { m_shell.ViewDvi(); }
  void ViewPdf() { m_shell.ViewPdf(); }
  void OpenCommandPrompt() { m_shell.OpenCommandPrompt(); }
  void OpenSettings();
  int RunTool(const std::string& program, const std::vector<std::string>& args) {
    return m_tools.RunTool(program, args);
  }

  // Choosing the document.
  void OnDropFiles(const std::vector<std::string>& paths);
  void SelectFile();
  void SelectHistory();
  void OnClose() { m_doc.OnClose(); }

  // The operation of a bar button (control::k...); empty for other ids.
  std::function<void()> ActionFor(int id);
  // Runs one button action; a FileError, ToolRefused or MemoryError raised
  // inside ends it and is reported here, once. Returns false when an error
  // ended it.
  bool RunAction(const std::function<void()>& action);
  // Called when the window must be drawn anew (after drops, picks, history
  // choices).
  void SetRepaint(std::function<void()> repaint) { m_repaint = std::move(repaint); }

  // The world and the parts.
  const MirvanEnv& Env() const { return m_env; }
  ToolConfig& Config() { return m_config; }
  Document& Doc() { return m_doc; }
  const Document& Doc() const { return m_doc; }
  ToolRunner& Tools() { return m_tools; }
  CompileDriver& Compiler() { return m_compiler; }

 private:
  void Repaint() {
    if (m_repaint) m_repaint();
  }

  MirvanEnv m_env;
  ToolConfig m_config;
  Document m_doc;
  ToolRunner m_tools;
  CompileDriver m_compiler;
  PdfMaker m_pdf;
  ShellActions m_shell;
  std::function<void()> m_repaint;
};
