#include "ui/win32/caption_fit.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/caption_room.h"

namespace win32dlg {
namespace {

std::wstring TextOf(HWND c) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(c)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(c, &text[0], static_cast<int>(text.size()))));
  return text;
}

}  // namespace

void GiveCaptionsRoom(HWND dialog) {
  HDC dc = GetDC(dialog);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);

  std::vector<HWND> controls;
  std::vector<std::wstring> texts;  // kept for the measures below
  std::vector<caption_room::Box> boxes;
  std::vector<caption_room::Need> needs;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
  texts.reserve(controls.size());
  for (HWND c : controls) {
    texts.push_back(TextOf(c));
    const std::wstring& text = texts.back();
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    boxes.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    caption_room::Need need;
    wchar_t cls[16] = L"";
    GetClassNameW(c, cls, 16);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    if (!text.empty() && lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT) {
      const UINT format = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
      // A box for more than one line, or a text with a line break, wraps.
      if (text.find(L'\n') != std::wstring::npos || boxes.back().height >= 2 * tm.tmHeight) {
        need.wrappedHeight = [dc, &text, format](int width) {
          RECT m = {0, 0, width, 0};
          DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &m, format | DT_WORDBREAK);
          return static_cast<int>(m.bottom);
        };
      } else {
        RECT m = {0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &m, format | DT_SINGLELINE);
        need.width = m.right;
        need.height = m.bottom;
      }
    } else if (!text.empty() && lstrcmpiW(cls, L"Button") == 0) {
      const LONG type = style & BS_TYPEMASK;
      if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
        // The control's own answer: its mark, the gap and the caption.
        SIZE ideal = {0, 0};
        SendMessageW(c, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        need.width = ideal.cx;
        need.height = ideal.cy;
      }
    }
    needs.push_back(need);
  }

  std::vector<caption_room::Box> grown = boxes;
  RECT client;
  GetClientRect(dialog, &client);
  caption_room::GiveCaptionsRoom(grown, needs, client.right, client.bottom);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const caption_room::Box& b = grown[i];
    if (b.width != boxes[i].width || b.height != boxes[i].height)
      SetWindowPos(controls[i], nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SelectObject(dc, oldFont);
  ReleaseDC(dialog, dc);
}

}  // namespace win32dlg
