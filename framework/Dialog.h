// CDialog: a modal dialog on a template of the program's own resources, with
// data exchange (CDataExchange, DDX_Control) and table-driven routing.
#ifndef KESTRIN_FRAMEWORK_DIALOG_H
#define KESTRIN_FRAMEWORK_DIALOG_H

#include <windows.h>

#include <exception>

#include "framework/MessageMap.h"
#include "framework/Wnd.h"

class CDialog;

// The direction of one data exchange: into the controls (saveAndValidate
// false, when the dialog starts) or out of them (true, on OK).
struct CDataExchange {
  CDialog* dialog;
  BOOL saveAndValidate;
};

// Binds the dialog's control `id` to a wrapper: attaches the control's
// window to it (a null window when the template has no such control).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

// The controls' initial items may come with the template: a resource of type
// kDialogInitResourceType with the template's id holds records of a control
// id (16 bits), a message (16 bits, e.g. CB_ADDSTRING), a byte count (32 bits,
// little-endian) and that many bytes of text, and ends with a control id of
// 0. Each record sends the message to its control with the text (up to its
// first zero byte) as lParam, before OnInitDialog runs. The bytes are sent as
// they are, in whatever code page the resource holds them.
const WORD kDialogInitResourceType = 240;

class CDialog : public CWnd {
 public:
  // A dialog on template `templateId` of the program's module, owned by
  // `parent` (none when null).
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Runs the dialog until EndDialog; returns the value given there, or -1
  // when the dialog could not be made (no such template). An exception that
  // escapes a handler ends the dialog with -1 and is thrown again from here,
  // after the window has gone: it never crosses the system's frames.
  INT_PTR DoModal();
  // Ends the modal loop once the current message has been handled.
  void EndDialog(int result);
  // Runs DoDataExchange in the given direction; true when it succeeded.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

 protected:
  // Overridables, in the order of their slots.
  // The routing table; the default one is empty. OK and Cancel reach OnOK
  // and OnCancel when the table does not route them.
  virtual CMessageMap GetMessageMap() const;
  virtual void DoDataExchange(CDataExchange* exchange);
  // After the controls exist: binds them (UpdateData(FALSE)). Returns true
  // when the system should give the focus to the first control, false when
  // the dialog has placed the focus itself.
  virtual BOOL OnInitDialog();
  // Takes the data out of the controls, then ends the dialog with IDOK.
  virtual void OnOK();
  // Ends the dialog with IDCANCEL.
  virtual void OnCancel();

  // Called by a handler: leave the message being handled to the system's
  // own handling once the handler returns.
  void Default();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void FillControlsFromTemplate();
  INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);
  const CMessageMapEntry* FindEntry(UINT message, WPARAM wParam) const;

  UINT templateId;
  CWnd* parent;
  bool defaultWanted = false;
  std::exception_ptr escaped;
};

#endif  // KESTRIN_FRAMEWORK_DIALOG_H
