// DosDateTime: the 16-bit MS-DOS date and time words of a DateTime.
#ifndef KESTRIN_TOOLS_WIN32_FILE_DOSDATETIME_H
#define KESTRIN_TOOLS_WIN32_FILE_DOSDATETIME_H

#include <cstdint>

#include "tools/DateTime.h"

// date: bits 15-9 year - 1980, 8-5 month, 4-0 day;
// time: bits 15-11 hour, 10-5 minute, 4-0 second / 2 (the odd second is
// dropped). False, with both words left alone, when a field does not fit
// its bits: a year before 1980 or after 2107, a month outside 1-12, a day
// outside 1-31, an hour, minute or second outside the clock's range.
bool MakeDosDateTime(const DateTime& when, uint16_t* dosDate, uint16_t* dosTime);

#endif  // KESTRIN_TOOLS_WIN32_FILE_DOSDATETIME_H
