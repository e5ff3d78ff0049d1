#include "ui/settings_dialog.h"

#include <QAbstractButton>

#include "actions/settings_dlg.h"
#include "ui/dialog_owner.h"
#include "ui/dialogs.h"

const int SettingsDialog::kOperationIds[7] = {1004, 32772, 32774, 32775, 32778, 32777, 32776};

SettingsDialog::SettingsDialog(CSettingsDlg& model, QWidget* parent) : QDialog(parent), m_model(model) {
  m_built = BuildDialog(this, LoadDialogTemplate(137));
  for (int id : kOperationIds) {
    auto* b = qobject_cast<QAbstractButton*>(m_built.controls.value(id));
    Q_ASSERT(b);
    connect(b, &QAbstractButton::clicked, this, [this, id] { m_model.OnButton(id); });
  }
  // Close is the default button and simply ends the dialog; how it ends
  // makes no difference to the caller.
  auto* close = qobject_cast<QAbstractButton*>(m_built.controls.value(1));
  Q_ASSERT(close);
  connect(close, &QAbstractButton::clicked, this, &QDialog::accept);
}

void ExecSettingsDialog(CSettingsDlg& model, QWidget* parent) {
  // Modal over its parent: the bar takes no input while the dialog is open.
  SettingsDialog dlg(model, DialogOwner(parent));
  dlg.exec();
}
