#include "ui/mkidx_opt_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>

#include "config/option_dialogs.h"
#include "ui/cp_text.h"
#include "ui/dialog_owner.h"
#include "ui/dialogs.h"

// The options come from the settings file and go back there: they cross in
// the system code page.
MkIdxOptDialog::MkIdxOptDialog(CMkIdxOptDlg& model, QWidget* parent) : QDialog(parent), m_model(model) {
  m_built = BuildDialog(this, LoadDialogTemplate(198));
  m_options = qobject_cast<QLineEdit*>(m_built.controls.value(1121));
  m_never = qobject_cast<QCheckBox*>(m_built.controls.value(1012));
  auto* ok = qobject_cast<QAbstractButton*>(m_built.controls.value(1));
  auto* cancel = qobject_cast<QAbstractButton*>(m_built.controls.value(2));
  Q_ASSERT(m_options && m_never && ok && cancel);

  m_options->setText(CpToQt(m_model.m_strOptions));
  m_never->setChecked(m_model.m_nNever != 0);

  connect(ok, &QAbstractButton::clicked, this, [this] { OnOk(); });
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

void MkIdxOptDialog::OnOk() {
  m_model.m_strOptions = QtToCp(m_options->text());
  m_model.m_nNever = m_never->isChecked() ? 1 : 0;
  accept();
}

bool ExecMkIdxOptDialog(CMkIdxOptDlg& model, QWidget* parent) {
  MkIdxOptDialog dlg(model, DialogOwner(parent));
  return dlg.exec() == QDialog::Accepted;
}
