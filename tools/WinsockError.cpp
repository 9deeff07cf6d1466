#include "tools/WinsockError.h"

#include <memory>

#include "tools/Format.h"
#include "tools/Platform.h"

const WinsockErrorName kWinsockErrorNames[kWinsockErrorNameCount] = {
    {10004, "WSAEINTR"},           {10009, "WSAEBADF"},          {10013, "WSAEACCES"},
    {10014, "WSAEFAULT"},          {10022, "WSAEINVAL"},         {10024, "WSAEMFILE"},
    {10035, "WSAEWOULDBLOCK"},     {10036, "WSAEINPROGRESS"},    {10037, "WSAEALREADY"},
    {10038, "WSAENOTSOCK"},        {10039, "WSAEDESTADDRREQ"},   {10040, "WSAEMSGSIZE"},
    {10041, "WSAEPROTOTYPE"},      {10042, "WSAENOPROTOOPT"},    {10043, "WSAEPROTONOSUPPORT"},
    {10044, "WSAESOCKTNOSUPPORT"}, {10045, "WSAEOPNOTSUPP"},     {10046, "WSAEPFNOSUPPORT"},
    {10047, "WSAEAFNOSUPPORT"},    {10048, "WSAEADDRINUSE"},     {10049, "WSAEADDRNOTAVAIL"},
    {10050, "WSAENETDOWN"},        {10051, "WSAENETUNREACH"},    {10052, "WSAENETRESET"},
    {10053, "WSAECONNABORTED"},    {10054, "WSAECONNRESET"},     {10055, "WSAENOBUFS"},
    {10056, "WSAEISCONN"},         {10057, "WSAENOTCONN"},       {10058, "WSAESHUTDOWN"},
    {10059, "WSAETOOMANYREFS"},    {10060, "WSAETIMEDOUT"},      {10061, "WSAECONNREFUSED"},
    {10062, "WSAELOOP"},           {10063, "WSAENAMETOOLONG"},   {10064, "WSAEHOSTDOWN"},
    {10065, "WSAEHOSTUNREACH"},    {10066, "WSAENOTEMPTY"},      {10067, "WSAEPROCLIM"},
    {10068, "WSAEUSERS"},          {10069, "WSAEDQUOT"},         {10070, "WSAESTALE"},
    {10071, "WSAEREMOTE"},         {10101, "WSAEDISCON"},        {10091, "WSASYSNOTREADY"},
    {10092, "WSAVERNOTSUPPORTED"}, {10093, "WSANOTINITIALISED"}, {11001, "WSAHOST_NOT_FOUND"},
    {11002, "WSATRY_AGAIN"},       {11003, "WSANO_RECOVERY"},    {11004, "WSANO_DATA"},
    {11004, "WSANO_ADDRESS"},
};

const char* FindWinsockErrorName(int code) {
  for (const WinsockErrorName& row : kWinsockErrorNames) {
    if (row.code == code)
      return row.name;
  }
  return nullptr;
}

namespace {

SharedString WinsockText(int code) {
  if (code == 0)
    return SharedString("");
  const char* name = FindWinsockErrorName(code);
  if (name != nullptr)
    return SharedString(name);
  return MakeFormatted("Winsock error %d", code);
}

int ResolveSocketCode(int code) { return code == -1 ? platform::LastSocketError() : code; }

}  // namespace

WinsockErrorRecord::WinsockErrorRecord() : WinsockErrorRecord(platform::LastSocketError()) {}

WinsockErrorRecord::WinsockErrorRecord(int code) : code(ResolveSocketCode(code)) {
  SetText(WinsockText(this->code).c_str());
}

SocketErrorRecord::SocketErrorRecord(const char* operation, OwnedObject* context, const char* qualifier,
                                     int code)
    : WinsockErrorRecord(code), context(nullptr) {
  if (operation == nullptr)
    operation = "";
  if (qualifier != nullptr)
    Prepend(MakeFormatted("%s:%s ", qualifier, operation).c_str());
  else
    Prepend(MakeFormatted("%s ", operation).c_str());
  // Taken over only once the text is built: a constructor that throws
  // runs no destructor, so a context held before would be lost.
  this->context = context;
  if (context != nullptr)
    context->OnTakenOver();
}

SocketErrorRecord::SocketErrorRecord(const char* operation, OwnedObject* context, const char* qualifier)
    : SocketErrorRecord(operation, context, qualifier, -1) {}

SocketErrorRecord::~SocketErrorRecord() { delete context; }

// The code is read before anything is allocated, so that nothing can
// overwrite it first.
WinsockErrorRef::WinsockErrorRef() : WinsockErrorRef(platform::LastSocketError()) {}

WinsockErrorRef::WinsockErrorRef(int code) : ErrorRef(new WinsockErrorRecord(ResolveSocketCode(code))) {}

namespace {

// The context is held here until the record has taken it over: when the
// record's allocation or construction fails, it is destroyed, not lost.
SocketErrorRecord* NewSocketErrorRecord(const char* operation, OwnedObject* context, const char* qualifier,
                                        int code) {
  std::unique_ptr<OwnedObject> owned(context);
  SocketErrorRecord* record = new SocketErrorRecord(operation, owned.get(), qualifier, code);
  owned.release();
  return record;
}

}  // namespace

SocketErrorRef::SocketErrorRef(const char* operation, OwnedObject* context, const char* qualifier, int code)
    : ErrorRef(NewSocketErrorRecord(operation, context, qualifier, ResolveSocketCode(code))) {}

SocketErrorRef::SocketErrorRef(const char* operation, OwnedObject* context, const char* qualifier)
    : SocketErrorRef(operation, context, qualifier, -1) {}
