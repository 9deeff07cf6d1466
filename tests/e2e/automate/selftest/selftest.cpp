// A small dialog program on which automate.exe and the end-to-end runner prove
// themselves: radio buttons, a language selector that re-labels the dialog, a
// button that asks a question in a message box, and OK, which records the
// choices in the registry and in a file so that the runner can check them
// from outside.
#include <windows.h>

#include <cstdio>
#include <string>

#include "SelfTestIds.h"

namespace {

struct State {
  int action = 3;
  int language = 0;
  std::string answer = "none";
};

State state;

// Texts in the language of the selector; ANSI, so that the Russian ones
// arrive as the bytes of the running code page, as the setup program's do.
std::string Ansi(const wchar_t* text) {
  char buf[512];
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
  return n > 0 ? std::string(buf) : std::string();
}

void Relabel(HWND dialog) {
  bool ru = state.language == 1;
  SetWindowTextA(dialog, Ansi(ru ? L"Проверка автоматизации" : L"Automation self-test").c_str());
  SetDlgItemTextA(dialog, IDC_STATUS,
                  Ansi(ru ? L"Язык: русский\nВторая строка" : L"Language: English\nSecond line").c_str());
}

const char kKey[] = "Software\\KestrinSelfTest";

void Record(HWND dialog) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    DWORD action = static_cast<DWORD>(state.action);
    RegSetValueExA(key, "Action", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&action), sizeof action);
    char language[64] = "";
    GetDlgItemTextA(dialog, IDC_LANGUAGE, language, sizeof language);
    RegSetValueExA(key, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language), strlen(language) + 1);
    RegSetValueExA(key, "Answer", 0, REG_SZ, reinterpret_cast<const BYTE*>(state.answer.c_str()),
                   state.answer.size() + 1);
    RegCloseKey(key);
  }
  // Beside the program, like the files the setup program writes.
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path, n);
  file = file.substr(0, file.find_last_of('\\') + 1) + "result.txt";
  if (FILE* f = fopen(file.c_str(), "wb")) {
    fprintf(f, "action=%d\nanswer=%s\n", state.action, state.answer.c_str());
    fclose(f);
  }
}

void Ask() {
  bool ru = state.language == 1;
  std::string caption = Ansi(ru ? L"Самопроверка" : L"Self-test");
  int answer =
      MessageBoxA(nullptr, Ansi(ru ? L"Первая строка\nВторая строка?" : L"First line\nSecond line?").c_str(),
                  caption.c_str(), MB_YESNO | MB_ICONQUESTION);
  state.answer = answer == IDYES ? "yes" : answer == IDNO ? "no" : "other";
  MessageBoxA(nullptr, ("You answered " + state.answer + ".").c_str(), caption.c_str(),
              answer == IDYES ? MB_ICONINFORMATION : MB_ICONWARNING);
  MessageBoxA(nullptr, "Recorded.", caption.c_str(), MB_OK);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: {
      HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"English"));
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Русский"));
      SendMessageA(combo, CB_SETCURSEL, 0, 0);
      CheckRadioButton(dialog, IDC_FIRST, IDC_THIRD, IDC_THIRD);
      SetDlgItemTextA(dialog, IDC_COMMAND_LINE, GetCommandLineA());
      Relabel(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_FIRST:
        case IDC_SECOND:
        case IDC_THIRD:
          if (HIWORD(wparam) == BN_CLICKED)
            state.action = LOWORD(wparam) - IDC_FIRST + 1;
          return TRUE;
        case IDC_LANGUAGE:
          if (HIWORD(wparam) == CBN_SELCHANGE) {
            state.language = static_cast<int>(SendDlgItemMessageA(dialog, IDC_LANGUAGE, CB_GETCURSEL, 0, 0));
            Relabel(dialog);
          }
          return TRUE;
        case IDC_ASK:
          Ask();
          return TRUE;
        case IDC_FAIL:
          MessageBoxA(nullptr, "Something failed.", "Self-test", MB_ICONERROR);
          return TRUE;
        case IDOK:
          Record(dialog);
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The exit status tells the runner how the dialog ended.
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SELFTEST), nullptr, DialogProc, 0));
}
