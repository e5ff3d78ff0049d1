#include "ui/about_dialog.h"

#include <QAbstractButton>

#include "config/resource_ids.h"
#include "ui/dialog_owner.h"
#include "ui/dialogs.h"

// No members, no handlers of its own: OK and Esc close it the standard way.
CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  m_built = BuildDialog(this, LoadDialogTemplate(dialog::kAbout));
  auto* ok = qobject_cast<QAbstractButton*>(m_built.controls.value(1));
  Q_ASSERT(ok);
  connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
  ok->setFocus();
}

void ExecAboutDialog(QWidget* parent) {
  CAboutDlg dlg(DialogOwner(parent));
  dlg.exec();
}
