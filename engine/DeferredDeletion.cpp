#include "engine/DeferredDeletion.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/ProductProfile.h"
#include "engine/RestartPrompt.h"
#include "engine/SetupKeys.h"
#include "engine/SystemCalls.h"
#include "registry/RegistryKey.h"
#include "resources/ResourceIds.h"
#include "tools/CTOOPtr.h"
#include "tools/Win32/File/PathHelpers.h"
#include "tools/XTOOMsg.h"
#include "uninst/ListArea.h"

namespace {

const char kHelperFileName[] = "\\uninst.exe";
const DWORD kShortPathBufferSize = 1024;

// The short 8.3 form of `path`, or `path` itself where the system has none.
SharedString ShortForm(const char* path) {
  CTOOPtr buffer(kShortPathBufferSize);
  char* text = buffer.Get();
  const DWORD n = GetShortPathNameA(path, text, kShortPathBufferSize);
  if (n == 0 || n >= kShortPathBufferSize)
    return SharedString(path);
  return SharedString(text);
}

}  // namespace

void DeferredDeletionList::AddFailedFile(const char* folder, const char* fullPath) {
  if (!text.IsValid())
    text = ShortForm(folder);
  const SharedString shortPath = ShortForm(fullPath);
  const char* name = std::strrchr(shortPath.c_str(), '\\');
  text = (text + "\n") + (name ? name + 1 : shortPath.c_str());
}

int ScheduleDeferredDeletion(const ProductProfile& profile, const char* list) {
  const SharedString caption = profile.LoadMessage(IDS_UNINSTALLER_CAPTION);

  if (std::strlen(list) + 1 > ListArea::kSize) {
    // The user needs the names, not the folder they all lie in.
    const char* names = std::strchr(list, '\n');
    const SharedString text = profile.LoadMessage(IDS_DELETE_LIST_TOO_LONG) + (names ? names + 1 : "");
    ShowMessageBox(text.c_str(), caption.c_str(), MB_ICONERROR);
    return 0;
  }

  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_HELPER_IMAGE), RT_RCDATA);
  const DWORD size = found ? SizeofResource(nullptr, found) : 0;
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* image = loaded ? LockResource(loaded) : nullptr;
  if (image == nullptr || size == 0)
    return 1;
  return WriteHelperAndAskRestart(profile, list, image, size);
}

int WriteHelperAndAskRestart(const ProductProfile& profile, const char* list, const void* image,
                             unsigned long size) {
  const SharedString caption = profile.LoadMessage(IDS_UNINSTALLER_CAPTION);
  CTOOPtr copy(size);
  auto* bytes = reinterpret_cast<unsigned char*>(copy.Get());
  std::memcpy(bytes, image, size);
  // A list that would run past the image is not written at all: the helper
  // then finds its pristine list and stops without deleting anything.
  ListArea::Patch(bytes, size, list);

  const SharedString target = profile.programFolder + kHelperFileName;
  XTOOFile ignored(false);
  if (FileExists(target.c_str()))
    RemoveFileForced(target.c_str(), ignored);

  bool written = false;
  if (FILE* out = std::fopen(target.c_str(), "wb")) {
    written = std::fwrite(bytes, size, 1, out) == 1;
    written = std::fclose(out) == 0 && written;
    if (!written)
      RemoveFileForced(target.c_str(), ignored);
  }
  if (!written) {
    const SharedString text = profile.LoadMessage(IDS_CANNOT_CREATE_FILE) + target.c_str();
    ShowMessageBox(text.c_str(), caption.c_str(), MB_ICONERROR);
    return 1;
  }

  // RunOnce takes a plain command line: the short path needs no quotes.
  const DWORD shortSize = static_cast<DWORD>(target.Length()) + MAX_PATH + 1;
  CTOOPtr shortPath(target.c_str(), MAX_PATH + 1);
  GetShortPathNameA(target.c_str(), shortPath.Get(), shortSize);
  try {
    LocalMachineKey runOnce(kRunOnceKey, RegistryWrite);
    runOnce.WriteString(profile.productName.c_str(), shortPath.Get());
  } catch (const char* text) {
    ShowMessageBox(text, caption.c_str(), MB_OK);
  }

  PromptRestart(profile, IDS_UNINSTALLER_CAPTION, IDS_REBOOT_AFTER_UNINSTALL);
  return 1;
}
