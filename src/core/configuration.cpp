// The tool configuration of the main window: loaded at start, read again
// after the Settings dialog. Every value is read from Mirvan.ini at the
// moment it is needed; the operations that change one write it themselves.
#include "config/settings_keys.h"
#include "core/mirvan_dlg.h"

using namespace settings;

void CMirvanDlg::LoadSettingsStartupRule() {
  IProfile& ini = Profile();
  m_nPdfSizeNo = kDefaultPdfSizeNo;
  m_nPdfNShow = 0;
  m_nPdfNeShow = ini.GetProfileInt(kSettings, kPdfNeShow, kDefaultPdfNeShow);
  if (m_nPdfNeShow != 0) {
    // The lasting suppression: no paper size question, the stored size.
    m_nPdfNShow = 1;
    m_nPdfSizeNo = ini.GetProfileInt(kSettings, kPdfSizeNo, kDefaultPdfSizeNo);
  } else {
    // A one-run suppression and its size end with the run that chose them.
    ini.WriteProfileInt(kSettings, kPdfNShow, 0);
    ini.WriteProfileInt(kSettings, kPdfNeShow, 0);
    ini.WriteProfileInt(kSettings, kPdfSizeNo, kDefaultPdfSizeNo);
  }
}

void CMirvanDlg::LoadSettingsPrograms() {
  IProfile& ini = Profile();
  m_strEditor = ini.GetProfileString(kEditor, kEdit, Platform().Values().defaultEditor);
  m_strTeX = ini.GetProfileString(kSettings, kTeX, kDefaultTeX);
  m_strBib = ini.GetProfileString(kSettings, kBib, Platform().Values().japaneseBibTeX);
  m_strDviPdf = ini.GetProfileString(kSettings, kDviPdf, kDefaultDviPdf);
  m_strMkIdx = ini.GetProfileString(kSettings, kMkIdx, kDefaultMkIdx);
  m_strMkIdxOpt = ini.GetProfileString(kSettings, kMkIdxOpt, kDefaultMkIdxOptAtStart);
  m_nMkIdxNvr = ini.GetProfileInt(kSettings, kMkIdxNvr, kDefaultMkIdxNvr);
  m_nAcr = ini.GetProfileInt(kSettings, kAcr, kDefaultAcr);
}

// Neither PdfNShow nor Acr: the one-run suppression and the first-success
// flag belong to this run, and the start-up rule is not applied again.
void CMirvanDlg::ReloadSettings() {
  IProfile& ini = Profile();
  m_strEditor = ini.GetProfileString(kEditor, kEdit, Platform().Values().defaultEditor);
  m_strTeX = ini.GetProfileString(kSettings, kTeX, kDefaultTeX);
  m_strBib = ini.GetProfileString(kSettings, kBib, Platform().Values().japaneseBibTeX);
  m_strDviPdf = ini.GetProfileString(kSettings, kDviPdf, kDefaultDviPdf);
  m_nPdfNeShow = ini.GetProfileInt(kSettings, kPdfNeShow, kDefaultPdfNeShow);
  m_nPdfSizeNo = ini.GetProfileInt(kSettings, kPdfSizeNo, kDefaultPdfSizeNo);
  m_strMkIdx = ini.GetProfileString(kSettings, kMkIdx, kDefaultMkIdx);
  m_strMkIdxOpt = ini.GetProfileString(kSettings, kMkIdxOpt, kDefaultMkIdxOpt);
  m_nMkIdxNvr = ini.GetProfileInt(kSettings, kMkIdxNvr, kDefaultMkIdxNvr);
}
