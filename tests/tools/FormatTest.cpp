// The format engine: the library's own conversions and placing rules, the
// hand-over to the runtime, the field limit and malformed formats.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/Format.h"
#include "tools/FormatIntoBuffer.h"

namespace {

struct Case {
  const char* label;
  SharedString actual;
  const char* expected;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases)
    EXPECT_STREQ(c.expected, c.actual.c_str()) << "case " << c.label;
}

// What the runtime the engine hands conversions to prints for one.
template <typename... Args>
std::string Runtime(const char* format, Args... args) {
  char buffer[2048];
  FormatIntoBuffer(buffer, sizeof buffer, format, args...);
  return buffer;
}

const int64_t kAllBits = -1;
const unsigned char kMac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

TEST(FormatTest, OwnConversions) {
  ExpectAll({
      {"%5s|%-5s|", MakeFormatted("%5s|%-5s|", "ab", "cd"), "   ab|cd   |"},
      {"%.2s", MakeFormatted("%.2s", "abcdef"), "ab"},
      {"%3s", MakeFormatted("%3s", "abcdef"), "abcdef"},
      {"%-8.3s|", MakeFormatted("%-8.3s|", "abcdef"), "abc     |"},
      {"%s null", MakeFormatted("[%s]", static_cast<const char*>(nullptr)), "[(null)]"},
      {"%hs %ls %Fs %Ns", MakeFormatted("%hs %ls %Fs %Ns", "a", "b", "c", "d"), "a b c d"},
      {"%*s", MakeFormatted("%*s|", 4, "ab"), "  ab|"},
      {"%*s negative", MakeFormatted("%*s|", -4, "ab"), "ab|"},
      {"%.*s", MakeFormatted("%.*s|%.*s", 1, "ab", -1, "cd"), "a|cd"},
      {"%.s", MakeFormatted("%.s|", "ab"), "ab|"},
      {"%c", MakeFormatted("%c%3c|%-3c|", 'A' + 256, 'b', 'c'), "A  b|c  |"},
      {"%c zero", MakeFormatted("[%c]", 0), "[]"},
      {"%,D", MakeFormatted("%,D", 1234567LL), "1,234,567"},
      {"%,D negative", MakeFormatted("%,D", -1234567LL), "-1,234,567"},
      {"%,D six digits", MakeFormatted("%,D", -123456LL), "-123,456"},
      {"%,D short", MakeFormatted("%,D|%,D", 999LL, 0LL), "999|0"},
      {"%D all bits", MakeFormatted("%D", kAllBits), "-1"},
      {"%_D all bits", MakeFormatted("%_D", kAllBits), "18446744073709551615"},
      {"%_,D all bits", MakeFormatted("%_,D", kAllBits), "18,446,744,073,709,551,615"},
      {"%D min", MakeFormatted("%D", static_cast<long long>(INT64_MIN)), "-9223372036854775808"},
      {"%,D min", MakeFormatted("%,D", static_cast<long long>(INT64_MIN)), "-9,223,372,036,854,775,808"},
      {"%D max", MakeFormatted("%D", static_cast<long long>(INT64_MAX)), "9223372036854775807"},
      {"%10D", MakeFormatted("%10D", 42LL), "        42"},
      {"%-6D", MakeFormatted("%-6D|", 42LL), "42    |"},
      {"%.1D", MakeFormatted("%.1D", 42LL), "4"},
      {"%D then %d", MakeFormatted("%D %d", 5000000000LL, 7), "5000000000 7"},
      {"%I", MakeFormatted("%I", 0xC0A80001u), "192.168.0.1"},
      {"%I ends", MakeFormatted("%I %I", 0u, 0xFFFFFFFFu), "0.0.0.0 255.255.255.255"},
      {"%16I", MakeFormatted("%16I|", 0x0A000001u), "        10.0.0.1|"},
      {"%M", MakeFormatted("%M", kMac), "00:1a:2b:3c:4d:5e"},
      {"%:", MakeFormatted("%:", kMac), "00:1a:2b:3c:4d:5e"},
      {"%M null", MakeFormatted("%M", static_cast<const unsigned char*>(nullptr)), "(null)"},
      {"%.8M", MakeFormatted("%.8M", kMac), "00:1a:2b"},
  });
}

TEST(FormatTest, LiteralsPercentAndMalformedEnds) {
  ExpectAll({
      {"%%", MakeFormatted("100%% sure, %d%%", 5), "100% sure, 5%"},
      {"plain", MakeFormatted("no conversions"), "no conversions"},
      {"empty", MakeFormatted(""), ""},
      {"% at end", MakeFormatted("abc%"), "abc"},
      {"%-5 at end", MakeFormatted("abc%-5"), "abc"},
      {"%.* at end", MakeFormatted("abc%.*"), "abc"},
      {"%n writes nothing", MakeFormatted("a%nb%d", 123, 7), "ab7"},
      {"unknown", MakeFormatted("%y|%d", 1, 2), "%y|2"},
      {"%S not read as wide", MakeFormatted("%S|%d", 1, 2), "%S|2"},
  });
  SharedString nullFormat("old");
  EXPECT_STREQ("", FormatText(nullFormat, nullptr).c_str());
}

TEST(FormatTest, FloatingRoundsToSinglePrecisionWithoutSizeLetter) {
  ExpectAll({
      {"%.10f", MakeFormatted("%.10f", 0.1), "0.1000000015"},
      {"%.10lf", MakeFormatted("%.10lf", 0.1), "0.1000000000"},
      {"%.10Lf", MakeFormatted("%.10Lf", 0.1), "0.1000000000"},
      {"%8.3f", MakeFormatted("%8.3f|%-8.2f|", 3.14159, 2.5), "   3.142|2.50    |"},
      {"%*.*f", MakeFormatted("%*.*f|", 7, 2, 1.005), "   1.00|"},
      {"%.f", MakeFormatted("%.f", 2.0), "2"},
  });
  // msvcrt.dll writes three exponent digits at least and infinity as
  // "1.#INF"; C99 runtimes two digits and "inf".
#ifdef _WIN32
  EXPECT_STREQ("1.234568e+004", MakeFormatted("%e", 12345.678).c_str());
  EXPECT_STREQ("1.#INF", MakeFormatted("%g", 1e300).c_str());
#else
  EXPECT_STREQ("1.234568e+04", MakeFormatted("%e", 12345.678).c_str());
  EXPECT_STREQ("inf", MakeFormatted("%g", 1e300).c_str());
#endif
  EXPECT_EQ(Runtime("%.3lE", 1e-300), MakeFormatted("%.3lE", 1e-300).c_str());
}

TEST(FormatTest, IntegersReadOne32BitValue) {
  ExpectAll({
      {"%d", MakeFormatted("%d|%i|%u", INT_MIN, -7, 4000000000u), "-2147483648|-7|4000000000"},
      {"%5d|%-5d|%05d", MakeFormatted("%5d|%-5d|%05d|%-05d|", -42, -42, -42, 42), "  -42|-42  |-0042|42   |"},
      {"%x", MakeFormatted("%x|%X|%08X|%2x", -1, 0xBEEF, 0xBEEF, 0xABC), "ffffffff|BEEF|0000BEEF|abc"},
      {"%*d", MakeFormatted("%*d|%*d|", 4, 7, -4, 7), "   7|7   |"},
      {"%+d % d", MakeFormatted("%+d|% d|%+5d", 5, 5, -5), "+5| 5|   -5"},
      {"%.3d", MakeFormatted("%.3d|%.0d|%8.3d", 5, 0, -5), "005||    -005"},
      {"%o", MakeFormatted("%o|%5o", 8, 8), "10|   10"},
      {"%hd %hx", MakeFormatted("%hd|%hx", 70000, 70000), "4464|1170"},
      // A 32-bit value widened the way each size letter reads it.
      {"%ld %lx", MakeFormatted("%ld|%lx|%lu", -5, -1, 4000000000u), "-5|ffffffff|4000000000"},
      {"%Ld %Lx", MakeFormatted("%Ld|%Lx", -5, -1), "-5|ffffffff"},
      {"%Fd %Nd", MakeFormatted("%Fd|%Nd", 3, 4), "3|4"},
      {"mixed", MakeFormatted("Driver %s version %d.%02d Build %d is active now.", "Kestrin", 1, 5, 42),
       "Driver Kestrin version 1.05 Build 42 is active now."},
  });
  EXPECT_EQ(Runtime("%p", reinterpret_cast<void*>(static_cast<uintptr_t>(0x1234))),
            MakeFormatted("%p", 0x1234).c_str());
}

TEST(FormatTest, FieldsNeverExceed1024Characters) {
  // A width above the limit counts as the limit; the text still shows.
  EXPECT_EQ(std::string(1023, ' ') + "x", MakeFormatted("%2000s", "x").c_str());
  EXPECT_EQ(std::string(1024, 'y'), MakeFormatted("%s", std::string(3000, 'y').c_str()).c_str());
  EXPECT_EQ(std::string(1024, ' '), MakeFormatted("%2000d", 7).c_str());
  EXPECT_EQ("7" + std::string(1023, ' '), MakeFormatted("%-2000d", 7).c_str());
  EXPECT_EQ("-" + std::string(1023, '0'), MakeFormatted("%02000d", -7).c_str());
  EXPECT_EQ("1." + std::string(1022, '0'), MakeFormatted("%.3000lf", 1.0).c_str());
  EXPECT_EQ(std::string(1024, ' '), MakeFormatted("%99999999999999f", 1.0).c_str());
  EXPECT_EQ("5" + std::string(1023, ' '), MakeFormatted("%*d", INT_MIN, 5).c_str());
  EXPECT_EQ(std::string(1023, ' ') + "1|", MakeFormatted("%*D|", INT_MAX, 1LL).c_str());
  // A negative precision from "*" counts as none.
  EXPECT_STREQ("1.500000", MakeFormatted("%.*lf", INT_MIN, 1.5).c_str());
}

TEST(FormatTest, LongResultsAndReplacement) {
  // Far beyond any local buffer: the result must grow intact.
  const std::string piece(1000, 'q');
  std::string expected;
  SharedString text("old text");
  const char* old = text.c_str();
  FormatText(text, "%s%s%s%s%s%s%s%s|%d", piece.c_str(), piece.c_str(), piece.c_str(), piece.c_str(),
             piece.c_str(), piece.c_str(), piece.c_str(), piece.c_str(), 9);
  for (int i = 0; i < 8; ++i)
    expected += piece;
  expected += "|9";
  EXPECT_EQ(expected, text.c_str());
  EXPECT_EQ(static_cast<int32_t>(expected.size()), text.Length());
  EXPECT_NE(old, text.c_str());

  SharedString& same = FormatText(text, "%d", 1);
  EXPECT_EQ(&text, &same);
  // The target's own text as an argument is read before it is replaced.
  FormatText(text, "[%s|%s]", text.c_str(), text.c_str());
  EXPECT_STREQ("[1|1]", text.c_str());
}

}  // namespace
