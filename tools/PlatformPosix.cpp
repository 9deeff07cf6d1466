#include "tools/Platform.h"

#include <cerrno>
#include <cstring>

namespace platform {

uint32_t LastSystemError() { return static_cast<uint32_t>(errno); }

SharedString SystemErrorMessage(uint32_t code) { return SharedString(std::strerror(static_cast<int>(code))); }

int LastSocketError() { return 0; }

}  // namespace platform
