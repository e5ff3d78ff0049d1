// The Windows bar's list of what the tools of the last action reported: a
// small window of its own (template Problems) beside the bar, one line per
// entry, errors first. Modeless: the bar goes on working while it is up.
// Enter or a double-click on a line asks for that entry to be opened.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "actions/problems.h"
#include "ui/win32/windows_ui.h"

class ProblemWindow {
 public:
  ProblemWindow(HINSTANCE instance, std::function<void(std::size_t)> openEntry)
      : m_instance(instance), m_openEntry(std::move(openEntry)) {}
  ~ProblemWindow();
  ProblemWindow(const ProblemWindow&) = delete;
  ProblemWindow& operator=(const ProblemWindow&) = delete;

  // The list to show from now on, shown at once where the window is up; its
  // first error selected.
  void Show(const ProblemList& problems);
  // Opens the window beside `bar`, or brings it forward; the list takes the
  // keyboard focus.
  void Open(HWND bar);

 private:
  static INT_PTR CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self);
  void Fill();
  void Place(HWND bar);
  void OpenSelected();

  HINSTANCE m_instance;
  std::function<void(std::size_t)> m_openEntry;
  std::vector<std::string> m_lines;  // in the system code page
  HWND m_hWnd = nullptr;
  HWND m_hList = nullptr;
};
