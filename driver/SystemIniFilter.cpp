#include "driver/SystemIniFilter.h"

#include <cstring>

#include "tools/AsciiCase.h"
#include "tools/GrowingText.h"

namespace {

// The read buffer of the file pass (1,024 characters). A line
// longer than one read is gathered whole before it is judged.
const std::size_t kReadBufferSize = 1024;

// The comparisons must not depend on the runtime's locale (the Russian texts
// are Windows-1251 bytes).
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && EqualIgnoringAsciiCase(a.data(), b.data(), a.size());
}

}  // namespace

std::string_view TrimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
    line.remove_suffix(1);
  return line;
}

bool IsDeviceLineFor(std::string_view line, std::string_view driverFileName) {
  if (driverFileName.empty())
    return false;
  if (line.size() < kDeviceKeyWord.size() + driverFileName.size())
    return false;
  if (!EqualIgnoringCase(line.substr(0, kDeviceKeyWord.size()), kDeviceKeyWord))
    return false;
  const std::size_t nameStart = line.size() - driverFileName.size();
  if (!EqualIgnoringCase(line.substr(nameStart), driverFileName))
    return false;
  // nameStart >= 7, so the character before the name exists.
  const char before = line[nameStart - 1];
  return before == '\\' || before == '=';
}

bool SystemIniFilter::Keep(std::string_view line) {
  line = TrimLineEnd(line);
  if (!line.empty() && line.front() == '[') {
    inDriverSection = false;
    if (line == kEnhSectionHeader)
      inDriverSection = true;
  }
  if (inDriverSection && line.size() <= kLongestJudgedLine && IsDeviceLineFor(line, driverFileName)) {
    found = true;
    return false;
  }
  return true;
}

namespace {

// Hands out the lines of a stream, each without its line feed.
class LineReader {
 public:
  explicit LineReader(std::FILE* in) : in(in) {}

  // False at the end of the input (or on a read error: see Failed). The
  // line's characters stay valid until the next call.
  bool Next(std::string_view& text) {
    line.Clear();
    bool any = false;
    for (;;) {
      if (position == end && !Fill())
        break;
      any = true;
      const char* start = buffer + position;
      const std::size_t available = end - position;
      const void* feed = std::memchr(start, '\n', available);
      if (feed == nullptr) {
        line.Append(start, available);
        position = end;
        continue;
      }
      const std::size_t count = static_cast<const char*>(feed) - start;
      line.Append(start, count);
      position += count + 1;
      break;
    }
    text = std::string_view(line.Data(), line.Size());
    return any;
  }

  bool Failed() const { return failed; }

 private:
  bool Fill() {
    position = 0;
    end = std::fread(buffer, 1, sizeof buffer, in);
    if (end == 0 && std::ferror(in))
      failed = true;
    return end != 0;
  }

  std::FILE* in;
  char buffer[kReadBufferSize];
  std::size_t position = 0;
  std::size_t end = 0;
  bool failed = false;
  GrowingText line;  // the line gathered so far
};

}  // namespace

SystemIniPassResult RewriteSystemIni(std::FILE* in, std::FILE* out, std::string_view driverFileName) {
  SystemIniPassResult result;
  SystemIniFilter filter(driverFileName);
  LineReader reader(in);
  std::string_view line;
  while (reader.Next(line)) {
    ++result.linesRead;
    if (!filter.Keep(line)) {
      ++result.linesDropped;
      continue;
    }
    const std::string_view kept = TrimLineEnd(line);
    if ((!kept.empty() && std::fwrite(kept.data(), 1, kept.size(), out) != kept.size()) ||
        std::fwrite("\r\n", 1, 2, out) != 2) {
      result.writeFailed = true;
      break;
    }
  }
  // A buffered write may fail only when the buffer goes to the file.
  if (!result.writeFailed && std::fflush(out) != 0)
    result.writeFailed = true;
  result.readFailed = reader.Failed();
  result.found = filter.Found();
  return result;
}
