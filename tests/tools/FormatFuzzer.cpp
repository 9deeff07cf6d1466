// libFuzzer target: the format engine with fuzzer-made format strings, and
// the text operations on fuzzer-made texts.
//
// Input: byte 0 picks the mode (even: format, odd: text operations); byte 1
// seeds the argument values; the rest is the format or the text.
//
// The harness reads each format with its own scanner to know which argument
// kinds its conversions take, and feeds them one conversion at a time (a
// variadic call cannot be built at run time for a mixed list). Formats whose
// conversions all take an int are also formatted in one call and must give
// the concatenation of the pieces.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/Format.h"
#include "tools/TextOps.h"

namespace {

enum class Kind { None, Int, Int64, Double, String, Mac };

struct Piece {
  std::string format;  // literal text and at most one conversion
  int stars = 0;       // "*" arguments read before the value
  Kind kind = Kind::None;
};

// The conversion grammar, written independently of the engine's parser.
std::vector<Piece> Scan(const char* format) {
  std::vector<Piece> pieces;
  Piece current;
  const char* p = format;
  while (*p != '\0') {
    if (*p != '%') {
      current.format += *p++;
      continue;
    }
    if (p[1] == '%') {
      current.format += "%%";
      p += 2;
      continue;
    }
    const char* start = p++;
    int stars = 0;
    if (*p == '-')
      ++p;
    if (*p == ' ' || *p == '+')
      ++p;
    // A width, then a precision: digits, or "*" taking an argument.
    auto skipCount = [&p, &stars] {
      if (*p >= '0' && *p <= '9') {
        while (*p >= '0' && *p <= '9')
          ++p;
      } else if (*p == '*') {
        ++stars;
        ++p;
      }
    };
    skipCount();
    if (*p == '.') {
      ++p;
      skipCount();
    }
    if (*p != '\0' && std::strchr("lLhFN", *p) != nullptr)
      ++p;
    if (*p == '_')
      ++p;
    if (*p == ',')
      ++p;
    if (*p == '\0') {
      // Cut short by the end: nothing is read.
      current.format.append(start, p);
      break;
    }
    const char conversion = *p++;
    current.format.append(start, p);
    current.stars = stars;
    switch (conversion) {
      case 's':
        current.kind = Kind::String;
        break;
      case 'D':
        current.kind = Kind::Int64;
        break;
      case 'M':
      case ':':
        current.kind = Kind::Mac;
        break;
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'G':
        current.kind = Kind::Double;
        break;
      default:
        current.kind = Kind::Int;
        break;
    }
    pieces.push_back(current);
    current = Piece();
  }
  if (!current.format.empty())
    pieces.push_back(current);
  return pieces;
}

const int kInts[] = {0,    -1,    1,    7,       42,      1024,
                     1025, -1025, 5000, INT_MIN, INT_MAX, static_cast<int>(0xC0A80001u)};
const long long kInt64s[] = {0, -1, 1234567, -1234567, LLONG_MIN, LLONG_MAX, 999};
const double kDoubles[] = {0.0, 0.1, -2.5, 1e300, -1e-310, DBL_MAX, HUGE_VAL, -HUGE_VAL, NAN, 123456.789};
const unsigned char kMac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xFF};

struct Values {
  unsigned seed;
  int NextInt() { return kInts[seed++ % (sizeof kInts / sizeof kInts[0])]; }
  long long NextInt64() { return kInt64s[seed++ % (sizeof kInt64s / sizeof kInt64s[0])]; }
  double NextDouble() { return kDoubles[seed++ % (sizeof kDoubles / sizeof kDoubles[0])]; }
};

std::string& LongText() {
  static std::string text(3000, 'w');
  return text;
}

template <typename Value>
SharedString FormatOne(const Piece& piece, int width, int precision, Value value) {
  SharedString out;
  const char* format = piece.format.c_str();
  if (piece.stars == 0)
    FormatText(out, format, value);
  else if (piece.stars == 1)
    FormatText(out, format, width, value);
  else
    FormatText(out, format, width, precision, value);
  return out;
}

SharedString FormatPiece(const Piece& piece, Values& values) {
  const int width = piece.stars > 0 ? values.NextInt() : 0;
  const int precision = piece.stars > 1 ? values.NextInt() : 0;
  switch (piece.kind) {
    case Kind::None:
      return MakeFormatted(piece.format.c_str());
    case Kind::Int:
      return FormatOne(piece, width, precision, values.NextInt());
    case Kind::Int64:
      return FormatOne(piece, width, precision, values.NextInt64());
    case Kind::Double:
      return FormatOne(piece, width, precision, values.NextDouble());
    case Kind::String: {
      const unsigned pick = values.seed++ % 3;
      const char* text = pick == 0 ? "abc" : pick == 1 ? LongText().c_str() : nullptr;
      return FormatOne(piece, width, precision, text);
    }
    case Kind::Mac:
      return FormatOne(piece, width, precision, values.seed++ % 2 != 0 ? kMac : nullptr);
  }
  return SharedString();
}

void Check(bool condition) {
  if (!condition)
    std::abort();
}

void FuzzFormat(const char* format, unsigned seed) {
  const std::vector<Piece> pieces = Scan(format);
  Values values{seed};
  std::string joined;
  bool allInts = true;
  int intCount = 0;
  for (const Piece& piece : pieces) {
    const SharedString out = FormatPiece(piece, values);
    Check(static_cast<size_t>(out.Length()) == std::strlen(out.c_str()));
    // One field never exceeds 1,024 characters.
    Check(static_cast<size_t>(out.Length()) <= piece.format.size() + 1024);
    joined += out.c_str();
    if (piece.kind != Kind::Int && piece.kind != Kind::None)
      allInts = false;
    intCount += piece.stars + (piece.kind == Kind::Int ? 1 : 0);
  }
  if (!allInts || intCount > 8)
    return;
  // The same values in one call; unused ones are ignored.
  Values again{seed};
  int a[8];
  for (int& value : a)
    value = again.NextInt();
  const SharedString whole = MakeFormatted(format, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
  Check(joined == whole.c_str());
}

int32_t ReadInt(const uint8_t* data, size_t size, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value = (value << 8) | (at + i < size ? data[at + i] : 0);
  return static_cast<int32_t>(value);
}

void FuzzTextOperations(const uint8_t* data, size_t size, unsigned seed) {
  // Parameters come first, the text after them.
  const int32_t a = ReadInt(data, size, 0) % 64;
  const int32_t b = ReadInt(data, size, 4) % 64;
  const size_t skip = size < 8 ? size : 8;
  const std::string text(reinterpret_cast<const char*>(data) + skip, size - skip);
  const char* cText = text.c_str();  // up to the first zero byte
  const SharedString original(cText);
  const int32_t length = original.Length();

  SharedString trimmed = original;
  trimmed.Trim(static_cast<int>(seed));
  Check(trimmed.Length() <= length && static_cast<size_t>(trimmed.Length()) == std::strlen(trimmed.c_str()));
  Check(std::strstr(cText, trimmed.c_str()) != nullptr);

  const SharedString parts[] = {original.Left(a), original.Right(a), original.Mid(a, b), original.Mid(b, a)};
  for (const SharedString& part : parts) {
    Check(part.Length() <= length && static_cast<size_t>(part.Length()) == std::strlen(part.c_str()));
    Check(std::strstr(cText, part.c_str()) != nullptr);
  }

  // Find and replacement texts taken from the text itself.
  const SharedString find = original.Mid(a & 7, (b & 3) + 1);
  const SharedString replacement = original.Right(b & 7);
  SharedString replaced = original;
  const int count = replaced.Replace(find.c_str(), replacement.c_str());
  Check(count >= 0);
  Check(replaced.Length() == length + count * (replacement.Length() - find.Length()));

  (void)original.Hash();
  const int32_t rawCount = static_cast<int32_t>(text.size());
  std::vector<unsigned char> raw(text.begin(), text.end());
  (void)HashBytes(raw.data(), rawCount);
  const SharedString hex = HexBytes(raw.data(), rawCount);
  Check(hex.Length() == (rawCount > 0 ? rawCount * 3 - 1 : 0));

  // Exact-size heap blocks, so that any overrun reaches ASan.
  std::vector<char> fixed(static_cast<size_t>(a < 0 ? -a : a) + 1);
  SharedString assigned;
  Check(assigned.AssignFixed(raw.empty() ? "" : reinterpret_cast<const char*>(raw.data()), rawCount));
  Check(assigned.Length() <= rawCount);
  const bool fits = original.CopyToFixed(fixed.data(), static_cast<int32_t>(fixed.size()));
  Check(fits == (static_cast<int32_t>(fixed.size()) >= length));

  std::vector<char> path(static_cast<size_t>(length) + 2);
  std::memcpy(path.data(), cText, static_cast<size_t>(length) + 1);
  AppendBackslash(path.data());
  Check(path[std::strlen(path.data()) - 1] == '\\');
  StripBackslash(path.data());
  StripBackslash(path.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  const bool formatMode = (data[0] & 1) == 0;
  const unsigned seed = data[1];
  data += 2;
  size -= 2;
  try {
    if (formatMode) {
      const std::string format(reinterpret_cast<const char*>(data), size);
      FuzzFormat(format.c_str(), seed);
    } else {
      FuzzTextOperations(data, size, seed);
    }
  } catch (const char*) {
    // Storage could not be had: a documented outcome, not a fault.
  }
  return 0;
}
