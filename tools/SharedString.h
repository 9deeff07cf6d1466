// SharedString: reference-counted immutable text, the text type of the whole
// program; also declares its formatting and text operations (Format.cpp,
// TextOps.cpp).
#ifndef KESTRIN_TOOLS_SHAREDSTRING_H
#define KESTRIN_TOOLS_SHAREDSTRING_H

#include <cstdarg>
#include <cstdint>

#include "tools/RefCounted.h"

// The shared body of a text. The characters live in the same heap block,
// right behind the body, so making a text costs one allocation. A body is
// never changed after it has been handed to a second owner.
class StringBody final : public RefCounted {
 public:
  // A body with room for `length` characters (and the terminator) holding
  // the empty text; null when the storage cannot be had or `length` is
  // negative.
  static StringBody* Make(int32_t length);
  // A body holding a copy of the first `length` bytes of `text`.
  static StringBody* Copy(const char* text, int32_t length);

  static void operator delete(void* block);

  char* const data;
  const int32_t length;

 private:
  StringBody(char* storage, int32_t size) : data(storage), length(size) {}
  ~StringBody() override = default;
};

// A handle to a shared text, or the empty handle. The empty handle reads as
// "" with length 0 but compares unequal to a handle holding "".
// Copies and assignments between handles never allocate; operations that
// change the text build a new body and re-point this handle.
// Nothing here throws except FormatV (see Format.h).
class SharedString {
 public:
  SharedString() : body(nullptr) {}
  // A copy of the text; a null text or a failed allocation give the empty handle.
  explicit SharedString(const char* text);
  // Room for `size` characters holding "" until the maker fills it through
  // Buffer(); the empty handle when the storage cannot be had.
  explicit SharedString(int32_t size);
  SharedString(const SharedString& other) : body(other.body) {
    if (body != nullptr)
      body->AddRef();
  }
  SharedString(SharedString&& other) noexcept : body(other.body) { other.body = nullptr; }
  ~SharedString() {
    if (body != nullptr)
      body->Release();
  }

  SharedString& operator=(const SharedString& other);
  SharedString& operator=(SharedString&& other) noexcept;
  // Takes a new body with a copy of the text (null gives the empty handle).
  // The text may point into this string's own body.
  SharedString& operator=(const char* text);

  const char* c_str() const { return body != nullptr ? body->data : ""; }
  int32_t Length() const { return body != nullptr ? body->length : 0; }
  bool IsValid() const { return body != nullptr; }
  // No bounds check.
  char operator[](int32_t index) const { return c_str()[index]; }

  // Writable characters of a string made by the size constructor, for its
  // maker to fill before the string is shared; null for the empty handle.
  char* Buffer() { return body != nullptr ? body->data : nullptr; }

  // Append: an empty handle becomes a share of `other`; an empty `other`
  // changes nothing. Left unchanged when the new body cannot be made.
  SharedString& operator+=(const SharedString& other);
  // This text followed by `text`; a null text gives a share of this handle,
  // and so does a failed allocation.
  SharedString operator+(const char* text) const;

  // Byte-wise comparison with c_str(); a null text compares as "".
  bool operator==(const char* text) const;
  bool operator!=(const char* text) const { return !(*this == text); }
  // Two empty handles are equal; an empty and a non-empty one are not.
  bool operator==(const SharedString& other) const;
  bool operator!=(const SharedString& other) const { return !(*this == other); }
  // False whenever either handle is empty.
  bool operator<(const SharedString& other) const;
  bool operator>(const SharedString& other) const;

  // --- formatting (Format.cpp) ---

  // Replaces the text by the formatted text and returns *this. The format
  // language is described in Format.h. Throws the char* "Memory allocation
  // error" when its storage cannot be had; the text is then unchanged.
  SharedString& FormatV(const char* format, va_list args);

  // --- text operations (TextOps.cpp) ---

  enum TrimFlags {
    TrimLeadingBlanks = 0x01,
    TrimTrailingBlanks = 0x02,
    TrimFinalLineFeed = 0x04,   // one '\n', if the text ended with it
    TrimFinalBackslash = 0x10,  // one '\\', if the text ended with it
  };
  // Drops what `flags` asks for, in place.
  SharedString& Trim(int flags);
  // The first / last `count` characters; all of them when `count` reaches
  // the length; "" for 0 or less.
  SharedString Left(int32_t count) const;
  SharedString Right(int32_t count) const;
  // `count` characters from `start`. A negative start is raised to 0 and
  // shortens the count by as much; a negative count, or one reaching past
  // the end, gives the rest of the text.
  SharedString Mid(int32_t start, int32_t count) const;
  uint32_t Hash() const;
  // Replaces every occurrence of `find` (left to right, not overlapping);
  // returns how many. An empty find text replaces nothing.
  int Replace(const char* find, const char* replacement);
  // Takes the characters of `chars` up to the first zero byte or `maximum`;
  // false (and the empty handle) when no storage could be had.
  bool AssignFixed(const char* chars, int32_t maximum);
  // Copies min(size, Length()) bytes into `buffer` and zero-fills the rest;
  // true when the whole text fit (a text exactly `size` long is copied
  // without terminator).
  bool CopyToFixed(char* buffer, int32_t size) const;

 private:
  struct AdoptTag {};
  SharedString(AdoptTag, StringBody* adopted) : body(adopted) {}
  void Adopt(StringBody* fresh);

  StringBody* body;
};

#endif  // KESTRIN_TOOLS_SHAREDSTRING_H
