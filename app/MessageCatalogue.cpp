// The message catalogue: operations of ProductProfile that look up a message
// in the current language and show texts with a font of that language.
#include <windows.h>

#include "app/MessageSegment.h"
#include "app/ProductProfile.h"
#include "tools/CTOOPtr.h"

namespace {

// Room for the longest entry, both languages together, with margin.
const uint32_t kMessageBufferSize = 1024;

// Character sets of the language fonts, indexed by language.
const BYTE kLanguageCharSets[kLanguageCount] = {ANSI_CHARSET, RUSSIAN_CHARSET};

}  // namespace

SharedString ProductProfile::LoadMessage(uint16_t id) const {
  CTOOPtr entry(kMessageBufferSize);
  // LoadStringA converts the UTF-16 resource through the ANSI code page;
  // the Russian segment reads correctly only where that is Windows-1251.
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, entry.Get(), static_cast<int>(entry.Count()));
  if (length <= 0)
    return SharedString("");
  const MessageSegment segment =
      SelectMessageSegment(entry.Get(), static_cast<size_t>(length), languageIndex);
  SharedString text;
  text.AssignFixed(entry.Get() + segment.start, static_cast<int32_t>(segment.length));
  return text;
}

void ProductProfile::ShowText(HWND window, const char* text) const {
  if (window == nullptr)
    return;
  // Out-of-range indexes read English, as the lookup does.
  const int32_t language =
      (languageIndex >= 0 && languageIndex < kLanguageCount) ? languageIndex : kLanguageEnglish;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(languageFonts[language]), FALSE);
  SetWindowTextA(window, text);
}

void ProductProfile::ShowMessage(HWND window, uint16_t id) const {
  const SharedString text = LoadMessage(id);
  ShowText(window, text.c_str());
}

void ProductProfile::CreateLanguageFonts(HWND window) {
  LOGFONTA pattern = {};
  HFONT current =
      window != nullptr ? reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)) : nullptr;
  // A window that was never given a font draws with the system font.
  if (current == nullptr)
    current = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  if (GetObjectA(current, sizeof pattern, &pattern) == 0)
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof pattern, &pattern);

  ReleaseLanguageFonts();
  for (int32_t language = 0; language < kLanguageCount; ++language) {
    pattern.lfCharSet = kLanguageCharSets[language];
    languageFonts[language] = CreateFontIndirectA(&pattern);
  }
}

void ProductProfile::ReleaseLanguageFonts() {
  for (HFONT& font : languageFonts) {
    if (font != nullptr)
      DeleteObject(font);
    font = nullptr;
  }
}
