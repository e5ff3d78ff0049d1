// The modal dialogs of the bar on their resource templates: About (100),
// Settings (137), paper size (173), MakeIndex options (198). Each shows a
// toolkit-free model from the core and runs over the active window.
#pragma once

#include <vector>

#include "actions/settings_dlg.h"
#include "config/option_dialogs.h"
#include "ui/win32/win32_prompts.h"

namespace win32dlg {

void RunAbout(Win32Prompts& prompts);
void RunSettings(Win32Prompts& prompts, CSettingsDlg& model);
bool RunPdfSize(Win32Prompts& prompts, CPdfSizeDlg& model);
bool RunMkIdxOpt(Win32Prompts& prompts, CMkIdxOptDlg& model);

// The radio buttons of a dialog in template order (which is their number in
// the paper size group; Landscape's id is last but it sits fifth).
std::vector<HWND> RadioButtons(HWND dialog);

}  // namespace win32dlg
