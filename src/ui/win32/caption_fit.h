// The captions of a dialog made from a template, given room when it opens
// (WM_INITDIALOG) by the rule the Qt bar follows (ui/caption_room.h),
// measured in the dialog's own font.
#pragma once

#include "ui/win32/windows_ui.h"

namespace win32dlg {

void GiveCaptionsRoom(HWND dialog);

}  // namespace win32dlg
