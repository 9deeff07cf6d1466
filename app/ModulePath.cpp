// SplitModulePath: folder and file name of the running program.
#include "app/ModulePath.h"

#include <cstring>

void SplitModulePath(const char* path, SharedString& folder, SharedString& fileName) {
  const char* lastBackslash = path != nullptr ? std::strrchr(path, '\\') : nullptr;
  if (lastBackslash == nullptr) {
    folder = "";
    fileName = "";
    return;
  }
  folder.AssignFixed(path, static_cast<int32_t>(lastBackslash - path));
  fileName = lastBackslash + 1;
}
