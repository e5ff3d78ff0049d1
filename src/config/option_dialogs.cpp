// The paper size and MakeIndex option dialogs as models: their state from
// the settings file and what their controls do to it.
#include <string>

#include "config/settings_keys.h"
#include "config/option_dialogs.h"

using namespace settings;

CPdfSizeDlg::CPdfSizeDlg(IProfile& profile)
    : m_nNShow(profile.GetProfileInt(kSettings, kPdfNShow, kDefaultPdfNShow)),
      m_nNeShow(profile.GetProfileInt(kSettings, kPdfNeShow, kDefaultPdfNeShow)),
      m_nSizeNo(profile.GetProfileInt(kSettings, kPdfSizeNo, kDefaultPdfSizeNo)) {}

void CPdfSizeDlg::OnInitDialog() {
  // A number from an edited file outside the group selects no button.
  m_nRadio = (m_nSizeNo >= 0 && m_nSizeNo < kRadioCount) ? m_nSizeNo : -1;
  if (m_nNShow != 0) m_bBox1012 = true;
  if (m_nNeShow != 0) m_bBox1013 = true;
}

// The click has already toggled the box; the members follow it, and ticking
// one box clears the other.
void CPdfSizeDlg::OnCheckNShow() {
  if (m_nNShow != 0) {
    m_nNShow = 0;
    return;
  }
  m_nNShow = 1;
  if (m_nNeShow != 0) {
    m_bBox1013 = false;
    m_nNeShow = 0;
  }
}

void CPdfSizeDlg::OnCheckNeShow() {
  if (m_nNeShow != 0) {
    m_nNeShow = 0;
    return;
  }
  m_nNeShow = 1;
  if (m_nNShow != 0) {
    m_bBox1012 = false;
    m_nNShow = 0;
  }
}

void CPdfSizeDlg::SaveExchange() {
  m_nSizeNo = (m_nRadio >= 0 && m_nRadio < kRadioCount) ? m_nRadio : -1;
}

CMkIdxOptDlg::CMkIdxOptDlg(IProfile& profile)
    : m_strOptions(profile.GetProfileString(kSettings, kMkIdxOpt, kDefaultMkIdxOpt)),
      m_nNever(profile.GetProfileInt(kSettings, kMkIdxNvr, kDefaultMkIdxNvr)) {}
