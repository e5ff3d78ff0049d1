/* Asks Windows, from inside Wine, what the X side cannot see:
 *   wininfo size PROGRAM.exe TEMPLATE W H   pixels of W x H dialog units in
 *                                           the template's font, "w h"
 *   wininfo text TITLE CONTROL              text of a control of the window
 *                                           titled TITLE (UTF-8 out)
 *   wininfo icons TITLE CONTROL...          exits 0 when every one of these
 *                                           buttons shows an icon
 * The size is measured on a hidden copy of the template from the program's
 * own resources, so the font is whatever Windows (Wine) made of it. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static INT_PTR CALLBACK Quiet(HWND w, UINT m, WPARAM wp, LPARAM lp) { return m == WM_INITDIALOG; }

static void PrintUtf8(const wchar_t* w) {
  char out[4096];
  WideCharToMultiByte(CP_UTF8, 0, w, -1, out, sizeof out, NULL, NULL);
  fputs(out, stdout);
  fputs("\n", stdout);
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
    wchar_t title[512];
    MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, title, 512);
    HWND w = FindWindowW(NULL, title);
    HWND c = w ? GetDlgItem(w, atoi(argv[3])) : NULL;
    if (!c) return 2;
    wchar_t text[2048] = L"";
    SendMessageW(c, WM_GETTEXT, 2048, (LPARAM)text);
    PrintUtf8(text);
    return 0;
  }
  if (argc >= 4 && strcmp(argv[1], "icons") == 0) {
    wchar_t title[512];
    MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, title, 512);
    HWND w = FindWindowW(NULL, title);
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
  fputs("usage: wininfo size PROGRAM TEMPLATE W H | text TITLE CONTROL | icons TITLE CONTROL...\n", stderr);
  return 1;
}
