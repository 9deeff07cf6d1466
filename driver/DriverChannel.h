// DriverChannel: the control channel to a running virtual device driver, and
// the version query, the one exchange the product's driver defines.
#ifndef KESTRIN_DRIVER_DRIVERCHANNEL_H
#define KESTRIN_DRIVER_DRIVERCHANNEL_H

#include <windows.h>

// Version query of the product's driver: device type 0x22 (unknown device),
// function 0x801, buffered transfer, any access. No input; the reply is one
// unsigned 32-bit word: bits 31..16 hold major * 100 + minor, bits 15..0 the
// build number.
const DWORD IOCTL_DRIVER_GET_VERSION = 0x00222004;

// A version word taken apart, all in unsigned arithmetic: the word 0x00650007
// (high half 101, low half 7) is version 1.01 build 7.
struct DriverVersion {
  DWORD majorVersion;
  DWORD minorVersion;
  DWORD build;
};

inline DriverVersion DecodeDriverVersion(DWORD word) {
  const DWORD high = word >> 16;
  return DriverVersion{high / 100, high % 100, word & 0xFFFF};
}

// An open handle to the device "\\.\<name>" of a loaded driver. Opening
// happens in the constructor and never throws; a channel that could not be
// opened stays not open for its whole life (the driver is not running).
// Used by one thread.
class DriverChannel {
 public:
  // Opens "\\.\" + deviceName (for example "KESTRIN") for overlapped use,
  // first with FILE_FLAG_DELETE_ON_CLOSE, then once more without it.
  explicit DriverChannel(const char* deviceName);
  // Closes the device handle and the event.
  virtual ~DriverChannel();

  DriverChannel(const DriverChannel&) = delete;
  DriverChannel& operator=(const DriverChannel&) = delete;

  // 1 when both the device handle and the channel's event exist, else 0.
  virtual int IsOpen();

  // Sends one control request and returns non-zero on success. A request the
  // driver leaves pending is waited for: the call returns only once the
  // driver is done with both buffers. On failure the output buffer keeps what
  // the caller put there (as far as the driver left it alone). The byte count
  // of the reply is kept in the channel (0xFFFFFFFF when nothing was sent)
  // and also copied to *bytesReturned when that pointer is not null. On a
  // channel that is not open nothing is sent and 0 is returned.
  virtual BOOL Control(DWORD code, void* input, DWORD inputSize, void* output, DWORD outputSize,
                       DWORD* bytesReturned = nullptr);

  // The ring-0 handle of a Win32 event, for passing to a virtual device
  // driver, through kernel32's "OpenVxDHandle" (Windows 9x only). Null when
  // the channel is not open or the function does not exist on this system.
  HANDLE GetRing0Handle(HANDLE event);

 private:
  int open;
  HANDLE device;          // INVALID_HANDLE_VALUE when the open failed
  OVERLAPPED overlapped;  // only its event carries meaning
  DWORD bytesReturned;    // count of the last reply
};

#endif  // KESTRIN_DRIVER_DRIVERCHANNEL_H
