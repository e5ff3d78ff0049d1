// The bar on Windows: template 146 run as the program's modal dialog, over a
// CMirvanDlg that holds every decision. This window only shows the core's
// state (the history box) and turns clicks, drops, the system menu and F1
// into the core's operations.
#pragma once

#include <string>

#include "core/mirvan_dlg.h"
#include "ui/win32/win32_prompts.h"

class CMirvanWin {
 public:
  CMirvanWin(MirvanEnv env, Win32Prompts& prompts);
  CMirvanDlg& Core() { return m_core; }

  // Runs the bar until it closes (close box, Esc, or Enter off the buttons).
  INT_PTR DoModal();

  // Where F1 looks for the manual: next to the program, or in the checkout
  // one folder up (docs/manual.html) when run from a build folder.
  static std::string ManualPath(const std::string& programPath);

 private:
  static INT_PTR CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  BOOL OnInitDialog();
  void OnCommand(int id, int code);
  void OnButton(int id);
  void OnDropFiles(HDROP drop);
  void OnSysCommand(WPARAM cmd, LPARAM lp);
  bool OnPaint();
  void OnHelp();
  void SyncHistory();
  void SetupToolTips();
  LRESULT OnToolTipText(NMHDR* hdr);

  CMirvanDlg m_core;
  Win32Prompts& m_prompts;
  HWND m_hWnd = nullptr;
  HWND m_hHistory = nullptr;
  HWND m_hTips = nullptr;
  HICON m_hIcon = nullptr;
  HICON m_hSmallIcon = nullptr;
  bool m_busy = false;
  char m_tip[256] = {};
};
