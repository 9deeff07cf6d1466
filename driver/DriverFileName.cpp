#include "driver/DriverFileName.h"

#include <cstring>

#include "tools/AsciiCase.h"

namespace {

const std::size_t kExtensionLength = 4;

bool IsDriverExtension(const char* extension) {
  // ".vxd" in any case, or ".386".
  if (std::strcmp(extension, ".386") == 0)
    return true;
  return EqualIgnoringAsciiCase(extension, ".vxd", kExtensionLength);
}

}  // namespace

bool DeriveDriverNames(const char* shortPath, DriverNames& names) {
  if (shortPath == nullptr)
    return false;
  const std::size_t length = std::strlen(shortPath);
  if (length <= kExtensionLength)
    return false;
  if (!IsDriverExtension(shortPath + length - kExtensionLength))
    return false;

  const char* backslash = std::strrchr(shortPath, '\\');
  const char* fileName = backslash != nullptr ? backslash + 1 : shortPath;
  const std::size_t fileNameLength = std::strlen(fileName);
  if (fileNameLength > kDriverFileNameMax)
    return false;
  // The extension lies wholly in the file name (a backslash is no dot), so
  // the file name has at least 4 characters.
  if (fileNameLength <= kExtensionLength)
    return false;

  std::memcpy(names.fileName, fileName, fileNameLength + 1);
  std::memcpy(names.keyName, fileName, fileNameLength - kExtensionLength);
  names.keyName[fileNameLength - kExtensionLength] = '\0';
  return true;
}
