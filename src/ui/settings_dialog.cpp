#include "ui/settings_dialog.h"

#include <QAbstractButton>

#include "actions/settings_dlg.h"
#include "config/resource_ids.h"
#include "ui/dialog_owner.h"
#include "ui/dialogs.h"

SettingsDialog::SettingsDialog(CSettingsDlg& model, QWidget* parent) : QDialog(parent), m_model(model) {
  m_built = BuildDialog(this, LoadDialogTemplate(dialog::kSettings));
  // Every button but Close is one of the model's operations.
  for (auto it = m_built.controls.constBegin(); it != m_built.controls.constEnd(); ++it) {
    auto* b = qobject_cast<QAbstractButton*>(it.value());
    const int id = it.key();
    if (!b || id == control::kOk) continue;
    connect(b, &QAbstractButton::clicked, this, [this, id] { m_model.OnButton(id); });
  }
  // Close is the default button and simply ends the dialog; how it ends
  // makes no difference to the caller.
  auto* close = qobject_cast<QAbstractButton*>(m_built.controls.value(control::kOk));
  Q_ASSERT(close);
  connect(close, &QAbstractButton::clicked, this, &QDialog::accept);
}

void ExecSettingsDialog(CSettingsDlg& model, QWidget* parent) {
  // Modal over its parent: the bar takes no input while the dialog is open.
  SettingsDialog dlg(model, DialogOwner(parent));
  dlg.exec();
}
