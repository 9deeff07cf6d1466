// The status line of the setup dialog: is the product's driver running, and
// which version is it.
#include <cstdint>
#include <cstring>

#include "app/ProductProfile.h"
#include "driver/DriverChannel.h"
#include "resources/ResourceIds.h"
#include "tools/AsciiCase.h"
#include "tools/Format.h"

namespace {

// The device a static driver creates is named after its file: the base name
// up to the first ".", in capitals ("Kestrin.vxd" opens "\\.\KESTRIN").
SharedString DeviceNameOf(const char* fileName) {
  const char* dot = std::strchr(fileName, '.');
  const int32_t length = static_cast<int32_t>(dot ? dot - fileName : std::strlen(fileName));
  SharedString device(length);
  if (char* name = device.Buffer()) {
    for (int32_t i = 0; i < length; ++i)
      name[i] = AsciiUpper(fileName[i]);
    name[length] = '\0';
  }
  return device;
}

}  // namespace

SharedString ProductProfile::DescribeDriverStatus() {
  SharedString result;
  driverList.reset();
  if (driverList.atEnd())
    return result;
  // Only the first driver is reported.
  const char* fileName = driverList.next();
  try {
    DriverChannel channel(DeviceNameOf(fileName).c_str());
    if (channel.IsOpen()) {
      // A driver that does not answer leaves the word 0: version 0.00.
      DWORD word = 0;
      channel.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, &word, sizeof word);
      const SharedString active = LoadMessage(IDS_DRIVER_ACTIVE);
      const SharedString cooling = LoadMessage(IDS_COOLING_AUTOMATICALLY);
      const DriverVersion version = DecodeDriverVersion(word);
      FormatText(result, active.c_str(), fileName, version.majorVersion, version.minorVersion, version.build);
      if (productIndex == 0 && word != 0)
        result += cooling;
    } else {
      FormatText(result, LoadMessage(IDS_DRIVER_NOT_ACTIVE).c_str(), fileName);
    }
  } catch (...) {
    // The status line is informative only: whatever was built stands.
  }
  return result;
}
