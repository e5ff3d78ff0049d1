// The history box's list as a toolkit-free model: what the Windows editable
// drop-down combo box does with CB_FINDSTRING, CB_SELECTSTRING and friends.
// The Qt combo box is only a view of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

class HistoryBox {
 public:
  static constexpr int kErr = -1;  // CB_ERR

  int GetCount() const { return static_cast<int>(m_items.size()); }
  std::string GetText(int index) const;
  const std::vector<std::string>& Items() const { return m_items; }

  // Inserts at `index` (-1 or past the end: at the end). Returns the index.
  int InsertString(int index, const std::string& text);
  // Returns the remaining count, or kErr for a bad index.
  int DeleteString(int index);
  void ResetContent();

  // CB_FINDSTRING: the first entry after `startAfter` (-1: from the top),
  // wrapping to the top, whose text begins with `prefix` without regard to
  // case. kErr when none.
  int FindString(int startAfter, const std::string& prefix) const;
  // CB_SELECTSTRING: FindString, then select that entry and show its text in
  // the edit field. kErr (selection unchanged) when none.
  int SelectString(int startAfter, const std::string& prefix);

  int GetCurSel() const { return m_curSel; }
  void SetCurSel(int index);  // -1 clears the selection and the edit text

  const std::string& GetEditText() const { return m_edit; }
  void SetEditText(const std::string& text);

  void SetExtendedUI(bool on) { m_extendedUI = on; Changed(); }
  bool GetExtendedUI() const { return m_extendedUI; }

  // The view asks for the keyboard focus to go to the box.
  void SetFocus();

  // Set by the view: called after every change of list, selection or edit text.
  std::function<void()> onChanged;
  std::function<void()> onFocus;

 private:
  void Changed() { if (onChanged) onChanged(); }

  std::vector<std::string> m_items;
  int m_curSel = -1;
  std::string m_edit;
  bool m_extendedUI = false;
};
