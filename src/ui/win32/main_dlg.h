// The bar on Windows: the main window's template run as the program's
// modal dialog, drawing a BarController and passing every click, drop, key
// and history choice to it.
#pragma once

#include <string>
#include <vector>

#include "core/bar_controller.h"
#include "ui/win32/problem_window.h"
#include "ui/win32/win32_prompts.h"

class CMirvanWin : private IBarView {
 public:
  CMirvanWin(MirvanEnv env, Win32Prompts& prompts);
  BarController& Bar() { return m_bar; }

  // Runs the bar until it ends.
  INT_PTR DoModal();

 private:
  static INT_PTR CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  BOOL OnInitDialog();
  void OnCommand(int id, int code);
  void OnDropFiles(HDROP drop);
  bool OnPaint();
  void OnHelp();
  void End(BarEnd how);
  void SetupToolTips();
  LRESULT OnToolTipText(NMHDR* hdr);
  void OnContextMenu(int x, int y);
  bool OnSysCommand(WPARAM command);
  void OnInitSystemMenu(HMENU menu);
  void OnTimer(UINT_PTR timer);

  // What the controller asks of the window.
  void ShowHistory(const HistoryBox& history, bool entriesChanged) override;
  void SetBusy(bool busy) override;
  void FocusHistory() override;
  void ShowProblems(const ProblemList& problems, bool failed) override;
  void OpenProblemList() override;
  void ShowCompileOnSave(bool on) override;
  void SettleAfter(int ms) override;
  void ShowAbout() override;

  BarController m_bar;
  Win32Prompts& m_prompts;
  ProblemWindow m_problems;
  std::string m_caption;  // the template's, the title while saves do not compile
  HWND m_hWnd = nullptr;
  HWND m_hHistory = nullptr;
  HWND m_hTips = nullptr;
  HICON m_hIcon = nullptr;
  HICON m_hSmallIcon = nullptr;
  std::string m_tip;
  // The controls an action disabled, and the focus to give back after it.
  std::vector<HWND> m_disabled;
  HWND m_focusBefore = nullptr;
};
