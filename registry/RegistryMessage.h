// RegistryMessageBuffer and the writing of messages into it. Every
// message is cut to fit the 1,024-byte buffer and always ends in a zero
// byte: a long path plus a long system text can never overflow it.
// Portable: built and tested natively too.
#ifndef KESTRIN_REGISTRY_REGISTRYMESSAGE_H
#define KESTRIN_REGISTRY_REGISTRYMESSAGE_H

#include <cstdarg>

// The size of RegistryMessageBuffer.
const int kRegistryMessageBufferSize = 1024;

// The one buffer of the process that holds the last failure's message.
// Every failure overwrites it; the registry wrapper throws its address.
extern char RegistryMessageBuffer[kRegistryMessageBufferSize];

// printf-style "%s" and "%d" into the buffer, replacing what it held; cut at
// 1,023 characters.
void FormatRegistryMessage(const char* format, ...);
void FormatRegistryMessageV(const char* format, va_list args);

// Appends `text` (null counts as "") to the message in the buffer, as much
// of it as fits before the terminator.
void AppendRegistryMessage(const char* text);

// Appends the Win32 explanation of `code`: one blank, then
// "Error code=%d (%s)" with the code and the system's message (the
// Win32ErrorRecord text with an empty prefix). Win32 builds only.
void AppendWin32Explanation(unsigned long code);

#endif  // KESTRIN_REGISTRY_REGISTRYMESSAGE_H
