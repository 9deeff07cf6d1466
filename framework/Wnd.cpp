// CWnd: the framework's view of one window.
#include "framework/Wnd.h"

HWND CWnd::Detach() {
  HWND window = hwnd;
  hwnd = nullptr;
  return window;
}

HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(hwnd, id); }

BOOL CWnd::SetWindowText(const char* text) { return ::SetWindowTextA(hwnd, text); }

int CWnd::GetWindowText(char* buffer, int size) const { return ::GetWindowTextA(hwnd, buffer, size); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(hwnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageA(hwnd, message, wParam, lParam);
}

BOOL CWnd::CheckRadioButton(int first, int last, int checked) {
  return ::CheckRadioButton(hwnd, first, last, checked);
}

HMENU CWnd::GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(hwnd, revert); }

HICON CWnd::SetIcon(HICON icon, BOOL big) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

BOOL CWnd::IsIconic() const { return ::IsIconic(hwnd); }

BOOL CWnd::GetClientRect(RECT* rect) const { return ::GetClientRect(hwnd, rect); }
