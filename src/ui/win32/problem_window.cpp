#include "ui/win32/problem_window.h"

#include <commctrl.h>

#include <algorithm>

#include "config/resource_ids.h"
#include "ui/beside_bar.h"
#include "ui/texts.h"
#include "ui/win32/win_text.h"

ProblemWindow::~ProblemWindow() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

void ProblemWindow::Show(const ProblemList& problems) {
  m_lines.clear();
  const std::vector<texlog::Entry>& entries = problems.Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const bool error = entries[i].kind == texlog::Kind::Error;
    // The mark is the program's text, the line's file and message the
    // tools' (code page or UTF-8): both reach the code page here.
    m_lines.push_back(
        wintext::ToAcp(std::string(error ? ui_text::kWinListError : ui_text::kWinListWarning) +
                       ProblemList::LineOf(entries[i])));
  }
  if (m_hWnd) Fill();
}

void ProblemWindow::Open(HWND bar) {
  if (!m_hWnd) {
    m_hWnd = CreateDialogParamA(m_instance, MAKEINTRESOURCEA(dialog::kProblems), bar, Proc,
                                reinterpret_cast<LPARAM>(this));
    if (!m_hWnd) return;
    m_hList = GetDlgItem(m_hWnd, control::kProblemsList);
    // The bar's modal loop hands the list's keys to it undigested (it makes
    // dialog keys only of its own window's): the list takes Enter and Esc
    // itself, whichever loop runs.
    SetWindowSubclass(m_hList, ListProc, 0, reinterpret_cast<DWORD_PTR>(this));
    Fill();
    Place(bar);
  }
  ShowWindow(m_hWnd, SW_SHOWNORMAL);
  SetForegroundWindow(m_hWnd);
  SetFocus(m_hList);
}

void ProblemWindow::Fill() {
  SendMessageA(m_hList, WM_SETREDRAW, FALSE, 0);
  SendMessageA(m_hList, LB_RESETCONTENT, 0, 0);
  // Long lines scroll sideways rather than lose their ends.
  HDC dc = GetDC(m_hList);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(m_hList, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (const std::string& line : m_lines) {
    SendMessageA(m_hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SIZE size{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(m_hList, dc);
  SendMessageA(m_hList, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + GetSystemMetrics(SM_CXEDGE) * 2), 0);
  // The list is errors first: its first line is the first error, if any.
  SendMessageA(m_hList, LB_SETCURSEL, m_lines.empty() ? static_cast<WPARAM>(-1) : 0, 0);
  SendMessageA(m_hList, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(m_hList, nullptr, TRUE);
}

void ProblemWindow::Place(HWND bar) {
  const auto rect = [](const RECT& r) {
    return beside_bar::Rect{static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
                            static_cast<int>(r.bottom - r.top)};
  };
  RECT b, w;
  GetWindowRect(bar, &b);
  GetWindowRect(m_hWnd, &w);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoA(MonitorFromWindow(bar, MONITOR_DEFAULTTONEAREST), &mi);
  const beside_bar::Point at = beside_bar::Place(rect(b), rect(w).width, rect(w).height, rect(mi.rcWork), 0);
  SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ProblemWindow::OpenSelected() {
  const LRESULT index = SendMessageA(m_hList, LB_GETCURSEL, 0, 0);
  if (index != LB_ERR) m_openEntry(static_cast<std::size_t>(index));
}

INT_PTR CALLBACK ProblemWindow::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(w, DWLP_USER, lp);
    return FALSE;  // the focus is given when the window is shown
  }
  auto* self = reinterpret_cast<ProblemWindow*>(GetWindowLongPtrA(w, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_SIZE:
      // The list fills the window, whatever size the user gives it.
      if (self->m_hList) MoveWindow(self->m_hList, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == control::kProblemsList && HIWORD(wp) == LBN_DBLCLK) {
        self->OpenSelected();
      } else if (LOWORD(wp) == IDOK) {
        self->OpenSelected();
      } else if (LOWORD(wp) == IDCANCEL) {
        DestroyWindow(w);  // Esc and the close box
      }
      return TRUE;
    case WM_DESTROY:
      if (self->m_hList) RemoveWindowSubclass(self->m_hList, ListProc, 0);
      self->m_hWnd = nullptr;
      self->m_hList = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

LRESULT CALLBACK ProblemWindow::ListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ProblemWindow*>(data);
  switch (msg) {
    case WM_GETDLGCODE:
      // Where a loop does make dialog keys of them, Enter and Esc still come here.
      return DefSubclassProc(w, msg, wp, lp) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        self->OpenSelected();
        return 0;
      }
      if (wp == VK_ESCAPE) {
        // Closed once the list has finished with the key.
        PostMessageA(GetParent(w), WM_COMMAND, IDCANCEL, 0);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == '\r' || wp == 0x1B) return 0;  // no search for them
      break;
    default:
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}
