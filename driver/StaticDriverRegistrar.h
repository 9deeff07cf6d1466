// RegisterStaticDriver: makes the system load a static virtual
// device driver (".vxd" or ".386") at the next start, or undoes that.
#ifndef KESTRIN_DRIVER_STATICDRIVERREGISTRAR_H
#define KESTRIN_DRIVER_STATICDRIVERREGISTRAR_H

// Where static drivers are listed, below HKEY_LOCAL_MACHINE; each driver has
// a sub-key named after its file's base name.
extern const char kStaticDriverListKey[];     // "System\CurrentControlSet\Services\VxD"
extern const char kStaticDriverPathValue[];   // "StaticVxD": REG_SZ, the driver's short path
extern const char kStaticDriverStartValue[];  // "Start": REG_BINARY, one zero byte

// `path` is the driver file's full path; it must lie there already when it is
// registered. `install` non-zero registers, zero unregisters.
//
// Returns 1 when the road was carried out, 0 when the path was rejected
// (touching nothing): its short path cannot be had (registration only), it
// is 4 characters or shorter, its extension is neither ".vxd" (any case) nor
// ".386", or its file name is longer than 12 characters.
//
// Registration writes the key, "StaticVxD" and "Start"; a failure leaves as
// RegistryKey's thrown char* text ("CreateRegError ..." or
// "WriteRegError ..."), which the caller catches.
//
// Un-registration throws nothing: it deletes the driver's key (a missing key
// is ignored), then drops every "device=" line for the driver file from the
// "[386Enh]" sections of "system.ini" in the Windows folder, writing the new
// file as "system.$$$" and keeping the previous one as "system.bak". With
// no line dropped (or a failed write or read), "system.ini" stays as it was
// and no "system.bak" is made. When "system.ini" has become "system.bak"
// but "system.$$$" cannot become "system.ini", "system.bak" is put back as
// "system.ini", so that the file is never lost.
int RegisterStaticDriver(const char* path, int install);

#endif  // KESTRIN_DRIVER_STATICDRIVERREGISTRAR_H
