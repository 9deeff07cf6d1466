// CComboBox and CStatic: wrappers of the two kinds of control a dialog binds.
#ifndef KESTRIN_FRAMEWORK_CONTROLS_H
#define KESTRIN_FRAMEWORK_CONTROLS_H

#include <windows.h>

#include "framework/Wnd.h"

// A combo box control. Item indexes count from 0; CB_ERR (-1) means none or
// a failure, as the control itself reports it.
class CComboBox : public CWnd {
 public:
  // Returns the index of the new item, or CB_ERR / CB_ERRSPACE.
  int AddString(const char* text);
  // Selects item `index` (-1 clears the selection); returns the index, or
  // CB_ERR when there is no such item.
  int SetCurSel(int index);
  int GetCurSel() const;
  int GetCount() const;
  // Copies item `index` into buffer (which must hold GetLBTextLen + 1 bytes).
  int GetLBText(int index, char* buffer) const;
  int GetLBTextLen(int index) const;
};

// A static text control; its text is set with SetWindowText.
class CStatic : public CWnd {};

#endif  // KESTRIN_FRAMEWORK_CONTROLS_H
