// CMirvanDlg: the bar's document operations, free of any toolkit. It
// composes the parts that own the data (the tool configuration, the current
// document and its history) and those that act on them (the tool runner,
// the compile driver, the PDF maker, the shell actions), and keeps the
// operations the bar's controls start. It reaches the world only through
// MirvanEnv. The bar's behaviour around them (busy state, events, the
// history's view) is BarController's.
//
// The Settings dialog works on a copy of its own (CSettingsDlg), never on
// this one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "actions/problems.h"
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

  // Choosing the document.
  void SetDocument(const std::string& path) { m_doc.SetFile(path); }
  void SetDocumentFromCommandLine(const std::string& path) { m_doc.SetFileFromCommandLine(path); }
  void OnDropFiles(const std::vector<std::string>& paths) { m_doc.OnDropFiles(paths); }
  void SelectFile() { m_doc.SelectFile(); }
  void SelectHistory() { m_doc.SelectHistory(); }
  void OnClose() { m_doc.OnClose(); }
  // The history box's list, which the bar shows and chooses from.
  HistoryBox& History() { return m_doc.History(); }
  const std::string& DocumentFile() const { return m_doc.File(); }

  // What the last action that ran a TeX tool reported, and the files its
  // compile read.
  const ProblemList& Problems() const { return m_problems; }
  // Opens an entry's file at its line in the configured editor; says so
  // when nothing could be started.
  void OpenProblem(const texlog::Entry& entry);
  // Compile on save, as Mirvan.ini keeps it.
  bool CompileOnSave() const { return m_config.Get().m_nCompileOnSave != 0; }
  void SetCompileOnSave(bool on) { m_config.Store(&ToolSettings::m_nCompileOnSave, on ? 1 : 0); }

  // The operation of a bar button (control::k...); empty for other ids.
  std::function<void()> ActionFor(int id);
  // Runs one button action with its tools' console, and judges how it
  // ended. A FileError, ToolRefused or MemoryError raised inside ends it and
  // is reported here, once; so does the user stopping one of its tools,
  // silently.
  ActionVerdict RunAction(const std::function<void()>& action);

 private:
  MirvanEnv m_env;
  VerdictLog m_verdict;
  ToolConfig m_config;
  Document m_doc;
  ToolRunner m_tools;
  CompileDriver m_compiler;
  PdfMaker m_pdf;
  ShellActions m_shell;
  ProblemList m_problems;
};
