// The paper size and MakeIndex option dialogs as toolkit-free models: their
// members, initial state from the settings file, and data exchange. The Qt
// dialogs in src/ui show them and call their handlers.
#pragma once

#include <string>

#include "platform/profile.h"

// Template 173: paper size for PDF creation.
class CPdfSizeDlg {
 public:
  static constexpr int kRadioCount = 14;
  explicit CPdfSizeDlg(IProfile& profile);  // reads PdfNShow, PdfNeShow, PdfSizeNo

  int m_nNShow = 0;   // box 1012
  int m_nNeShow = 0;  // box 1013
  int m_nSizeNo = 1;  // radio group index, -1 none

  // The controls' states, as the view shows them.
  bool m_bBox1012 = false;
  bool m_bBox1013 = false;
  int m_nRadio = -1;  // selected radio index, -1 none

  // OnInitDialog: loads the radio group (DDX) and sets the boxes.
  void OnInitDialog();
  // The view toggles the box state, then calls the handler.
  void OnCheckNShow();
  void OnCheckNeShow();
  // DoDataExchange on save (OK): m_nSizeNo = selected index or -1.
  void SaveExchange();
};

// Template 198: MakeIndex options.
class CMkIdxOptDlg {
 public:
  explicit CMkIdxOptDlg(IProfile& profile);  // reads MkIdxOpt (""), MkIdxNvr (0)
  std::string m_strOptions;  // edit box 1121
  int m_nNever = 0;          // box 1012
};
