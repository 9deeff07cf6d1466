#include "tools/Format.h"

#include <cstdint>
#include <cstring>

#include "tools/CTOOPtr.h"
#include "tools/FormatIntoBuffer.h"
#include "tools/GrowingText.h"

namespace {

// One converted field holds at most this many characters.
const int kFieldMax = 1024;

// Widths and precisions handed to the runtime are capped so that it never
// pads or expands billions of characters only for us to cut them. The caps
// are far enough above kFieldMax that the first kFieldMax characters of the
// output are the same as without them: a precision beyond 2,048 only adds
// zeros past the last significant digit of a double, and with a width beyond
// 8,192 the first 1,024 characters are padding either way.
const int kRuntimePrecisionCap = 2048;
const int kRuntimeWidthCap = 8192;
// Width digits beyond this are all the same to us.
const int kDigitsSaturation = 100000000;

struct Directive {
  bool leftAlign = false;
  char sign = 0;  // ' ' or '+', handed on to the runtime
  bool zeroFlag = false;
  bool widthDigits = false;
  bool widthStar = false;
  int width = 0;
  bool dot = false;
  bool precisionDigits = false;
  bool precisionStar = false;
  int precision = 0;
  char sizeLetter = 0;  // 'h', 'l' or 'L'; 'F' and 'N' mean nothing here
  bool isUnsigned = false;
  bool group = false;
  char conversion = 0;  // 0: the format ended inside the specification
};

int ReadDigits(const char*& p) {
  int value = 0;
  while (*p >= '0' && *p <= '9') {
    if (value < kDigitsSaturation)
      value = value * 10 + (*p - '0');
    ++p;
  }
  return value;
}

// Parses the specification behind a '%'; returns the position behind the
// conversion character (or at the terminator when there is none).
const char* ParseDirective(const char* p, Directive& directive) {
  if (*p == '-') {
    directive.leftAlign = true;
    ++p;
  }
  if (*p == ' ' || *p == '+')
    directive.sign = *p++;
  if (*p >= '0' && *p <= '9') {
    directive.zeroFlag = *p == '0';
    directive.widthDigits = true;
    directive.width = ReadDigits(p);
  } else if (*p == '*') {
    directive.widthStar = true;
    ++p;
  }
  if (*p == '.') {
    directive.dot = true;
    ++p;
    if (*p >= '0' && *p <= '9') {
      directive.precisionDigits = true;
      directive.precision = ReadDigits(p);
    } else if (*p == '*') {
      directive.precisionStar = true;
      ++p;
    }
  }
  switch (*p) {
    case 'l':
    case 'L':
    case 'h':
      directive.sizeLetter = *p++;
      break;
    case 'F':
    case 'N':
      ++p;
      break;
    default:
      break;
  }
  if (*p == '_') {
    directive.isUnsigned = true;
    ++p;
  }
  if (*p == ',') {
    directive.group = true;
    ++p;
  }
  directive.conversion = *p;
  return *p != '\0' ? p + 1 : p;
}

// Width and precision after the "*" arguments are read. -1: not given.
struct Sizes {
  int width = -1;  // for placing; a negative "*" width counts as none
  int precision = -1;
  int runtimeWidth = 0;  // as handed to the runtime (negative: left-justify)
  int runtimePrecision = -1;
};

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

// Puts `length` characters of `text` into the field: cut to the precision,
// padded with blanks to the width.
void Place(GrowingText& out, const char* text, size_t length, const Directive& directive,
           const Sizes& sizes) {
  if (sizes.precision >= 0 && static_cast<size_t>(sizes.precision) < length)
    length = static_cast<size_t>(sizes.precision);
  if (length > static_cast<size_t>(kFieldMax))
    length = kFieldMax;
  const size_t width = static_cast<size_t>(sizes.width > kFieldMax ? kFieldMax : sizes.width);
  if (sizes.width < 0 || width < length) {
    out.Append(text, length);
  } else if (directive.leftAlign) {
    out.Append(text, length);
    out.AppendFill(' ', width - length);
  } else {
    out.AppendFill(' ', width - length);
    out.Append(text, length);
  }
}

// Length of `text`, looking at no more characters than can be placed.
size_t BoundedLength(const char* text, const Sizes& sizes) {
  size_t limit = kFieldMax;
  if (sizes.precision >= 0 && static_cast<size_t>(sizes.precision) < limit)
    limit = static_cast<size_t>(sizes.precision);
  const void* end = std::memchr(text, '\0', limit);
  return end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - text) : limit;
}

const char kNullText[] = "(null)";
const char kLowerHex[] = "0123456789abcdef";
const char kUpperHex[] = "0123456789ABCDEF";

// Digits of `value` written backwards in front of `end`; returns the first.
char* DecimalBackwards(char* end, uint64_t value, bool group) {
  int digits = 0;
  do {
    if (group && digits != 0 && digits % 3 == 0)
      *--end = ',';
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
    ++digits;
  } while (value != 0);
  return end;
}

void FormatDecimal64(GrowingText& out, int64_t value, const Directive& directive, const Sizes& sizes) {
  char buffer[40];
  char* end = buffer + sizeof buffer;
  const bool negative = !directive.isUnsigned && value < 0;
  // Unsigned negation keeps the most negative value exact.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char* first = DecimalBackwards(end, magnitude, directive.group);
  if (negative)
    *--first = '-';
  Place(out, first, static_cast<size_t>(end - first), directive, sizes);
}

void FormatIPv4(GrowingText& out, uint32_t address, const Directive& directive, const Sizes& sizes) {
  char buffer[16];
  char* end = buffer + sizeof buffer;
  char* first = end;
  for (int shift = 0; shift < 32; shift += 8) {
    if (shift != 0)
      *--first = '.';
    first = DecimalBackwards(first, (address >> shift) & 0xFF, false);
  }
  Place(out, first, static_cast<size_t>(end - first), directive, sizes);
}

void FormatMac(GrowingText& out, const unsigned char* bytes, const Directive& directive, const Sizes& sizes) {
  if (bytes == nullptr) {
    Place(out, kNullText, sizeof kNullText - 1, directive, sizes);
    return;
  }
  char text[17];
  for (int i = 0; i < 6; ++i) {
    text[i * 3] = kLowerHex[bytes[i] >> 4];
    text[i * 3 + 1] = kLowerHex[bytes[i] & 0x0F];
    if (i != 5)
      text[i * 3 + 2] = ':';
  }
  Place(out, text, sizeof text, directive, sizes);
}

// The plain integer forms every runtime prints the same way ("%d", "%5u",
// "%08X", "%-4x", "%ld" with a 32-bit value) are done here: handing each of
// them to the runtime would cost more than the rest of the format.
bool TryFastInteger(GrowingText& out, int value, const Directive& directive, const Sizes& sizes) {
  const char conversion = directive.conversion;
  if (directive.sign != 0 || directive.dot || (directive.sizeLetter != 0 && directive.sizeLetter != 'l'))
    return false;
  if (sizes.runtimeWidth > 64 || sizes.runtimeWidth < -64)
    return false;

  char buffer[16];
  char* end = buffer + sizeof buffer;
  char* first;
  bool negative = false;
  const uint32_t bits = static_cast<uint32_t>(value);
  if (conversion == 'd' || conversion == 'i') {
    negative = value < 0;
    first = DecimalBackwards(end, negative ? 0 - bits : bits, false);
  } else if (conversion == 'u') {
    first = DecimalBackwards(end, bits, false);
  } else if (conversion == 'x' || conversion == 'X') {
    const char* digits = conversion == 'x' ? kLowerHex : kUpperHex;
    uint32_t rest = bits;
    first = end;
    do {
      *--first = digits[rest & 0xF];
      rest >>= 4;
    } while (rest != 0);
  } else {
    return false;
  }

  const bool left = directive.leftAlign || sizes.runtimeWidth < 0;
  const size_t width = static_cast<size_t>(sizes.runtimeWidth < 0 ? -sizes.runtimeWidth : sizes.runtimeWidth);
  const size_t length = static_cast<size_t>(end - first) + (negative ? 1 : 0);
  const size_t padding = width > length ? width - length : 0;
  if (left) {
    if (negative)
      out.Append("-", 1);
    out.Append(first, static_cast<size_t>(end - first));
    out.AppendFill(' ', padding);
  } else if (directive.zeroFlag) {
    if (negative)
      out.Append("-", 1);
    out.AppendFill('0', padding);
    out.Append(first, static_cast<size_t>(end - first));
  } else {
    out.AppendFill(' ', padding);
    if (negative)
      out.Append("-", 1);
    out.Append(first, static_cast<size_t>(end - first));
  }
  return true;
}

// Hands one conversion to the runtime. The specification is rebuilt with
// "*" for the width and precision so that the capped values can be passed;
// everything else the runtime sees is what the caller wrote ("F" and "N",
// which no runtime we build for knows, are left out).
template <typename Value>
void RuntimeField(GrowingText& out, const Directive& directive, const Sizes& sizes, bool keepSizeLetter,
                  Value value) {
  char text[16];
  char* p = text;
  *p++ = '%';
  if (directive.leftAlign)
    *p++ = '-';
  if (directive.sign != 0)
    *p++ = directive.sign;
  if (directive.zeroFlag)
    *p++ = '0';
  const bool hasWidth = directive.widthDigits || directive.widthStar;
  if (hasWidth)
    *p++ = '*';
  const bool hasPrecision = directive.precisionDigits || directive.precisionStar;
  if (directive.dot) {
    *p++ = '.';
    if (hasPrecision)
      *p++ = '*';
  }
  if (keepSizeLetter && directive.sizeLetter != 0)
    *p++ = directive.sizeLetter;
  *p++ = directive.conversion;
  *p = '\0';

  char* field = out.Reserve(kFieldMax + 1);
  const size_t room = kFieldMax + 1;
  size_t written;
  if (hasWidth && hasPrecision)
    written = FormatIntoBuffer(field, room, text, sizes.runtimeWidth, sizes.runtimePrecision, value);
  else if (hasWidth)
    written = FormatIntoBuffer(field, room, text, sizes.runtimeWidth, value);
  else if (hasPrecision)
    written = FormatIntoBuffer(field, room, text, sizes.runtimePrecision, value);
  else
    written = FormatIntoBuffer(field, room, text, value);
  out.Commit(written);
}

void FloatingField(GrowingText& out, const Directive& directive, const Sizes& sizes, double value) {
  if (directive.sizeLetter == 'L') {
    RuntimeField(out, directive, sizes, true, static_cast<RuntimeLongDouble>(value));
    return;
  }
  if (directive.sizeLetter != 'l')
    value = static_cast<double>(static_cast<float>(value));
  RuntimeField(out, directive, sizes, true, value);
}

void IntegerField(GrowingText& out, const Directive& directive, const Sizes& sizes, int value) {
  if (TryFastInteger(out, value, directive, sizes))
    return;
  // The value is 32 bits; widen it to what the size letter makes the
  // runtime read (long is 64-bit on Linux, "L" reads a long long).
  const bool isSigned = directive.conversion == 'd' || directive.conversion == 'i';
  if (directive.sizeLetter == 'l') {
    if (isSigned)
      RuntimeField(out, directive, sizes, true, static_cast<long>(value));
    else
      RuntimeField(out, directive, sizes, true, static_cast<unsigned long>(static_cast<unsigned>(value)));
  } else if (directive.sizeLetter == 'L') {
    if (isSigned)
      RuntimeField(out, directive, sizes, true, static_cast<long long>(value));
    else
      RuntimeField(out, directive, sizes, true,
                   static_cast<unsigned long long>(static_cast<unsigned>(value)));
  } else {
    RuntimeField(out, directive, sizes, true, value);
  }
}

bool IsRuntimeInteger(char conversion) {
  switch (conversion) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
      return true;
    default:
      return false;
  }
}

Sizes ReadSizes(const Directive& directive, va_list* args) {
  Sizes sizes;
  if (directive.widthDigits) {
    sizes.width = directive.width;
    sizes.runtimeWidth = directive.width > kRuntimeWidthCap ? kRuntimeWidthCap : directive.width;
  } else if (directive.widthStar) {
    const int width = va_arg(*args, int);
    sizes.width = width;  // negative: none, for placing
    sizes.runtimeWidth = Clamp(width, -kRuntimeWidthCap, kRuntimeWidthCap);
  }
  if (directive.precisionDigits) {
    sizes.precision = directive.precision;
    sizes.runtimePrecision =
        directive.precision > kRuntimePrecisionCap ? kRuntimePrecisionCap : directive.precision;
  } else if (directive.precisionStar) {
    const int precision = va_arg(*args, int);
    sizes.precision = precision < 0 ? -1 : precision;
    sizes.runtimePrecision = Clamp(precision, -1, kRuntimePrecisionCap);
  }
  return sizes;
}

void Convert(GrowingText& out, const char* directiveStart, const char* directiveEnd,
             const Directive& directive, va_list* args) {
  const Sizes sizes = ReadSizes(directive, args);
  switch (directive.conversion) {
    case 's': {
      const char* text = va_arg(*args, const char*);
      if (text == nullptr)
        text = kNullText;
      Place(out, text, BoundedLength(text, sizes), directive, sizes);
      return;
    }
    case 'c': {
      const char character = static_cast<char>(va_arg(*args, int));
      Place(out, &character, character != '\0' ? 1 : 0, directive, sizes);
      return;
    }
    case 'D':
      FormatDecimal64(out, va_arg(*args, long long), directive, sizes);
      return;
    case 'I':
      FormatIPv4(out, va_arg(*args, unsigned), directive, sizes);
      return;
    case 'M':
    case ':':
      FormatMac(out, va_arg(*args, const unsigned char*), directive, sizes);
      return;
    case 'e':
    case 'E':
    case 'f':
    case 'g':
    case 'G':
      FloatingField(out, directive, sizes, va_arg(*args, double));
      return;
    case 'p': {
      // A 32-bit value, as for every other conversion; the runtime reads a
      // whole pointer whatever size letter is written, so none is passed.
      const unsigned value = va_arg(*args, unsigned);
      RuntimeField(out, directive, sizes, false, reinterpret_cast<void*>(static_cast<uintptr_t>(value)));
      return;
    }
    case 'n':
      // Never handed on: it would make the runtime write through a value
      // that is not a pointer of ours.
      (void)va_arg(*args, int);
      return;
    default:
      break;
  }
  const int value = va_arg(*args, int);
  if (IsRuntimeInteger(directive.conversion)) {
    IntegerField(out, directive, sizes, value);
    return;
  }
  // Not a conversion any runtime we build for reads as a 32-bit value (or
  // not one at all, such as "%S" or "%5%"): handing it on could make the
  // runtime read a wide string or a double that is not there.
  const size_t length = static_cast<size_t>(directiveEnd - directiveStart);
  out.Append(directiveStart, length > static_cast<size_t>(kFieldMax) ? kFieldMax : length);
}

}  // namespace

SharedString& SharedString::FormatV(const char* format, va_list args) {
  va_list cursor;
  va_copy(cursor, args);
  GrowingText out;
  const char* p = format != nullptr ? format : "";
  try {
    for (;;) {
      const char* percent = std::strchr(p, '%');
      if (percent == nullptr) {
        out.Append(p, std::strlen(p));
        break;
      }
      out.Append(p, static_cast<size_t>(percent - p));
      if (percent[1] == '%') {
        out.Append("%", 1);
        p = percent + 2;
        continue;
      }
      Directive directive;
      const char* next = ParseDirective(percent + 1, directive);
      if (directive.conversion == '\0')
        break;
      Convert(out, percent, next, directive, &cursor);
      p = next;
    }
  } catch (...) {
    va_end(cursor);
    throw;
  }
  va_end(cursor);

  SharedString made(static_cast<int32_t>(out.Size()));
  if (!made.IsValid())
    ThrowMemoryAllocationError();
  std::memcpy(made.Buffer(), out.Data(), out.Size());
  made.Buffer()[out.Size()] = '\0';
  return *this = static_cast<SharedString&&>(made);
}

SharedString& FormatText(SharedString& target, const char* format, ...) {
  va_list args;
  va_start(args, format);
  try {
    target.FormatV(format, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
  return target;
}

SharedString MakeFormatted(const char* format, ...) {
  SharedString made;
  va_list args;
  va_start(args, format);
  try {
    made.FormatV(format, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
  return made;
}
