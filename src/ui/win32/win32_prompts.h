// The boxes and dialogs of the bar, shown with the Windows API: message
// boxes, the open-file dialog and the three option dialogs on their
// templates. Every window opened here is modal over the window that is
// active in the program at that moment: the bar, or the Settings dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/prompts.h"
#include "ui/win32/windows_ui.h"

class Win32Prompts : public IPrompts {
 public:
  // appTitle (system code page): the caption of every box that names none.
  Win32Prompts(HINSTANCE instance, std::string appTitle);

  HINSTANCE Instance() const { return m_instance; }
  // The modal windows of the program, innermost last; the owner of the next.
  void PushOwner(HWND w) { m_owners.push_back(w); }
  void PopOwner() { if (!m_owners.empty()) m_owners.pop_back(); }
  HWND Owner() const { return m_owners.empty() ? nullptr : m_owners.back(); }

  void Notice(const std::string& text) override;
  bool AskOkCancel(const std::string& text) override;
  void MessageBox(const std::string& caption, const std::string& text, BoxIcon icon) override;
  bool PickFile(const FileRequest& request, std::string& path) override;
  bool ShowPdfSizeDialog(CPdfSizeDlg& dlg) override;
  bool ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) override;
  void ShowSettingsDialog(CSettingsDlg& dlg) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;

  // The open-file dialog's filter: label and patterns of each type in the
  // system code page, each ending in a NUL, and one NUL more at the end.
  static std::string OfnFilter(const std::vector<FileType>& types);

 private:
  int Box(const std::string& caption, const std::string& text, UINT type);

  HINSTANCE m_instance;
  std::string m_title;
  std::vector<HWND> m_owners;
  int m_waitDepth = 0;
  HCURSOR m_savedCursor = nullptr;
};
