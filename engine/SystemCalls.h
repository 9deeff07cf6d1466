// The engine's two effects that tests must never cause for real: message
// boxes (they wait for a user) and the restart. One function each; the
// program links the real ones (SystemCalls.cpp), the engine's tests link
// recording fakes instead.
#ifndef KESTRIN_ENGINE_SYSTEMCALLS_H
#define KESTRIN_ENGINE_SYSTEMCALLS_H

// MessageBoxA with no owner window: the answer (IDOK, IDYES, IDNO, ...).
int ShowMessageBox(const char* text, const char* caption, unsigned style);

// ExitWindowsEx(flags, reason); its result.
int RestartSystem(unsigned flags, unsigned long reason);

#endif  // KESTRIN_ENGINE_SYSTEMCALLS_H
