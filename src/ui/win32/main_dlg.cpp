#include "ui/win32/main_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include <vector>

#include "button_icons.h"  // generated from the main window's template
#include "config/control_ids.h"
#include "ui/win32/dialogs.h"

namespace {
constexpr int kMainTemplate = 146;
constexpr int kHistoryBox = control::kHistory;
constexpr int kFileSelect = control::kSelectFile;
constexpr int kAboutString = 101;
constexpr int kAboutCommand = 16;
constexpr int kProgramIcon = 128;
}  // namespace

CMirvanWin::CMirvanWin(MirvanEnv env, Win32Prompts& prompts) : m_core(env), m_prompts(prompts) {
  m_hIcon = static_cast<HICON>(LoadImageA(prompts.Instance(), MAKEINTRESOURCEA(kProgramIcon), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  m_hSmallIcon = static_cast<HICON>(LoadImageA(prompts.Instance(), MAKEINTRESOURCEA(kProgramIcon), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

INT_PTR CMirvanWin::DoModal() {
  return DialogBoxParamA(m_prompts.Instance(), MAKEINTRESOURCEA(kMainTemplate), nullptr, Proc,
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
      if ((wp & 0xFFF0) == kAboutCommand) {
        win32dlg::RunAbout(self->m_prompts);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      if (self->m_busy) return TRUE;
      self->m_core.OnClose();  // the close box saves the history; Esc does not
      EndDialog(w, IDCANCEL);
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
  m_hHistory = GetDlgItem(m_hWnd, kHistoryBox);

  if (HMENU sys = GetSystemMenu(m_hWnd, FALSE)) {
    char about[256] = {};
    if (LoadStringA(m_prompts.Instance(), kAboutString, about, sizeof about) > 0) {
      AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(sys, MF_STRING, kAboutCommand, about);
    }
  }
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));

  for (const ButtonIcon& b : kButtonIcons) {
    HWND button = GetDlgItem(m_hWnd, b.control);
    RECT r;
    GetClientRect(button, &r);
    // The picture fills the button less its frame, 32 pixels at most.
    const int side = std::min<int>(32, std::min(r.right, r.bottom) - 4);
    HANDLE icon = LoadImageA(m_prompts.Instance(), MAKEINTRESOURCEA(b.icon), IMAGE_ICON, side, side, 0);
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }

  m_core.Doc().History().SetView([this] { SyncHistory(); }, [this] { SetFocus(m_hHistory); });
  m_core.SetRepaint([this] { InvalidateRect(m_hWnd, nullptr, TRUE); });
  m_core.InitDialogCore();
  SyncHistory();
  InvalidateRect(m_hWnd, nullptr, TRUE);
  DragAcceptFiles(m_hWnd, TRUE);
  SetupToolTips();
  return TRUE;  // the focus goes to the history box, first in tab order
}

void CMirvanWin::SyncHistory() {
  const HistoryBox& model = m_core.Doc().History();
  const int count = static_cast<int>(SendMessageA(m_hHistory, CB_GETCOUNT, 0, 0));
  bool same = count == model.GetCount();
  for (int i = 0; same && i < count; ++i) {
    const int len = static_cast<int>(SendMessageA(m_hHistory, CB_GETLBTEXTLEN, i, 0));
    std::string text(static_cast<std::size_t>(len > 0 ? len : 0) + 1, '\0');
    SendMessageA(m_hHistory, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    same = text.c_str() == model.GetText(i);
  }
  if (!same) {
    SendMessageA(m_hHistory, CB_RESETCONTENT, 0, 0);
    // Paths are in the system code page, as the ANSI combo box wants them.
    for (const std::string& s : model.Items()) {
      SendMessageA(m_hHistory, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
  }
  SendMessageA(m_hHistory, CB_SETCURSEL, model.GetCurSel(), 0);
  SetWindowTextA(m_hHistory, model.GetEditText().c_str());
  SendMessageA(m_hHistory, CB_SETEXTENDEDUI, model.GetExtendedUI() ? TRUE : FALSE, 0);
}

void CMirvanWin::OnCommand(int id, int code) {
  if (id == kHistoryBox) {
    if (code == CBN_SELENDOK && !m_busy) {
      const int sel = static_cast<int>(SendMessageA(m_hHistory, CB_GETCURSEL, 0, 0));
      m_core.Doc().History().SetCurSel(sel);
      m_core.RunAction([this] { m_core.SelectHistory(); });
      SyncHistory();
    }
    return;
  }
  if (id == IDOK || id == IDCANCEL) {
    // Esc, or Enter where no push button has the focus: the dialog ends
    // without saving the history.
    if (!m_busy) EndDialog(m_hWnd, id);
    return;
  }
  if (code == BN_CLICKED) OnButton(id);
}

void CMirvanWin::OnButton(int id) {
  if (m_busy) return;
  const std::function<void()> action = m_core.ActionFor(id);
  if (!action) return;
  m_busy = true;
  m_core.RunAction(action);
  m_busy = false;
  SyncHistory();
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
  if (m_busy) return;
  if (paths.empty()) paths.emplace_back();
  m_core.RunAction([&] { m_core.OnDropFiles(paths); });
  SyncHistory();
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

std::string CMirvanWin::ManualPath(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of("\\/");
  const std::string dir = slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
  const std::string beside = dir + "manual.html";
  if (GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) return beside;
  const std::string checkout = dir + "..\\docs\\manual-windows.html";
  if (GetFileAttributesA(checkout.c_str()) != INVALID_FILE_ATTRIBUTES) return checkout;
  return beside;
}

void CMirvanWin::OnHelp() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string manual = ManualPath(exe);
  const std::size_t slash = manual.find_last_of('\\');
  m_core.Env().platform.OpenDocument(manual, manual.substr(0, slash == std::string::npos ? 0 : slash));
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
  m_tip[0] = '\0';
  if (LoadStringA(m_prompts.Instance(), static_cast<UINT>(id), m_tip, sizeof m_tip) <= 0) return 0;
  // The part before the line break would be a status bar text; the bar has
  // none, so the tip shows what follows it.
  const char* nl = strchr(m_tip, '\n');
  info->lpszText = nl ? const_cast<char*>(nl + 1) : m_tip;
  return 0;
}
