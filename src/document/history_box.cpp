#include "document/history_box.h"

#include "text/mbcs.h"

std::string HistoryBox::GetText(int index) const {
  if (index < 0 || index >= GetCount()) return std::string();
  return m_items[static_cast<size_t>(index)];
}

int HistoryBox::InsertString(int index, const std::string& text) {
  if (index < 0 || index > GetCount()) index = GetCount();
  m_items.insert(m_items.begin() + index, text);
  if (m_curSel >= index) ++m_curSel;
  Changed();
  return index;
}

int HistoryBox::DeleteString(int index) {
  if (index < 0 || index >= GetCount()) return kErr;
  m_items.erase(m_items.begin() + index);
  if (m_curSel == index) m_curSel = -1;
  else if (m_curSel > index) --m_curSel;
  Changed();
  return GetCount();
}

void HistoryBox::ResetContent() {
  m_items.clear();
  m_curSel = -1;
  m_edit.clear();
  Changed();
}

int HistoryBox::FindString(int startAfter, const std::string& prefix) const {
  const int n = GetCount();
  if (n == 0) return kErr;
  int start = (startAfter < 0 || startAfter >= n) ? 0 : startAfter + 1;
  for (int k = 0; k < n; ++k) {
    int i = (start + k) % n;
    if (mbcs::StartsWithNoCase(m_items[static_cast<size_t>(i)], prefix)) return i;
  }
  return kErr;
}

int HistoryBox::SelectString(int startAfter, const std::string& prefix) {
  int i = FindString(startAfter, prefix);
  if (i == kErr) return kErr;
  m_curSel = i;
  m_edit = m_items[static_cast<size_t>(i)];
  Changed();
  return i;
}

void HistoryBox::SetCurSel(int index) {
  if (index < 0 || index >= GetCount()) {
    // No valid entry: the edit field is emptied too.
    m_curSel = -1;
    m_edit.clear();
  } else {
    m_curSel = index;
    m_edit = m_items[static_cast<size_t>(index)];
  }
  Changed();
}

void HistoryBox::SetEditText(const std::string& text) {
  m_edit = text;
  Changed();
}

