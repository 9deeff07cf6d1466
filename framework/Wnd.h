// CWnd: the framework's view of one window, the base of dialogs and controls.
#ifndef KESTRIN_FRAMEWORK_WND_H
#define KESTRIN_FRAMEWORK_WND_H

#include <windows.h>

// Wraps a window handle it does not own: the window belongs to the system
// (a dialog or one of its controls) and goes with it. Calls on a wrapper that
// is not attached go to a null window and fail the way the system fails them.
//
// Several member names are macros of <windows.h> (SetWindowText, SendMessage,
// ...); they expand the same way at the declaration and at every call, so
// the members work under either name.
class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Attributes
  HWND GetSafeHwnd() const { return hwnd; }
  void Attach(HWND window) { hwnd = window; }
  HWND Detach();

  // Operations
  HWND GetDlgItem(int id) const;
  BOOL SetWindowText(const char* text);
  // Copies at most size - 1 bytes and a terminator; returns the length copied.
  int GetWindowText(char* buffer, int size) const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Checks the radio button `checked` and clears the others of first..last.
  BOOL CheckRadioButton(int first, int last, int checked);
  // The window's system menu, or null when it has none; `revert` restores
  // the system's default menu instead.
  HMENU GetSystemMenu(BOOL revert) const;
  // Sets the large (big) or small icon; returns the one it replaces.
  HICON SetIcon(HICON icon, BOOL big);
  BOOL IsIconic() const;
  BOOL GetClientRect(RECT* rect) const;

 protected:
  HWND hwnd = nullptr;
};

#endif  // KESTRIN_FRAMEWORK_WND_H
