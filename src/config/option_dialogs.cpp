// The paper size and MakeIndex option dialogs as models: what their
// controls do to their state.
#include "config/option_dialogs.h"

void CPdfSizeDlg::OnInitDialog() {
  // A number from an edited file outside the group selects no button.
  m_nRadio = (m_nSizeNo >= 0 && m_nSizeNo < kRadioCount) ? m_nSizeNo : -1;
  if (m_nNShow != 0) m_bNShowBox = true;
  if (m_nNeShow != 0) m_bNeShowBox = true;
}

namespace {

// The switches follow the clicks, not the boxes: a switch set by the file
// and shown ticked is cleared by the first click, whatever the box shows.
// Setting one switch clears the other and unticks its box.
void ClickSwitch(int& mine, int& other, bool& otherBox) {
  if (mine != 0) {
    mine = 0;
    return;
  }
  mine = 1;
  if (other != 0) {
    otherBox = false;
    other = 0;
  }
}

}  // namespace

void CPdfSizeDlg::OnCheckNShow(bool checked) {
  m_bNShowBox = checked;
  ClickSwitch(m_nNShow, m_nNeShow, m_bNeShowBox);
}

void CPdfSizeDlg::OnCheckNeShow(bool checked) {
  m_bNeShowBox = checked;
  ClickSwitch(m_nNeShow, m_nNShow, m_bNShowBox);
}

void CPdfSizeDlg::SaveExchange() {
  m_nSizeNo = (m_nRadio >= 0 && m_nRadio < kRadioCount) ? m_nRadio : -1;
}

void CMkIdxOptDlg::SaveExchange(const std::string& options, bool never) {
  m_strOptions = options;
  m_nNever = never ? 1 : 0;
}
