#include "ui/win32/win32_prompts.h"

#include <commdlg.h>

#include "ui/win32/dialogs.h"
#include "ui/win32/win_text.h"
#include "text/mbcs.h"

Win32Prompts::Win32Prompts(HINSTANCE instance, std::string appTitle)
    : m_instance(instance), m_title(std::move(appTitle)) {}

int Win32Prompts::Box(const std::string& caption, const std::string& text, UINT type) {
  const std::string shown = mbcs::ShortenLongLines(wintext::ToAcp(text), kBoxLineColumns);
  const std::string title = caption.empty() ? m_title : wintext::ToAcp(caption);
  return MessageBoxA(Owner(), shown.c_str(), title.c_str(), type);
}

void Win32Prompts::Notice(const std::string& text) { Box("", text, MB_OK); }

bool Win32Prompts::AskOkCancel(const std::string& text) {
  return Box("", text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

void Win32Prompts::MessageBox(const std::string& caption, const std::string& text, BoxIcon icon) {
  UINT type = MB_OK;
  if (icon == BoxIcon::Exclamation) type |= MB_ICONEXCLAMATION;
  if (icon == BoxIcon::Stop) type |= MB_ICONSTOP;
  Box(caption, text, type);
}

std::string Win32Prompts::OfnFilter(const std::vector<FileType>& types) {
  // Each part crosses to the code page on its own: no byte of a label can
  // end it early.
  std::string out;
  for (const FileType& type : types) {
    out += wintext::ToAcp(type.label) + '\0';
    out += wintext::ToAcp(type.patterns) + '\0';
  }
  return out + '\0';
}

bool Win32Prompts::PickFile(const FileRequest& request, std::string& path) {
  char file[MAX_PATH] = {};
  const std::string initial = wintext::ToAcp(request.initialName);
  lstrcpynA(file, initial.c_str(), MAX_PATH);
  const std::string filter = OfnFilter(request.types);
  const std::string defExt = wintext::ToAcp(request.defExt);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Owner();
  ofn.lpstrFilter = request.types.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
  ofn.Flags = OFN_EXPLORER;
  if (request.fileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (request.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&ofn)) return false;
  path = file;
  return true;
}

bool Win32Prompts::ShowPdfSizeDialog(CPdfSizeDlg& dlg) { return win32dlg::RunPdfSize(*this, dlg); }

bool Win32Prompts::ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) { return win32dlg::RunMkIdxOpt(*this, dlg); }

void Win32Prompts::ShowSettingsDialog(CSettingsDlg& dlg) { win32dlg::RunSettings(*this, dlg); }

void Win32Prompts::BeginWaitCursor() {
  if (m_waitDepth++ == 0) m_savedCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void Win32Prompts::EndWaitCursor() {
  if (m_waitDepth > 0 && --m_waitDepth == 0) SetCursor(m_savedCursor ? m_savedCursor : LoadCursor(nullptr, IDC_ARROW));
}
