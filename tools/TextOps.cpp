#include "tools/TextOps.h"

#include <cstring>

namespace {

SharedString Slice(const char* text, int32_t length) {
  SharedString made(length);
  if (made.IsValid() && length > 0) {
    std::memcpy(made.Buffer(), text, static_cast<size_t>(length));
    made.Buffer()[length] = '\0';
  }
  return made;
}

}  // namespace

SharedString& SharedString::Trim(int flags) {
  const char* text = c_str();
  const int32_t length = Length();
  if (length == 0)
    return *this;
  // The line-feed and backslash tests look at the text as it was before
  // any blank was dropped.
  const char last = text[length - 1];
  int32_t begin = 0;
  int32_t end = length;
  if (flags & TrimLeadingBlanks) {
    while (begin < end && text[begin] == ' ')
      ++begin;
  }
  if (flags & TrimTrailingBlanks) {
    while (end > begin && text[end - 1] == ' ')
      --end;
  }
  if ((flags & TrimFinalLineFeed) && last == '\n' && end > begin)
    --end;
  if ((flags & TrimFinalBackslash) && last == '\\' && end > begin)
    --end;
  if (begin != 0 || end != length) {
    SharedString trimmed = Slice(text + begin, end - begin);
    if (trimmed.IsValid())
      *this = static_cast<SharedString&&>(trimmed);
  }
  return *this;
}

SharedString SharedString::Left(int32_t count) const {
  if (count >= Length())
    return *this;
  return Slice(c_str(), count > 0 ? count : 0);
}

SharedString SharedString::Right(int32_t count) const {
  const int32_t length = Length();
  if (count >= length)
    return *this;
  if (count <= 0)
    return Slice("", 0);
  return Slice(c_str() + (length - count), count);
}

SharedString SharedString::Mid(int32_t start, int32_t count) const {
  const int32_t length = Length();
  int64_t from = start;
  int64_t wanted = count;
  if (from < 0) {
    wanted += from;
    if (wanted < 0)
      wanted = 0;
    from = 0;
  }
  if (from >= length || wanted == 0)
    return Slice("", 0);
  if (from == 0 && wanted == length)
    return *this;
  if (wanted > 0 && from + wanted < length)
    return Slice(c_str() + from, static_cast<int32_t>(wanted));
  return Slice(c_str() + from, static_cast<int32_t>(length - from));
}

uint32_t SharedString::Hash() const { return HashBytes(c_str(), Length()); }

int SharedString::Replace(const char* find, const char* replacement) {
  if (find == nullptr || *find == '\0' || body == nullptr)
    return 0;
  if (replacement == nullptr)
    replacement = "";
  const size_t findLength = std::strlen(find);
  const size_t replacementLength = std::strlen(replacement);
  const char* text = c_str();

  int found = 0;
  for (const char* hit = std::strstr(text, find); hit != nullptr; hit = std::strstr(hit + findLength, find))
    ++found;
  if (found == 0)
    return 0;

  const int64_t newLength = static_cast<int64_t>(Length()) +
                            static_cast<int64_t>(found) *
                                (static_cast<int64_t>(replacementLength) - static_cast<int64_t>(findLength));
  if (newLength > INT32_MAX)
    return 0;
  SharedString made(static_cast<int32_t>(newLength));
  if (!made.IsValid())
    return 0;
  char* out = made.Buffer();
  const char* rest = text;
  for (const char* hit = std::strstr(rest, find); hit != nullptr; hit = std::strstr(rest, find)) {
    std::memcpy(out, rest, static_cast<size_t>(hit - rest));
    out += hit - rest;
    std::memcpy(out, replacement, replacementLength);
    out += replacementLength;
    rest = hit + findLength;
  }
  std::memcpy(out, rest, std::strlen(rest) + 1);
  *this = static_cast<SharedString&&>(made);
  return found;
}

bool SharedString::AssignFixed(const char* chars, int32_t maximum) {
  int32_t length = 0;
  if (chars != nullptr && maximum > 0) {
    const void* end = std::memchr(chars, '\0', static_cast<size_t>(maximum));
    length = end != nullptr ? static_cast<int32_t>(static_cast<const char*>(end) - chars) : maximum;
  }
  SharedString made = Slice(chars != nullptr ? chars : "", length);
  *this = static_cast<SharedString&&>(made);
  return IsValid();
}

bool SharedString::CopyToFixed(char* buffer, int32_t size) const {
  const int32_t length = Length();
  if (size <= 0 || buffer == nullptr)
    return size >= length;
  const int32_t copied = size < length ? size : length;
  std::memcpy(buffer, c_str(), static_cast<size_t>(copied));
  std::memset(buffer + copied, 0, static_cast<size_t>(size - copied));
  return size >= length;
}

uint32_t HashBytes(const void* data, int32_t length) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  if (length <= 0 || bytes == nullptr)
    return 0;
  uint32_t hash = 0;
  if (length <= 4) {
    for (int32_t i = length - 1; i >= 0; --i)
      hash = (hash << 8) | bytes[i];
    return hash;
  }
  for (int32_t i = 0; i < length; ++i)
    hash = ((hash << 7) | (hash >> 25)) ^ bytes[i];
  return hash;
}

SharedString HexBytes(const void* bytes, int32_t count) {
  static const char digits[] = "0123456789ABCDEF";
  if (count <= 0 || bytes == nullptr)
    return Slice("", 0);
  // Three characters a byte, less the blank after the last.
  if (count > (INT32_MAX + 1LL) / 3)
    return SharedString();
  const unsigned char* in = static_cast<const unsigned char*>(bytes);
  SharedString made(count * 3 - 1);
  char* out = made.Buffer();
  if (out == nullptr)
    return made;
  for (int32_t i = 0; i < count; ++i) {
    if (i != 0)
      *out++ = ' ';
    *out++ = digits[in[i] >> 4];
    *out++ = digits[in[i] & 0x0F];
  }
  *out = '\0';
  return made;
}

void AppendBackslash(char* buffer) {
  if (buffer == nullptr)
    return;
  const size_t length = std::strlen(buffer);
  if (length == 0 || buffer[length - 1] != '\\') {
    buffer[length] = '\\';
    buffer[length + 1] = '\0';
  }
}

void StripBackslash(char* buffer) {
  if (buffer == nullptr)
    return;
  const size_t length = std::strlen(buffer);
  if (length != 0 && buffer[length - 1] == '\\')
    buffer[length - 1] = '\0';
}
