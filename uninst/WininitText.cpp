#include "uninst/WininitText.h"

#include <cstdlib>
#include <cstring>

#include "tools/AsciiCase.h"

namespace {

bool IsRenameHeader(const char* line, const char* end) {
  static const char kHeader[] = "[rename]";
  const std::size_t n = sizeof kHeader - 1;
  if (static_cast<std::size_t>(end - line) < n)
    return false;
  if (!EqualIgnoringAsciiCase(line, kHeader, n))
    return false;
  for (const char* p = line + n; p < end; ++p)
    if (*p != ' ' && *p != '\t' && *p != '\r')
      return false;
  return true;
}

}  // namespace

char* AddWininitRemoval(const char* iniText, const char* shortPath) {
  const std::size_t length = std::strlen(iniText);
  const bool needsLineEnd = length > 0 && iniText[length - 1] != '\n';

  // The entry goes before the line that opens the section after [rename], or
  // at the end of the text.
  const char* insertAt = nullptr;
  bool inRename = false;
  for (const char* line = iniText; *line;) {
    const char* end = std::strchr(line, '\n');
    if (end == nullptr)
      end = iniText + length;
    if (*line == '[') {
      if (inRename) {
        insertAt = line;
        break;
      }
      inRename = IsRenameHeader(line, end);
    }
    line = *end ? end + 1 : end;
  }

  const std::size_t size = length + std::strlen(shortPath) + 32;
  char* out = static_cast<char*>(std::malloc(size));
  if (out == nullptr)
    return nullptr;
  if (insertAt != nullptr) {
    const std::size_t head = static_cast<std::size_t>(insertAt - iniText);
    std::memcpy(out, iniText, head);
    out[head] = '\0';
  } else {
    std::strcpy(out, iniText);
    if (needsLineEnd)
      std::strcat(out, "\r\n");
    if (!inRename)
      std::strcat(out, "[rename]\r\n");
  }
  std::strcat(out, "NUL=");
  std::strcat(out, shortPath);
  std::strcat(out, "\r\n");
  if (insertAt != nullptr) {
    std::strcat(out, insertAt);
    if (needsLineEnd)
      std::strcat(out, "\r\n");
  }
  return out;
}
