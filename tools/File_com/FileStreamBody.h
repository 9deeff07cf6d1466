// FileStreamBody: one open C runtime stream shared by copies of a file object.
#ifndef KESTRIN_TOOLS_FILE_COM_FILESTREAMBODY_H
#define KESTRIN_TOOLS_FILE_COM_FILESTREAMBODY_H

#include <cstdio>

#include "tools/RefCounted.h"

// Takes an open stream; closes it (fclose) when the last reference goes.
// It also remembers whether bytes written may still wait in the stream's
// buffer: the sharers of one stream see the same buffer.
class FileStreamBody final : public RefCounted {
 public:
  explicit FileStreamBody(FILE* stream) : stream(stream), outputPending(false) {}

  FILE* Stream() const { return stream; }

  // Set by a write; cleared by whatever writes the buffer out or switches
  // the stream to reading (a seek, a read, a flush).
  bool OutputPending() const { return outputPending; }
  void SetOutputPending(bool pending) { outputPending = pending; }

 private:
  ~FileStreamBody() override;

  FILE* const stream;
  bool outputPending;
};

#endif  // KESTRIN_TOOLS_FILE_COM_FILESTREAMBODY_H
