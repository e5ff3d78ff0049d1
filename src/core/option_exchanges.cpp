// The two exchanges that show the option dialogs and store their answers.
#include <string>

#include "config/option_dialogs.h"
#include "config/settings_keys.h"
#include "core/mirvan_dlg.h"

using namespace settings;

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
