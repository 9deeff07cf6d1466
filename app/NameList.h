// NameList: an ordered list of names cut from one newline-separated text.
#ifndef KESTRIN_APP_NAMELIST_H
#define KESTRIN_APP_NAMELIST_H

#include "tools/CTOOPtr.h"

// Owns a copy of the text in which every newline has become a NUL, so each
// name is handed out in place. Two adjacent newlines give an empty name; a
// final newline gives none after it; an empty or null text gives no names.
// Failure channel: building throws the char* "Memory allocation error".
class NameList {
 public:
  NameList();
  explicit NameList(const char* text);
  NameList(const NameList&) = delete;
  NameList& operator=(const NameList&) = delete;

  // Puts the cursor on the first name; walkers call it before next().
  void reset();
  // The name at the cursor, and the cursor moves past it; null at the end.
  const char* next();
  bool atEnd() const;

 private:
  CTOOPtr text;
  const char* cursor;
  const char* end;
};

#endif  // KESTRIN_APP_NAMELIST_H
