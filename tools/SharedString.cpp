#include "tools/SharedString.h"

#include <cstring>
#include <new>

StringBody* StringBody::Make(int32_t length) {
  if (length < 0)
    return nullptr;
  void* block = ::operator new(sizeof(StringBody) + static_cast<size_t>(length) + 1, std::nothrow);
  if (block == nullptr)
    return nullptr;
  char* storage = static_cast<char*>(block) + sizeof(StringBody);
  storage[0] = '\0';
  return new (block) StringBody(storage, length);
}

StringBody* StringBody::Copy(const char* text, int32_t length) {
  StringBody* made = Make(length);
  if (made != nullptr && length > 0) {
    std::memcpy(made->data, text, static_cast<size_t>(length));
    made->data[length] = '\0';
  }
  return made;
}

void StringBody::operator delete(void* block) { ::operator delete(block); }

namespace {

// Lengths are signed 32-bit; a text that does not fit is treated like a
// failed allocation.
bool FitsLength(size_t length) { return length <= static_cast<size_t>(INT32_MAX); }

StringBody* BodyFromText(const char* text) {
  if (text == nullptr)
    return nullptr;
  const size_t length = std::strlen(text);
  return FitsLength(length) ? StringBody::Copy(text, static_cast<int32_t>(length)) : nullptr;
}

}  // namespace

SharedString::SharedString(const char* text) : body(BodyFromText(text)) {}

SharedString::SharedString(int32_t size) : body(StringBody::Make(size)) {}

void SharedString::Adopt(StringBody* fresh) {
  StringBody* old = body;
  body = fresh;
  if (old != nullptr)
    old->Release();
}

SharedString& SharedString::operator=(const SharedString& other) {
  // Reference first, release second: assigning a handle to itself (or to
  // another handle of the same body) must not drop the body.
  if (other.body != nullptr)
    other.body->AddRef();
  Adopt(other.body);
  return *this;
}

SharedString& SharedString::operator=(SharedString&& other) noexcept {
  if (this != &other) {
    StringBody* taken = other.body;
    other.body = nullptr;
    Adopt(taken);
  }
  return *this;
}

SharedString& SharedString::operator=(const char* text) {
  // The copy is made before the old body goes, so `text` may point into it.
  Adopt(BodyFromText(text));
  return *this;
}

SharedString& SharedString::operator+=(const SharedString& other) {
  if (body == nullptr)
    return *this = other;
  if (other.body == nullptr)
    return *this;
  const int64_t total = static_cast<int64_t>(body->length) + other.body->length;
  if (total > INT32_MAX)
    return *this;
  StringBody* joined = StringBody::Make(static_cast<int32_t>(total));
  if (joined == nullptr)
    return *this;
  std::memcpy(joined->data, body->data, static_cast<size_t>(body->length));
  std::memcpy(joined->data + body->length, other.body->data, static_cast<size_t>(other.body->length) + 1);
  Adopt(joined);
  return *this;
}

SharedString SharedString::operator+(const char* text) const {
  if (text == nullptr)
    return *this;
  if (body == nullptr)
    return SharedString(text);
  const size_t extra = std::strlen(text);
  const size_t total = static_cast<size_t>(body->length) + extra;
  if (!FitsLength(total))
    return *this;
  StringBody* joined = StringBody::Make(static_cast<int32_t>(total));
  if (joined == nullptr)
    return *this;
  std::memcpy(joined->data, body->data, static_cast<size_t>(body->length));
  std::memcpy(joined->data + body->length, text, extra + 1);
  return SharedString(AdoptTag(), joined);
}

bool SharedString::operator==(const char* text) const {
  return std::strcmp(c_str(), text != nullptr ? text : "") == 0;
}

bool SharedString::operator==(const SharedString& other) const {
  if (body == nullptr || other.body == nullptr)
    return body == other.body;
  return body == other.body || std::strcmp(body->data, other.body->data) == 0;
}

bool SharedString::operator<(const SharedString& other) const {
  return body != nullptr && other.body != nullptr && std::strcmp(body->data, other.body->data) < 0;
}

bool SharedString::operator>(const SharedString& other) const {
  return body != nullptr && other.body != nullptr && std::strcmp(body->data, other.body->data) > 0;
}
