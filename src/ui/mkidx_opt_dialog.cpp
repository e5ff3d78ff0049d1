#include "ui/mkidx_opt_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>

#include "config/resource_ids.h"
#include "config/option_dialogs.h"
#include "ui/cp_text.h"
#include "ui/dialog_owner.h"
#include "ui/dialogs.h"

// The options come from the settings file and go back there: they cross in
// the system code page.
MkIdxOptDialog::MkIdxOptDialog(CMkIdxOptDlg& model, QWidget* parent) : QDialog(parent), m_model(model) {
  m_built = BuildDialog(this, LoadDialogTemplate(dialog::kMkIdxOpt));
  m_options = qobject_cast<QLineEdit*>(m_built.controls.value(control::kMkIdxOptionsEdit));
  m_never = qobject_cast<QCheckBox*>(m_built.controls.value(control::kMkIdxNeverBox));
  auto* ok = qobject_cast<QAbstractButton*>(m_built.controls.value(control::kOk));
  auto* cancel = qobject_cast<QAbstractButton*>(m_built.controls.value(control::kCancel));
  Q_ASSERT(m_options && m_never && ok && cancel);

  m_options->setText(CpToQt(m_model.Options()));
  m_never->setChecked(m_model.Never() != 0);
  // The options are what the dialog is opened for: typed text goes there,
  // replacing what is shown, as a Windows dialog's first edit box takes it.
  // On OK, the first tab stop, the blank of "-s myindex" would press it.
  m_options->setFocus(Qt::OtherFocusReason);
  m_options->selectAll();

  connect(ok, &QAbstractButton::clicked, this, [this] { OnOk(); });
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

void MkIdxOptDialog::OnOk() {
  m_model.SaveExchange(QtToCp(m_options->text()), m_never->isChecked());
  accept();
}

bool ExecMkIdxOptDialog(CMkIdxOptDlg& model, QWidget* parent) {
  MkIdxOptDialog dlg(model, DialogOwner(parent));
  return dlg.exec() == QDialog::Accepted;
}
