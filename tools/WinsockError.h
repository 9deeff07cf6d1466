// Error records for Winsock codes: WinsockErrorRecord names the code from a
// fixed table (the names are the stable part; the system's message texts
// differ between versions), SocketErrorRecord adds the failed operation and
// owns a context object.
#ifndef KESTRIN_TOOLS_WINSOCKERROR_H
#define KESTRIN_TOOLS_WINSOCKERROR_H

#include "tools/ErrorRecord.h"
#include "tools/ObjectHolder.h"

struct WinsockErrorName {
  int code;
  const char* name;
};

const int kWinsockErrorNameCount = 52;
// Standard codes with their symbolic names, in a fixed order. WSANO_DATA and
// WSANO_ADDRESS share 11004; the first row wins, so 11004 reads WSANO_DATA.
extern const WinsockErrorName kWinsockErrorNames[kWinsockErrorNameCount];

// The name of the first row with `code`, or null.
const char* FindWinsockErrorName(int code);

// The code's name, "Winsock error <code>" for a code the table lacks, "" for 0.
class WinsockErrorRecord : public ErrorRecord {
 public:
  // The code of WSAGetLastError.
  WinsockErrorRecord();
  // -1 means WSAGetLastError.
  explicit WinsockErrorRecord(int code);

  int GetCode() const override { return code; }

 private:
  int32_t code;
};

// "<qualifier>:<operation> <name>", or "<operation> <name>" without a
// qualifier; a null operation counts as "".
class SocketErrorRecord : public WinsockErrorRecord {
 public:
  // Takes over `context` (may be null) once it is made: when the
  // construction throws, the context is still the caller's. A code of -1
  // means WSAGetLastError.
  SocketErrorRecord(const char* operation, OwnedObject* context, const char* qualifier, int code);
  SocketErrorRecord(const char* operation, OwnedObject* context, const char* qualifier);
  ~SocketErrorRecord() override;

  OwnedObject* Context() const { return context; }

 private:
  OwnedObject* context;
};

class WinsockErrorRef : public ErrorRef {
 public:
  WinsockErrorRef();
  explicit WinsockErrorRef(int code);
  WinsockErrorRecord* Record() const { return static_cast<WinsockErrorRecord*>(Get()); }
};

class SocketErrorRef : public ErrorRef {
 public:
  // Takes over `context` in every case: when the record cannot be made,
  // the context is destroyed before the failure is thrown on.
  SocketErrorRef(const char* operation, OwnedObject* context, const char* qualifier, int code);
  SocketErrorRef(const char* operation, OwnedObject* context, const char* qualifier);
  SocketErrorRecord* Record() const { return static_cast<SocketErrorRecord*>(Get()); }
};

#endif  // KESTRIN_TOOLS_WINSOCKERROR_H
