// FileStreamBody: one open C runtime stream shared by copies of a file object.
#ifndef KESTRIN_TOOLS_FILE_COM_FILESTREAMBODY_H
#define KESTRIN_TOOLS_FILE_COM_FILESTREAMBODY_H

#include <cstdio>

#include "tools/RefCounted.h"

// Takes an open stream; closes it (fclose) when the last reference goes.
class FileStreamBody final : public RefCounted {
public:
    explicit FileStreamBody(FILE* stream) : stream(stream) {}

    FILE* Stream() const { return stream; }

private:
    ~FileStreamBody() override;

    FILE* const stream;
};

#endif  // KESTRIN_TOOLS_FILE_COM_FILESTREAMBODY_H
