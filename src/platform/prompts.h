// Everything the decision logic shows to the user or asks of the user. The Qt
// implementation lives in src/ui; tests script it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CPdfSizeDlg;
class CMkIdxOptDlg;
class CSettingsDlg;

enum class BoxIcon { None, Exclamation, Stop };

// The widest line a box shows, in columns (a double-byte character counts
// two): wider than every fixed text, far narrower than a path of kilobytes,
// which would make a box taller than the screen. Both bars cut wider lines
// with mbcs::ShortenLongLines.
inline constexpr std::size_t kBoxLineColumns = 160;

// One entry of the open-file dialog's list of file types: the words the
// user reads, and the patterns it stands for ("*.tex"; several: "*.a;*.b").
// Each front end builds its dialog's own filter from these.
struct FileType {
  std::string label;  // "TeX file (*.tex)"
  std::string patterns;
  bool operator==(const FileType& o) const { return label == o.label && patterns == o.patterns; }
};

// What the open-file dialog is asked for.
struct FileRequest {
  std::vector<FileType> types;  // the first is chosen; none = all files
  std::string defExt;       // added to a typed name without one; empty = none
  std::string initialName;  // e.g. "*.tex"; empty = none
  bool fileMustExist = true;  // only an existing file can be chosen
  bool hideReadOnly = true;   // no "open read-only" choice
  bool ownedByMainWindow = false;
};

class IPrompts {
 public:
  virtual ~IPrompts() = default;

  // Owner-window notice: caption the application title, OK, no icon.
  virtual void Notice(const std::string& text) = 0;
  // OK/Cancel question: caption the application title, exclamation icon.
  // Returns true for OK.
  virtual bool AskOkCancel(const std::string& text) = 0;
  // A box with its own caption (empty = application title) and icon, one OK
  // button: the compile warning and the general error reports.
  virtual void MessageBox(const std::string& caption, const std::string& text, BoxIcon icon) = 0;
  // The same box with lines the user can unfold (the log's warnings).
  virtual void MessageBoxWithDetails(const std::string& caption, const std::string& text, BoxIcon icon,
                                     const std::string& details) {
    (void)details;
    MessageBox(caption, text, icon);
  }

  // Returns true and the chosen full path, or false when cancelled.
  virtual bool PickFile(const FileRequest& request, std::string& path) = 0;

  // Modal option dialogs over their toolkit-free models; true = closed with OK.
  virtual bool ShowPdfSizeDialog(CPdfSizeDlg& dlg) = 0;
  virtual bool ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) = 0;
  // Modal; returns when the Settings dialog has closed, whichever way.
  virtual void ShowSettingsDialog(CSettingsDlg& dlg) = 0;

  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
};
