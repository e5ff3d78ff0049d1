#include "ui/pdf_size_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

#include "config/resource_ids.h"
#include "config/option_dialogs.h"
#include "ui/dialog_owner.h"
#include "ui/dialogs.h"

PdfSizeDialog::PdfSizeDialog(CPdfSizeDlg& model, QWidget* parent) : QDialog(parent), m_model(model) {
  m_built = BuildDialog(this, LoadDialogTemplate(dialog::kPdfSize));

  // A radio button's number is its place in the template, not its id:
  // Landscape sits fifth although its id is the last.
  m_radios = new QButtonGroup(this);
  for (QWidget* w : m_built.order) {
    if (auto* r = qobject_cast<QRadioButton*>(w)) m_radios->addButton(r, m_radios->buttons().size());
  }
  m_nShowBox = qobject_cast<QCheckBox*>(m_built.controls.value(control::kPdfNShowBox));
  m_neShowBox = qobject_cast<QCheckBox*>(m_built.controls.value(control::kPdfNeShowBox));
  auto* ok = qobject_cast<QAbstractButton*>(m_built.controls.value(control::kOk));
  auto* cancel = qobject_cast<QAbstractButton*>(m_built.controls.value(control::kCancel));
  Q_ASSERT(m_nShowBox && m_neShowBox && ok && cancel && m_radios->buttons().size() == CPdfSizeDlg::kRadioCount);

  m_model.OnInitDialog();
  ShowRadio();
  ShowBoxes();

  // The click has toggled the box already; the model follows it and may
  // clear the other box.
  connect(m_nShowBox, &QCheckBox::clicked, this, [this](bool checked) {
    m_model.OnCheckNShow(checked);
    ShowBoxes();
  });
  connect(m_neShowBox, &QCheckBox::clicked, this, [this](bool checked) {
    m_model.OnCheckNeShow(checked);
    ShowBoxes();
  });
  connect(ok, &QAbstractButton::clicked, this, [this] { OnOk(); });
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  ok->setFocus();
}

void PdfSizeDialog::ShowBoxes() {
  m_nShowBox->setChecked(m_model.NShowBox());
  m_neShowBox->setChecked(m_model.NeShowBox());
}

void PdfSizeDialog::ShowRadio() {
  // An exclusive group refuses to clear its checked button, and a stored
  // number outside the group must show no choice at all.
  m_radios->setExclusive(false);
  for (QAbstractButton* b : m_radios->buttons()) b->setChecked(m_radios->id(b) == m_model.Radio());
  m_radios->setExclusive(true);
}

void PdfSizeDialog::OnOk() {
  m_model.SelectRadio(m_radios->checkedId());
  m_model.SaveExchange();
  accept();
}

bool ExecPdfSizeDialog(CPdfSizeDlg& model, QWidget* parent) {
  PdfSizeDialog dlg(model, DialogOwner(parent));
  return dlg.exec() == QDialog::Accepted;
}
