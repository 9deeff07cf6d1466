// The path checks of static driver registration:
// from a driver's short path to its file name and registry key name.
// Portable: no Win32 call (the short-path conversion is the caller's).
#ifndef KESTRIN_DRIVER_DRIVERFILENAME_H
#define KESTRIN_DRIVER_DRIVERFILENAME_H

#include <cstddef>

// Limits of the names.
const std::size_t kDriverFileNameMax = 12;  // 8 for the base name, 4 for the extension
const std::size_t kDriverKeyNameSize = 16;  // buffer of the key name

struct DriverNames {
  char fileName[kDriverFileNameMax + 1];  // e.g. KESTRIN.VXD
  char keyName[kDriverKeyNameSize];       // the file name less its last 4 characters, e.g. KESTRIN
};

// Checks `shortPath` and derives the names. False (and `names` unspecified)
// when the path is rejected:
//   - it is 4 characters long or shorter;
//   - its last 4 characters are neither ".vxd" (any case) nor ".386";
//   - the part behind the last backslash is longer than 12 characters;
//   - that part has nothing before its extension (a file named ".vxd"): its
//     key name would be empty and address the whole static-driver list.
bool DeriveDriverNames(const char* shortPath, DriverNames& names);

#endif  // KESTRIN_DRIVER_DRIVERFILENAME_H
