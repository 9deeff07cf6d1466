// The few system calls of the tools library, behind one portable interface:
// the Windows build asks the system, the native Linux build answers from the
// C runtime so that everything above it builds and runs there too.
#ifndef KESTRIN_TOOLS_PLATFORM_H
#define KESTRIN_TOOLS_PLATFORM_H

#include <cstdint>

#include "tools/SharedString.h"

namespace platform {

// GetLastError (errno in the native build).
uint32_t LastSystemError();

// The system's message for a Win32 error code as the system words it,
// trailing line ends included; the empty handle when it has none.
// (Natively: the C runtime's message for the code as an errno value.)
SharedString SystemErrorMessage(uint32_t code);

// WSAGetLastError (0 in the native build, which has no Winsock).
int LastSocketError();

}  // namespace platform

#endif  // KESTRIN_TOOLS_PLATFORM_H
