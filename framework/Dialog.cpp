// CDialog: a modal dialog on DialogBoxParamA with its own dialog procedure.
#include "framework/Dialog.h"

#include <cstring>
#include <memory>

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
  // Attached afresh at every exchange: a dialog run twice has new controls.
  control.Attach(exchange->dialog->GetDlgItem(id));
}

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId(templateId), parent(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  escaped = nullptr;
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                         parent != nullptr ? parent->GetSafeHwnd() : nullptr, DialogProc,
                                         reinterpret_cast<LPARAM>(this));
  hwnd = nullptr;
  if (escaped) {
    std::exception_ptr error = escaped;
    escaped = nullptr;
    std::rethrow_exception(error);
  }
  return result;
}

void CDialog::EndDialog(int result) { ::EndDialog(hwnd, result); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange{this, saveAndValidate};
  DoDataExchange(&exchange);
  return TRUE;
}

CMessageMap CDialog::GetMessageMap() const { return CMessageMap{nullptr, 0}; }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE))
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::Default() { defaultWanted = true; }

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* dialog;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    dialog->hwnd = window;
  } else {
    dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  // Messages sent before WM_INITDIALOG (the font, for one) and after a
  // handler failed get the system's handling.
  if (dialog == nullptr || dialog->escaped)
    return FALSE;
  try {
    return dialog->Route(message, wParam, lParam);
  } catch (...) {
    // An exception must not unwind through the system's own frames.
    dialog->escaped = std::current_exception();
    ::EndDialog(window, -1);
    return TRUE;
  }
}

INT_PTR CDialog::Route(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    FillControlsFromTemplate();
    return OnInitDialog();
  }
  if (const CMessageMapEntry* entry = FindEntry(message, wParam)) {
    // Saved: a handler may send a message that is routed in turn.
    const bool outer = defaultWanted;
    defaultWanted = false;
    const LRESULT result = (this->*entry->handler)(wParam, lParam);
    const bool toSystem = defaultWanted;
    defaultWanted = outer;
    if (toSystem)
      return FALSE;
    switch (message) {
      // The dialog procedure's own return value is the result of these.
      case WM_CHARTOITEM:
      case WM_COMPAREITEM:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
      case WM_QUERYDRAGICON:
      case WM_VKEYTOITEM:
        return static_cast<INT_PTR>(result);
      default:
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK:
        OnOK();
        return TRUE;
      case IDCANCEL:
        OnCancel();
        return TRUE;
    }
  }
  return FALSE;
}

void CDialog::FillControlsFromTemplate() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found =
      FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(kDialogInitResourceType));
  if (found == nullptr)
    return;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const auto* data = loaded != nullptr ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  if (data == nullptr)
    return;
  // Records are packed, so their fields are read bytewise; a record that
  // runs past the resource ends the list.
  const DWORD headerSize = 2 * sizeof(WORD) + sizeof(DWORD);
  DWORD at = 0;
  while (at + sizeof(WORD) <= size) {
    WORD id, message;
    DWORD length;
    std::memcpy(&id, data + at, sizeof id);
    if (id == 0 || size - at < headerSize)
      break;
    std::memcpy(&message, data + at + sizeof(WORD), sizeof message);
    std::memcpy(&length, data + at + 2 * sizeof(WORD), sizeof length);
    at += headerSize;
    if (length > size - at)
      break;
    const char* bytes = reinterpret_cast<const char*>(data + at);
    const void* end = std::memchr(bytes, 0, length);
    const std::size_t textLength =
        end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - bytes) : length;
    // A copy, terminated: the record's text need not be.
    const std::unique_ptr<char[]> text(new char[textLength + 1]);
    std::memcpy(text.get(), bytes, textLength);
    text[textLength] = '\0';
    ::SendMessageA(GetDlgItem(id), message, 0, reinterpret_cast<LPARAM>(text.get()));
    at += length;
  }
}

const CMessageMapEntry* CDialog::FindEntry(UINT message, WPARAM wParam) const {
  const CMessageMap map = GetMessageMap();
  for (std::size_t i = 0; i < map.count; ++i) {
    const CMessageMapEntry& entry = map.entries[i];
    if (entry.message != message)
      continue;
    if (message != WM_COMMAND || (entry.id == LOWORD(wParam) && entry.code == HIWORD(wParam)))
      return &entry;
  }
  return nullptr;
}
