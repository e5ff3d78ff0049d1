// The boxes and dialogs of the bar, shown with Qt.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/prompts.h"

class QtPrompts : public IPrompts {
 public:
  // appTitle: the caption of every box that names none of its own.
  explicit QtPrompts(QString appTitle);

  // The main window, once it exists: owner of the notices, the file dialogs
  // and the option dialogs. Without one they are top-level.
  void SetOwner(QWidget* owner) { m_owner = owner; }
  QWidget* Owner() const { return m_owner; }
  const QString& AppTitle() const { return m_title; }

  void Notice(const std::string& text) override;
  bool AskOkCancel(const std::string& text) override;
  void MessageBox(const std::string& caption, const std::string& text, BoxIcon icon) override;
  void MessageBoxWithDetails(const std::string& caption, const std::string& text, BoxIcon icon,
                             const std::string& details) override;
  bool PickFile(const FileRequest& request, std::string& path) override;
  bool ShowPdfSizeDialog(CPdfSizeDlg& dlg) override;
  bool ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) override;
  void ShowSettingsDialog(CSettingsDlg& dlg) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;

  // The file dialog's name filter: {"TeX file (*.tex)", "*.tex"} ->
  // "TeX file (*.tex)"; a label without its patterns gets them, "*.a;*.b"
  // as "(*.a *.b)"; several types are joined with ";;". None: all files.
  static QString QtNameFilter(const std::vector<FileType>& types);
  // A file dialog's initial name that is a pattern ("*.tex") only repeats
  // the filter; anything else is a name to preselect.
  static bool IsPattern(const QString& name);

 private:
  QString m_title;
  QPointer<QWidget> m_owner;
};
