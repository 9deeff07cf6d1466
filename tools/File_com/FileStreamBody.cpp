#include "tools/File_com/FileStreamBody.h"

FileStreamBody::~FileStreamBody() {
  if (stream != nullptr)
    std::fclose(stream);
}
