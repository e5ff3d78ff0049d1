// The paper size and MakeIndex option dialogs as models, and the two
// exchanges that show them and store their answers.
#include <string>

#include "config/settings_keys.h"
#include "core/dialogs.h"

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

void CMirvanDlg::EditMkIdxOptions() {
  CMkIdxOptDlg dlg(Profile());
  if (!Prompts().ShowMkIdxOptDialog(dlg)) return;
  m_strMkIdxOpt = dlg.m_strOptions;
  m_nMkIdxNvr = dlg.m_nNever;
  // An empty text is stored as an empty value: deleting the key would bring
  // back the start-up default at the next start.
  Profile().WriteProfileString(kSettings, kMkIdxOpt, m_strMkIdxOpt);
  Profile().WriteProfileInt(kSettings, kMkIdxNvr, m_nMkIdxNvr);
}

bool CMirvanDlg::PdfSizeExchange() {
  CPdfSizeDlg dlg(Profile());
  if (!Prompts().ShowPdfSizeDialog(dlg)) return false;
  m_nPdfSizeNo = dlg.m_nSizeNo;
  m_nPdfNShow = dlg.m_nNShow;
  m_nPdfNeShow = dlg.m_nNeShow;
  Profile().WriteProfileInt(kSettings, kPdfNShow, m_nPdfNShow);
  Profile().WriteProfileInt(kSettings, kPdfNeShow, m_nPdfNeShow);
  Profile().WriteProfileInt(kSettings, kPdfSizeNo, m_nPdfSizeNo);
  // The file keeps the two boxes apart; in memory either one stops the
  // question for the rest of this run.
  m_nPdfNShow += m_nPdfNeShow;
  // Read by the Settings dialog's owner, which never sees this instance's
  // members otherwise.
  m_bPdfSizeOk = true;
  m_nPdfSizeOkShow = m_nPdfNShow;
  return true;
}

void CMirvanDlg::EditPdfSize() { PdfSizeExchange(); }
