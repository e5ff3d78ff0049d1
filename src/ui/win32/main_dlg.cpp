#include "ui/win32/main_dlg.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include <vector>

#include "config/resource_ids.h"
#include "ui/win32/dialogs.h"

namespace {
// The entries of the system menu, each a command of the context menu too:
// the low four bits of a system command are the system's own.
struct SystemEntry {
  int command;  // the system command
  int entry;    // the context menu's command, the number of its text
};
const SystemEntry kSystemEntries[] = {
    {32, string_id::kProblemsMenu},
    {16, string_id::kAboutMenu},  // last, as About is everywhere
};

// A modal dialog's loop cannot wait on the watch's handle: a timer looks
// at it, and another is the settling the controller asks for.
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchTick = 100;  // ms
constexpr UINT_PTR kSettleTimer = 3;

constexpr UINT kOpenList = WM_APP + 1;
}  // namespace

CMirvanWin::CMirvanWin(MirvanEnv env, Win32Prompts& prompts)
    : m_bar(env, *this),
      m_prompts(prompts),
      m_problems(prompts.Instance(), [this](std::size_t index) { m_bar.OpenProblem(index); }) {
  m_hIcon = static_cast<HICON>(LoadImageA(prompts.Instance(), MAKEINTRESOURCEA(icon::kMainWindow), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  m_hSmallIcon =
      static_cast<HICON>(LoadImageA(prompts.Instance(), MAKEINTRESOURCEA(icon::kMainWindow), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

INT_PTR CMirvanWin::DoModal() {
  return DialogBoxParamA(m_prompts.Instance(), MAKEINTRESOURCEA(dialog::kMain), nullptr, Proc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CMirvanWin::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CMirvanWin*>(lp);
    SetWindowLongPtrA(w, DWLP_USER, lp);
    self->m_hWnd = w;
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CMirvanWin*>(GetWindowLongPtrA(w, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      self->OnCommand(LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_DROPFILES:
      self->OnDropFiles(reinterpret_cast<HDROP>(wp));
      return TRUE;
    case WM_SYSCOMMAND:
      return self->OnSysCommand(wp & 0xFFF0) ? TRUE : FALSE;
    case WM_INITMENUPOPUP:
      if (HIWORD(lp)) self->OnInitSystemMenu(reinterpret_cast<HMENU>(wp));
      return FALSE;
    case WM_CONTEXTMENU:
      self->OnContextMenu(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return TRUE;
    case kOpenList:
      self->m_problems.Open(w);
      return TRUE;
    case WM_TIMER:
      self->OnTimer(wp);
      return TRUE;
    case WM_CLOSE:
      self->End(BarEnd::CloseBox);
      return TRUE;
    case WM_QUERYENDSESSION:
      SetWindowLongPtrA(w, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_ENDSESSION:
      if (wp) self->End(BarEnd::Session);
      return TRUE;
    case WM_PAINT:
      return self->OnPaint();
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(self->m_hIcon);
    case WM_HELP:
      self->OnHelp();
      return TRUE;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->code == TTN_GETDISPINFOA) {
        SetWindowLongPtrA(w, DWLP_MSGRESULT, self->OnToolTipText(hdr));
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      self->m_prompts.PopOwner();
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL CMirvanWin::OnInitDialog() {
  m_prompts.PushOwner(m_hWnd);
  m_hHistory = GetDlgItem(m_hWnd, control::kHistory);

  if (HMENU sys = GetSystemMenu(m_hWnd, FALSE)) {
    AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    for (const SystemEntry& e : kSystemEntries) {
      char text[256] = {};
      if (LoadStringA(m_prompts.Instance(), static_cast<UINT>(e.entry), text, sizeof text) > 0)
        AppendMenuA(sys, MF_STRING, static_cast<UINT_PTR>(e.command), text);
    }
  }
  char caption[256] = {};
  GetWindowTextA(m_hWnd, caption, sizeof caption);
  m_caption = caption;
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));

  for (const ButtonIcon& b : kButtonIcons) {
    HWND button = GetDlgItem(m_hWnd, b.control);
    RECT r;
    GetClientRect(button, &r);
    // At most the largest picture the icon files hold.
    const int side = std::min(32, BarController::IconSide(r.right, r.bottom));
    HANDLE icon = LoadImageA(m_prompts.Instance(), MAKEINTRESOURCEA(b.icon), IMAGE_ICON, side, side, 0);
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }

  m_bar.Open();
  DragAcceptFiles(m_hWnd, TRUE);
  SetupToolTips();
  return FALSE;  // the focus is where the controller put it: the history box
}

void CMirvanWin::ShowHistory(const HistoryBox& model, bool entriesChanged) {
  if (entriesChanged) {
    SendMessageA(m_hHistory, CB_RESETCONTENT, 0, 0);
    // Paths are in the system code page, as the ANSI combo box wants them.
    for (const std::string& s : model.Items()) {
      SendMessageA(m_hHistory, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
  }
  SendMessageA(m_hHistory, CB_SETCURSEL, model.GetCurSel(), 0);
  SetWindowTextA(m_hHistory, model.GetEditText().c_str());
  SendMessageA(m_hHistory, CB_SETEXTENDEDUI, model.GetExtendedUI() ? TRUE : FALSE, 0);
  InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMirvanWin::FocusHistory() { SetFocus(m_hHistory); }

void CMirvanWin::ShowProblems(const ProblemList& problems, bool) {
  // After a failure the controller offers the list, and it takes the focus
  // when it opens; until then the bar keeps it.
  m_problems.Show(problems);
}

void CMirvanWin::OpenProblemList() {
  // Once the box that offered it has gone and its owner, the bar, has been
  // activated in its place: the list is activated after that, not before.
  PostMessageA(m_hWnd, kOpenList, 0, 0);
}

void CMirvanWin::ShowAbout() { win32dlg::RunAbout(m_prompts); }

void CMirvanWin::OnContextMenu(int x, int y) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (const MenuEntry& e : m_bar.ContextMenu()) {
    char text[256] = {};
    if (LoadStringA(m_prompts.Instance(), static_cast<UINT>(e.command), text, sizeof text) <= 0) continue;
    UINT flags = MF_STRING | (e.checked ? MF_CHECKED : MF_UNCHECKED) | (e.enabled ? MF_ENABLED : MF_GRAYED);
    AppendMenuA(menu, flags, static_cast<UINT_PTR>(e.command), text);
  }
  if (x == -1 && y == -1) {
    // From the keyboard: at the control that has the focus.
    RECT r;
    GetWindowRect(GetFocus() ? GetFocus() : m_hWnd, &r);
    x = r.left;
    y = r.bottom;
  }
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
  DestroyMenu(menu);
  if (chosen) m_bar.Choose(chosen);
}

bool CMirvanWin::OnSysCommand(WPARAM command) {
  for (const SystemEntry& e : kSystemEntries) {
    if (static_cast<WPARAM>(e.command) == command) {
      m_bar.Choose(e.entry);
      return true;
    }
  }
  return false;
}

void CMirvanWin::OnInitSystemMenu(HMENU menu) {
  // Our entries are usable when the context menu's are.
  for (const MenuEntry& e : m_bar.ContextMenu()) {
    for (const SystemEntry& s : kSystemEntries) {
      if (s.entry == e.command)
        EnableMenuItem(menu, static_cast<UINT>(s.command), MF_BYCOMMAND | (e.enabled ? MF_ENABLED : MF_GRAYED));
    }
  }
}

void CMirvanWin::ShowCompileOnSave(bool on) {
  std::string title = m_caption;
  char mark[256] = {};
  if (on && LoadStringA(m_prompts.Instance(), string_id::kCompileOnSaveTitle, mark, sizeof mark) > 0) title += mark;
  SetWindowTextA(m_hWnd, title.c_str());
  if (on && m_bar.WatchHandle() != -1) {
    SetTimer(m_hWnd, kWatchTimer, kWatchTick, nullptr);
  } else {
    KillTimer(m_hWnd, kWatchTimer);
    KillTimer(m_hWnd, kSettleTimer);
  }
}

void CMirvanWin::SettleAfter(int ms) {
  // Set again, the timer starts over.
  SetTimer(m_hWnd, kSettleTimer, static_cast<UINT>(ms), nullptr);
}

void CMirvanWin::OnTimer(UINT_PTR timer) {
  if (timer == kWatchTimer) {
    const std::intptr_t handle = m_bar.WatchHandle();
    if (handle != -1 && WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0) == WAIT_OBJECT_0)
      m_bar.FilesMayHaveChanged();
  } else if (timer == kSettleTimer) {
    KillTimer(m_hWnd, kSettleTimer);
    m_bar.SavesSettled();
  }
}

void CMirvanWin::SetBusy(bool busy) {
  // The controls rather than the window are disabled: the boxes and dialogs
  // the action opens are owned by the window and must stay usable, and the
  // window goes on being drawn while the tools run.
  if (busy) {
    m_focusBefore = GetFocus();
    for (HWND c = GetWindow(m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (IsWindowEnabled(c)) {
        EnableWindow(c, FALSE);
        m_disabled.push_back(c);
      }
    }
    return;
  }
  for (HWND c : m_disabled) EnableWindow(c, TRUE);
  m_disabled.clear();
  if (m_focusBefore && IsWindowEnabled(m_focusBefore)) SetFocus(m_focusBefore);
  m_focusBefore = nullptr;
}

void CMirvanWin::End(BarEnd how) {
  if (m_bar.End(how)) EndDialog(m_hWnd, IDCANCEL);
}

void CMirvanWin::OnCommand(int id, int code) {
  if (id == control::kHistory) {
    if (code == CBN_SELENDOK) m_bar.ChooseHistory(static_cast<int>(SendMessageA(m_hHistory, CB_GETCURSEL, 0, 0)));
    return;
  }
  if (id == IDCANCEL) {
    End(BarEnd::Escape);
    return;
  }
  if (id == IDOK) {
    // Enter where no push button has the focus.
    m_bar.Enter();
    return;
  }
  if (code == BN_CLICKED) m_bar.Press(id);
}

void CMirvanWin::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    char buf[MAX_PATH] = {};
    DragQueryFileA(drop, i, buf, MAX_PATH);
    paths.emplace_back(buf);
  }
  DragFinish(drop);
  m_bar.Drop(paths);
}

bool CMirvanWin::OnPaint() {
  if (!IsIconic(m_hWnd)) return false;  // an ordinary dialog paints itself
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT r;
  GetClientRect(m_hWnd, &r);
  const int x = (r.right - r.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (r.bottom - r.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, m_hIcon);
  EndPaint(m_hWnd, &ps);
  return true;
}

void CMirvanWin::OnHelp() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string dir = exe;
  dir.erase(dir.find_last_of('\\') + 1);
  const std::string manual = m_bar.ManualPath(dir);
  ShellExecuteA(m_hWnd, "open", manual.c_str(), nullptr, dir.c_str(), SW_SHOWNORMAL);
}

void CMirvanWin::SetupToolTips() {
  m_hTips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, m_prompts.Instance(),
                            nullptr);
  if (!m_hTips) return;
  for (HWND c = GetWindow(m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    TTTOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = m_hWnd;
    ti.uId = reinterpret_cast<UINT_PTR>(c);
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(m_hTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

LRESULT CMirvanWin::OnToolTipText(NMHDR* hdr) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
  info->szText[0] = '\0';
  info->lpszText = info->szText;
  if (!(info->uFlags & TTF_IDISHWND)) return 0;
  const int id = GetDlgCtrlID(reinterpret_cast<HWND>(hdr->idFrom));
  if (id == 0) return 0;
  char text[256] = {};
  if (LoadStringA(m_prompts.Instance(), static_cast<UINT>(id), text, sizeof text) <= 0) return 0;
  m_tip = BarController::ToolTipOf(text);
  info->lpszText = &m_tip[0];
  return 0;
}
