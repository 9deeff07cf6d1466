// libFuzzer target: the "system.ini" file pass over random file contents,
// checked against a plain restatement of the filter's rules. Every kept line
// must come out unchanged (less its trailing CR/LF, plus "\r\n"), and only
// "device=" lines for the driver inside "[386Enh]", of at most 1,021
// characters, may be dropped.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/SystemIniFilter.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + ('a' - 'A'));
  return text;
}

// The rules, written out again as plainly as possible.
bool Loads(const std::string& line, const std::string& driver) {
  if (driver.empty() || line.size() < 7 + driver.size())
    return false;
  if (Lower(line.substr(0, 7)) != "device=")
    return false;
  if (Lower(line.substr(line.size() - driver.size())) != Lower(driver))
    return false;
  const char before = line[line.size() - driver.size() - 1];
  return before == '\\' || before == '=';
}

std::string Expected(const std::string& file, const std::string& driver, std::size_t* dropped) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < file.size()) {
    std::size_t feed = file.find('\n', start);
    if (feed == std::string::npos)
      feed = file.size();
    lines.push_back(file.substr(start, feed - start));
    start = feed + 1;
  }
  std::string out;
  bool inSection = false;
  *dropped = 0;
  for (std::string line : lines) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
      line.pop_back();
    if (!line.empty() && line[0] == '[')
      inSection = line == "[386Enh]";
    if (inSection && line.size() <= 1021 && Loads(line, driver)) {
      ++*dropped;
      continue;
    }
    out += line + "\r\n";
  }
  return out;
}

const char* const kDrivers[] = {"KESTRIN.VXD", "KT.386", "A.VXD"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  // The first byte chooses the driver: one of the usual names, or a name of
  // up to 12 bytes taken from the input.
  std::string driver;
  std::size_t used = 1;
  const unsigned choice = data[0] % 4;
  if (choice < 3) {
    driver = kDrivers[choice];
  } else if (size > 1) {
    const std::size_t length = data[1] % 13;
    used = 2 + length < size ? 2 + length : size;
    driver.assign(reinterpret_cast<const char*>(data + 2), used - 2);
  }
  const std::string file(reinterpret_cast<const char*>(data + used), size - used);

  char* outText = nullptr;
  std::size_t outSize = 0;
  std::FILE* out = open_memstream(&outText, &outSize);
  // fmemopen refuses an empty buffer: an empty file is a file that ends at once.
  std::FILE* in = file.empty() ? std::fopen("/dev/null", "rb")
                               : fmemopen(const_cast<char*>(file.data()), file.size(), "rb");
  if (in == nullptr || out == nullptr)
    std::abort();
  const SystemIniPassResult result = RewriteSystemIni(in, out, driver);
  std::fclose(in);
  std::fclose(out);
  const std::string actual(outText, outSize);
  std::free(outText);

  std::size_t dropped = 0;
  const std::string expected = Expected(file, driver, &dropped);
  if (actual != expected || result.linesDropped != dropped || result.found != (dropped > 0) ||
      result.writeFailed || result.readFailed) {
    std::fprintf(
        stderr, "mismatch: driver \"%s\", %zu bytes in, %zu out (expected %zu), dropped %zu (expected %zu)\n",
        driver.c_str(), file.size(), actual.size(), expected.size(), result.linesDropped, dropped);
    std::abort();
  }
  return 0;
}
