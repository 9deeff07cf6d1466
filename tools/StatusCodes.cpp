#include "tools/StatusCodes.h"

// The texts are shown to users as they stand, misspellings and doubled
// blanks included.
const StatusCodeEntry kStatusCodeTable[] = {
    {0, "There is no error"},
    {3, "The directory is not accessible"},
    {4, "The specified file not found"},
    {5, "Error while reading file"},
    {6, "Error while writing into file"},
    {16, "Not enough memory."},
    {17, "Error while opening file."},
    {18, "Directory can not have such name."},
    {19, "Access to file denied."},
    {20, "Error while closing file."},
    {21, "Error while positioning in file."},
    {22, "Wrong structure of structured file."},
    {28, "Function received incorrect parameters."},
    {31, "Directory is empty but it should not be such."},
    {35, "Not enough disk space."},
    {36, "The returned value does not correspond to any code."},
    {37, "Index is beyond proper bounds."},
    {38, "Function received identifier of not proper type."},
    {40, "The random number has repeted."},
    {41, "File's (dir's) attr. can't be received or set."},
    {42, "Is used to turn off initialization of any kind or when creating an object without initialization."},
    {43, "Error while deleting file"},
    {44, "Error while renaming file"},
    {45, "Error while  get file size"},
    {51, "Get file info ( date, time, attributes ...)"},
    {52, "Error while finding file"},
    {53, "Error can't get full path ( not file or other error )"},
    {54, "Error can't get offset in the file"},
    {60, "Can't seting working directory"},
    {61, "Error while creating directory"},
    {62, "Error while deleting directory"},
    {63, "Error while creating file"},
    {64, "Error while coping  file."},
    {82, "Exe-file receives wrong number of parameters."},
    {115, "Function not implemented"},
    {116, "End of files searching"},
    {117, "Function not implemented in some case (e_INVALID_IMPLEMENTATION)"},
    {118, "CurPos () failed"},
    {119, "Truncate () failed"},
    {120, "Flush () failed"},
    {121, "e_FILE_ALREADY_EXIST"},
    {122, "e_SET_FILE_TIME"},
    {123, "e_GET_FILE_TIME"},
    {124, "e_FILE_MOVE_ERROR"},
    {125, "e_USE_GETLASTERROR"},
    {126, "e_GET_DISK_FREE_OR_TOTAL"},
    {400, "File integrity error"},
    {401, "Infinite loop as a result of handling file with integrity error"},
    {402, "File format error: size of fields' records mismatch"},
    {-1, nullptr},
};

const char* FindStatusText(int32_t code) {
  for (const StatusCodeEntry* row = kStatusCodeTable; row->text != nullptr; ++row) {
    if (row->code == code)
      return row->text;
  }
  return nullptr;
}
