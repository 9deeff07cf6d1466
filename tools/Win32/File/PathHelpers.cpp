#include "tools/Win32/File/PathHelpers.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <io.h>

#include "tools/NormalisedPath.h"

bool FileExists(const char* path) {
  if (path == nullptr)
    return false;
  return _access(NormalisedPath(path).c_str(), 0) == 0;
}

int RemoveFile(const char* path, XTOOFile& holder) {
  holder.Clear();
  int code = EINVAL;
  if (path != nullptr) {
    const SharedString normalised = NormalisedPath(path);
    if (std::remove(normalised.c_str()) == 0)
      return 0;
    // Taken before the copy is freed: freeing may change errno.
    code = errno;
  }
  holder.SetText(path);
  holder.SetStatusAndErrno(e_DELETE_ERROR, code);
  return holder.GetErrno();
}

int RemoveFileForced(const char* path, XTOOFile& holder) {
  if (path != nullptr)
    FileSetAttributes(NormalisedPath(path).c_str(), kAttributeArchiveOnly, holder);
  return RemoveFile(path, holder);
}

bool FileMove(const char* source, const char* target, XTOOFile& holder) {
  holder.Clear();
  if (!MoveFileA(source, target)) {
    holder.SetText(source);
    holder.SetStatus(e_FILE_MOVE_ERROR);
  }
  return !holder.IsError();
}

bool FileSetAttributes(const char* path, unsigned long attributes, XTOOFile& holder) {
  holder.Clear();
  if (!SetFileAttributesA(path, attributes)) {
    holder.SetText(path);
    holder.SetStatus(e_FILE_ATTRIBUTES);
  }
  return !holder.IsError();
}
