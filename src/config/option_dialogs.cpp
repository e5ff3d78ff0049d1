#include "core/dialogs.h"
// PLACEHOLDER (dialog models owner replaces this file)
CPdfSizeDlg::CPdfSizeDlg(IProfile&) {}
void CPdfSizeDlg::OnInitDialog() {}
void CPdfSizeDlg::OnCheckNShow() {}
void CPdfSizeDlg::OnCheckNeShow() {}
void CPdfSizeDlg::SaveExchange() {}
CMkIdxOptDlg::CMkIdxOptDlg(IProfile&) {}
void CMirvanDlg::EditMkIdxOptions() {}
void CMirvanDlg::EditPdfSize() {}
