// The paper size and MakeIndex option dialogs as toolkit-free models: their
// state, what their controls do to it, and what OK saves. ToolConfig makes
// them from the settings file and stores what OK saved; the views in src/ui
// (PdfSizeDialog, MkIdxOptDialog; on Windows, the procedures of
// src/ui/win32/dialogs.cpp) show them and pass the clicks on.
#pragma once

#include <string>
#include <utility>

// Paper size for PDF creation: fourteen sizes and two switches of the
// question itself, "not this run" (NShow) and "never again" (NeShow).
class CPdfSizeDlg {
 public:
  static constexpr int kRadioCount = 14;
  // The stored switches and size (ToolConfig::PdfSizeModel).
  CPdfSizeDlg(int nShow, int neShow, int sizeNo) : m_nNShow(nShow), m_nNeShow(neShow), m_nSizeNo(sizeNo) {}

  // The values OK saves.
  int NShow() const { return m_nNShow; }
  int NeShow() const { return m_nNeShow; }
  int SizeNo() const { return m_nSizeNo; }  // -1: none

  // The controls' states, as the view shows them.
  bool NShowBox() const { return m_bNShowBox; }
  bool NeShowBox() const { return m_bNeShowBox; }
  int Radio() const { return m_nRadio; }  // -1: none

  // Selects the stored size's button and ticks the boxes of set switches.
  void OnInitDialog();
  // A click on a box, with the box's new state; ticking one clears the other.
  void OnCheckNShow(bool checked);
  void OnCheckNeShow(bool checked);
  void SelectRadio(int index) { m_nRadio = index; }
  // On OK: the size is the selected button's number, or -1.
  void SaveExchange();

 private:
  int m_nNShow;
  int m_nNeShow;
  int m_nSizeNo;
  bool m_bNShowBox = false;
  bool m_bNeShowBox = false;
  int m_nRadio = -1;
};

// MakeIndex options: the option words and "do not ask before each run".
class CMkIdxOptDlg {
 public:
  // The stored options and switch (ToolConfig::MkIdxOptModel).
  CMkIdxOptDlg(std::string options, int never) : m_strOptions(std::move(options)), m_nNever(never) {}

  const std::string& Options() const { return m_strOptions; }
  int Never() const { return m_nNever; }
  // On OK: what the edit field and the box hold.
  void SaveExchange(const std::string& options, bool never);

 private:
  std::string m_strOptions;
  int m_nNever;
};
