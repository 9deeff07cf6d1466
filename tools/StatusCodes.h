// The status codes recorded in XTOOStatus holders, and their texts.
#ifndef KESTRIN_TOOLS_STATUSCODES_H
#define KESTRIN_TOOLS_STATUSCODES_H

#include <cstdint>

enum StatusCode : int32_t {
  e_NO_ERROR = 0,
  e_DIR_NOT_ACCESSIBLE = 3,
  e_FILE_NOT_FOUND = 4,
  e_READ_ERROR = 5,
  e_WRITE_ERROR = 6,
  e_NOT_ENOUGH_MEMORY = 16,
  e_OPEN_ERROR = 17,
  e_BAD_DIR_NAME = 18,
  e_ACCESS_DENIED = 19,
  e_CLOSE_ERROR = 20,
  e_SEEK_ERROR = 21,
  e_BAD_FILE_STRUCTURE = 22,
  e_BAD_PARAMETERS = 28,
  e_DIR_EMPTY = 31,
  e_DISK_FULL = 35,
  e_UNKNOWN_RETURN_VALUE = 36,
  e_INDEX_OUT_OF_BOUNDS = 37,
  e_WRONG_ID_TYPE = 38,
  e_RANDOM_REPEATED = 40,
  e_FILE_ATTRIBUTES = 41,
  e_NO_INITIALISATION = 42,
  e_DELETE_ERROR = 43,
  e_RENAME_ERROR = 44,
  e_GET_FILE_SIZE = 45,
  e_GET_FILE_INFO = 51,
  e_FIND_FILE = 52,
  e_GET_FULL_PATH = 53,
  e_GET_FILE_OFFSET = 54,
  e_SET_WORKING_DIR = 60,
  e_CREATE_DIR = 61,
  e_DELETE_DIR = 62,
  e_CREATE_FILE = 63,
  e_COPY_FILE = 64,
  e_WRONG_PARAMETER_COUNT = 82,
  e_NOT_IMPLEMENTED = 115,
  e_END_OF_SEARCH = 116,
  e_INVALID_IMPLEMENTATION = 117,
  e_CURPOS = 118,
  e_TRUNCATE = 119,
  e_FLUSH = 120,
  e_FILE_ALREADY_EXIST = 121,
  e_SET_FILE_TIME = 122,
  e_GET_FILE_TIME = 123,
  e_FILE_MOVE_ERROR = 124,
  e_USE_GETLASTERROR = 125,
  e_GET_DISK_FREE_OR_TOTAL = 126,
  e_FILE_INTEGRITY = 400,
  e_INTEGRITY_LOOP = 401,
  e_FIELD_SIZE_MISMATCH = 402,
};

struct StatusCodeEntry {
  int32_t code;
  const char* text;  // null in the closing row
};

// The table in its fixed order, closed by the row {-1, nullptr}.
extern const StatusCodeEntry kStatusCodeTable[];

// The text of `code`, or null when the table has no row for it.
const char* FindStatusText(int32_t code);

#endif  // KESTRIN_TOOLS_STATUSCODES_H
