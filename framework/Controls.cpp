// CComboBox: the combo box messages behind its operations.
#include "framework/Controls.h"

int CComboBox::AddString(const char* text) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CComboBox::SetCurSel(int index) {
  return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
}

int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }

int CComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }

int CComboBox::GetLBText(int index, char* buffer) const {
  return static_cast<int>(
      SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}

int CComboBox::GetLBTextLen(int index) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
}
