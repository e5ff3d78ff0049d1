// The history box's list as a toolkit-free model: an editable drop-down list
// of paths with one selected entry and an edit field, searched by prefix
// without regard to case. The window's box is only a view of it.
#pragma once

#include <string>
#include <vector>

class HistoryBox {
 public:
  static constexpr int kErr = -1;  // no such entry

  int GetCount() const { return static_cast<int>(m_items.size()); }
  std::string GetText(int index) const;
  const std::vector<std::string>& Items() const { return m_items; }

  // Inserts at `index` (-1 or past the end: at the end). Returns the index.
  int InsertString(int index, const std::string& text);
  // Returns the remaining count, or kErr for a bad index.
  int DeleteString(int index);
  void ResetContent();

  // The first entry after `startAfter` (-1: from the top),
  // wrapping to the top, whose text begins with `prefix` without regard to
  // case. kErr when none.
  int FindString(int startAfter, const std::string& prefix) const;
  // FindString, then select that entry and show its text in
  // the edit field. kErr (selection unchanged) when none.
  int SelectString(int startAfter, const std::string& prefix);

  int GetCurSel() const { return m_curSel; }
  void SetCurSel(int index);  // -1 clears the selection and the edit text

  const std::string& GetEditText() const { return m_edit; }
  void SetEditText(const std::string& text);

  void SetExtendedUI(bool on) { m_extendedUI = on; Changed(); }
  bool GetExtendedUI() const { return m_extendedUI; }

  // Asks for the keyboard focus to go to the box.
  void SetFocus() { m_focusWanted = true; }
  // Whether the focus was asked for since the last call.
  bool TakeFocusRequest() {
    const bool wanted = m_focusWanted;
    m_focusWanted = false;
    return wanted;
  }

  // Counts every change of list, selection, edit text or keyboard
  // interface: the view draws the box anew when it has moved on.
  unsigned Revision() const { return m_revision; }

 private:
  void Changed() { ++m_revision; }

  std::vector<std::string> m_items;
  int m_curSel = -1;
  std::string m_edit;
  bool m_extendedUI = false;
  bool m_focusWanted = false;
  unsigned m_revision = 0;
};
