/* Asks Windows, from inside Wine, what the X side cannot see:
 *   wininfo size PROGRAM.exe TEMPLATE W H   pixels of W x H dialog units in
 *                                           the template's font, "w h"
 *   wininfo text TITLE CONTROL              text of a control of the window
 *                                           titled TITLE (UTF-8 out)
 *   wininfo icons TITLE CONTROL...          exits 0 when every one of these
 *                                           buttons shows an icon
 *   wininfo list TITLE CONTROL              the lines of a list box (UTF-8 out),
 *                                           "> " before the selected one, and
 *                                           last "focus" where it has the
 *                                           keyboard focus
 *   wininfo menu                            exits 0 when a menu is open
 *   wininfo version PROGRAM                 the file version of its version
 *                                           resource, as Explorer shows it
 *   wininfo cut PROGRAM TEMPLATE TITLE      exits 0 when every caption of the
 *                                           dialog titled TITLE, made from
 *                                           TEMPLATE, is shown whole; names
 *                                           the others
 * The size is measured on a hidden copy of the template from the program's
 * own resources, so the font is whatever Windows (Wine) made of it. */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The window titled TITLE: the argument reaches us in the system's code
 * page, as Wine converts the command line. */
static HWND Titled(const char* title) {
  wchar_t w[512];
  MultiByteToWideChar(CP_ACP, 0, title, -1, w, 512);
  return FindWindowW(NULL, w);
}

static INT_PTR CALLBACK Quiet(HWND w, UINT m, WPARAM wp, LPARAM lp) { return m == WM_INITDIALOG; }

static void PrintUtf8(const wchar_t* w) {
  char out[4096];
  WideCharToMultiByte(CP_UTF8, 0, w, -1, out, sizeof out, NULL, NULL);
  fputs(out, stdout);
  fputs("\n", stdout);
}

/* A caption is cut when the text, as the control draws it in its font,
 * needs more room than the control has: a static text wrapped at its width,
 * a check box or radio button at the size the control itself asks for.
 * Fonts and those questions do not cross processes, so the live dialog's
 * controls are measured on a hidden copy of its template with the live
 * rectangles. */
static int Cut(const char* program, int templ, const char* title) {
  HWND live = Titled(title);
  HMODULE m = LoadLibraryExA(program, NULL, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC r = m ? FindResourceA(m, MAKEINTRESOURCEA(templ), (LPCSTR)RT_DIALOG) : NULL;
  if (!live || !r) return 2;
  /* The copy's controls are the program's: common controls 6, through the
   * program's own manifest. */
  ACTCTXA actx = {sizeof actx};
  actx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  actx.lpSource = program;
  actx.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE ctx = CreateActCtxA(&actx);
  ULONG_PTR cookie = 0;
  if (ctx == INVALID_HANDLE_VALUE || !ActivateActCtx(ctx, &cookie)) return 4;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HWND copy = CreateDialogIndirectParamA(GetModuleHandleA(NULL), (DLGTEMPLATE*)LockResource(LoadResource(m, r)), NULL,
                                         Quiet, 0);
  if (!copy) return 2;
  int cut = 0, measured = 0;
  HWND c = GetWindow(copy, GW_CHILD);
  for (HWND l = GetWindow(live, GW_CHILD); l && c; l = GetWindow(l, GW_HWNDNEXT), c = GetWindow(c, GW_HWNDNEXT)) {
    RECT lr;
    GetWindowRect(l, &lr);
    MapWindowPoints(NULL, live, (POINT*)&lr, 2);
    MoveWindow(c, lr.left, lr.top, lr.right - lr.left, lr.bottom - lr.top, FALSE);
    wchar_t cls[32] = L"", text[1024] = L"";
    GetClassNameW(c, cls, 32);
    GetWindowTextW(c, text, 1024);
    if (!text[0]) continue;
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    RECT have;
    GetClientRect(c, &have);
    SIZE need = {0, 0};
    if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT) {
      HDC dc = GetDC(c);
      HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(c, WM_GETFONT, 0, 0));
      RECT t = {0, 0, have.right, 0};
      DrawTextW(dc, text, -1, &t, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
      SelectObject(dc, old);
      ReleaseDC(c, dc);
      need.cx = t.right;
      need.cy = t.bottom;
    } else if (lstrcmpiW(cls, L"Button") == 0) {
      const LONG type = style & BS_TYPEMASK;
      if (type != BS_AUTOCHECKBOX && type != BS_CHECKBOX && type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON) continue;
      SendMessageW(c, BCM_GETIDEALSIZE, 0, (LPARAM)&need);
      if (need.cx > 0) measured = 1;
    } else {
      continue;
    }
    if (need.cx > have.right || need.cy > have.bottom) {
      char out[2048];
      WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, NULL, NULL);
      printf("cut: %s (needs %ldx%ld, has %ldx%ld)\n", out, need.cx, need.cy, have.right, have.bottom);
      cut = 1;
    }
  }
  DestroyWindow(copy);
  if (!measured) {
    puts("no check box or radio button answered BCM_GETIDEALSIZE: not common controls 6");
    return 5;
  }
  return cut ? 3 : 0;
}

int main(int argc, char** argv) {
  if (argc == 6 && strcmp(argv[1], "size") == 0) {
    HMODULE m = LoadLibraryExA(argv[2], NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC r = m ? FindResourceA(m, MAKEINTRESOURCEA(atoi(argv[3])), (LPCSTR)RT_DIALOG) : NULL;
    if (!r) return 2;
    DLGTEMPLATE* t = (DLGTEMPLATE*)LockResource(LoadResource(m, r));
    HWND d = CreateDialogIndirectParamA(GetModuleHandleA(NULL), t, NULL, Quiet, 0);
    if (!d) return 3;
    RECT rc = {0, 0, atoi(argv[4]), atoi(argv[5])};
    MapDialogRect(d, &rc);
    printf("%ld %ld\n", rc.right, rc.bottom);
    DestroyWindow(d);
    return 0;
  }
  if (argc == 4 && strcmp(argv[1], "text") == 0) {
    HWND w = Titled(argv[2]);
    HWND c = w ? GetDlgItem(w, atoi(argv[3])) : NULL;
    if (!c) return 2;
    wchar_t text[2048] = L"";
    SendMessageW(c, WM_GETTEXT, 2048, (LPARAM)text);
    PrintUtf8(text);
    return 0;
  }
  if (argc >= 4 && strcmp(argv[1], "icons") == 0) {
    HWND w = Titled(argv[2]);
    if (!w) return 2;
    for (int i = 3; i < argc; ++i) {
      HWND c = GetDlgItem(w, atoi(argv[i]));
      if (!c || !SendMessageW(c, BM_GETIMAGE, IMAGE_ICON, 0)) {
        printf("no icon on %s\n", argv[i]);
        return 3;
      }
    }
    return 0;
  }
  if (argc == 4 && strcmp(argv[1], "list") == 0) {
    HWND w = Titled(argv[2]);
    HWND c = w ? GetDlgItem(w, atoi(argv[3])) : NULL;
    if (!c) return 2;
    const LRESULT n = SendMessageW(c, LB_GETCOUNT, 0, 0), sel = SendMessageW(c, LB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      wchar_t text[2048] = L"";
      if (SendMessageW(c, LB_GETTEXTLEN, i, 0) >= 2048) return 3;
      SendMessageW(c, LB_GETTEXT, i, (LPARAM)text);
      if (i == sel) fputs("> ", stdout);
      PrintUtf8(text);
    }
    GUITHREADINFO gui = {sizeof gui};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(c, NULL), &gui) && gui.hwndFocus == c) puts("focus");
    return 0;
  }
  if (argc == 2 && strcmp(argv[1], "menu") == 0) {
    HWND m = FindWindowW(L"#32768", NULL);
    return m && IsWindowVisible(m) ? 0 : 1;
  }
  if (argc == 3 && strcmp(argv[1], "version") == 0) {
    DWORD ignored = 0, n = GetFileVersionInfoSizeA(argv[2], &ignored);
    char* info = n ? malloc(n) : NULL;
    char* value = NULL;
    UINT len = 0;
    if (!info || !GetFileVersionInfoA(argv[2], 0, n, info) ||
        !VerQueryValueA(info, "\\StringFileInfo\\041104B0\\FileVersion", (void**)&value, &len))
      return 2;
    puts(value);
    return 0;
  }
  if (argc == 5 && strcmp(argv[1], "cut") == 0) return Cut(argv[2], atoi(argv[3]), argv[4]);
  fputs("usage: wininfo size PROGRAM TEMPLATE W H | text TITLE CONTROL | icons TITLE CONTROL... |"
        " list TITLE CONTROL | menu | version PROGRAM | cut PROGRAM TEMPLATE TITLE\n",
        stderr);
  return 1;
}
