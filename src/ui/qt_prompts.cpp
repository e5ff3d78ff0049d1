#include "ui/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include <utility>

#include "ui/cp_text.h"
#include "ui/dialog_owner.h"
#include "ui/dialogs.h"
#include "text/mbcs.h"

QtPrompts::QtPrompts(QString appTitle) : m_title(std::move(appTitle)) {}

namespace {
// A message box as the bar shows them: plain text (a path may hold '<'), one
// caption, the icon asked for, and the buttons given.
int RunBox(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def,
           const QString& details = QString()) {
  const QString shown =
      QString::fromStdString(mbcs::ShortenLongLines(text.toStdString(), kBoxLineColumns, mbcs::CodePage::Utf8));
  QMessageBox box(icon, caption, shown, buttons, owner);
  box.setTextFormat(Qt::PlainText);
  if (!details.isEmpty()) box.setDetailedText(details);
  box.setDefaultButton(def);
  if (buttons & QMessageBox::Cancel) box.setEscapeButton(QMessageBox::Cancel);
  return box.exec();
}
}  // namespace

void QtPrompts::Notice(const std::string& text) {
  RunBox(DialogOwner(m_owner), m_title, MessageToQt(text), QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompts::AskOkCancel(const std::string& text) {
  return RunBox(DialogOwner(m_owner), m_title, MessageToQt(text), QMessageBox::Warning,
                QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

void QtPrompts::MessageBox(const std::string& caption, const std::string& text, BoxIcon icon) {
  MessageBoxWithDetails(caption, text, icon, std::string());
}

void QtPrompts::MessageBoxWithDetails(const std::string& caption, const std::string& text, BoxIcon icon,
                                      const std::string& details) {
  QMessageBox::Icon qicon = QMessageBox::NoIcon;
  switch (icon) {
    case BoxIcon::None: qicon = QMessageBox::NoIcon; break;
    case BoxIcon::Exclamation: qicon = QMessageBox::Warning; break;
    case BoxIcon::Stop: qicon = QMessageBox::Critical; break;
  }
  RunBox(DialogOwner(m_owner), caption.empty() ? m_title : MessageToQt(caption), MessageToQt(text), qicon, QMessageBox::Ok,
         QMessageBox::Ok, CpToQt(details));
}

QString QtPrompts::QtNameFilter(const std::vector<FileType>& types) {
  QStringList filters;
  for (const FileType& type : types) {
    const QString label = LiteralToQt(type.label);
    // Qt reads the patterns from the parentheses at the end of the name,
    // blank-separated; a label that shows them already is taken as it is.
    const QString shown =
        QLatin1Char('(') + LiteralToQt(type.patterns).replace(QLatin1Char(';'), QLatin1Char(' ')).simplified() +
        QLatin1Char(')');
    filters << (label.trimmed().endsWith(shown) ? label : label + QLatin1Char(' ') + shown);
  }
  return filters.join(QStringLiteral(";;"));
}

bool QtPrompts::IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

bool QtPrompts::PickFile(const FileRequest& request, std::string& path) {
  // A box or dialog opened while the Settings dialog is up stacks on it.
  QFileDialog dlg(DialogOwner(request.ownedByMainWindow ? m_owner.data() : nullptr));
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  // Must-exist is what an open dialog is; without it a new name may be typed.
  dlg.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // A read-only check box is not something Qt's dialog has; hideReadOnly holds.
  const QString filter = QtNameFilter(request.types);
  if (!filter.isEmpty()) dlg.setNameFilter(filter);
  if (!request.defExt.empty()) dlg.setDefaultSuffix(LiteralToQt(request.defExt));
  const QString initial = LiteralToQt(request.initialName);
  if (!initial.isEmpty() && !IsPattern(initial)) dlg.selectFile(initial);
  if (dlg.exec() != QDialog::Accepted) return false;
  const QStringList files = dlg.selectedFiles();
  if (files.isEmpty()) return false;
  path = QtPathToCp(files.first());
  return true;
}

bool QtPrompts::ShowPdfSizeDialog(CPdfSizeDlg& dlg) { return ExecPdfSizeDialog(dlg, m_owner); }

bool QtPrompts::ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) { return ExecMkIdxOptDialog(dlg, m_owner); }

void QtPrompts::ShowSettingsDialog(CSettingsDlg& dlg) { ExecSettingsDialog(dlg, m_owner); }

void QtPrompts::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtPrompts::EndWaitCursor() { QApplication::restoreOverrideCursor(); }
