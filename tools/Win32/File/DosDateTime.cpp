#include "tools/Win32/File/DosDateTime.h"

namespace {
// The years the seven bits of the date word can hold.
const int32_t kFirstDosYear = 1980;
const int32_t kLastDosYear = 2107;
}  // namespace

bool MakeDosDateTime(const DateTime& when, uint16_t* dosDate, uint16_t* dosTime) {
  if (when.Year() < kFirstDosYear || when.Year() > kLastDosYear || when.Month() < 1 || when.Month() > 12 ||
      when.Day() < 1 || when.Day() > 31 || when.Hour() < 0 || when.Hour() > 23 || when.Minute() < 0 ||
      when.Minute() > 59 || when.Second() < 0 || when.Second() > 59)
    return false;
  *dosDate = static_cast<uint16_t>(((when.Year() - kFirstDosYear) << 9) | (when.Month() << 5) | when.Day());
  *dosTime = static_cast<uint16_t>((when.Hour() << 11) | (when.Minute() << 5) | (when.Second() / 2));
  return true;
}
