// The "system.ini" line filter and the driver path checks: portable, run
// natively under the sanitizers and on Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/DriverFileName.h"
#include "driver/SystemIniFilter.h"

namespace {

// --- the "device=" matcher ---------------------------------------------------------

struct MatchCase {
  const char* line;
  const char* driver;
  bool matches;
};

const MatchCase kMatchCases[] = {
    {"device=C:\\WINDOWS\\SYSTEM\\KESTRIN.VXD", "KESTRIN.VXD", true},
    {"device=kestrin.vxd", "KESTRIN.VXD", true},
    {"Device=C:\\WIN\\kestrin.vxd", "KESTRIN.VXD", true},
    {"DEVICE=KESTRIN.VXD", "kestrin.vxd", true},
    {"device=KESTRIN.VXD", "KESTRIN.VXD", true},
    {"device=XKESTRIN.VXD", "KESTRIN.VXD", false},  // another file ending in the same letters
    {"device=C:\\X\\XKESTRIN.VXD", "KESTRIN.VXD", false},
    {"device=C:/WIN/KESTRIN.VXD", "KESTRIN.VXD", false},  // only "\" or "=" before the name
    {"device=*vmm", "KESTRIN.VXD", false},
    {"device=OTHER.VXD", "KESTRIN.VXD", false},
    {"device =KESTRIN.VXD", "KESTRIN.VXD", false},  // key word exactly
    {" device=KESTRIN.VXD", "KESTRIN.VXD", false},
    {"device=KESTRIN.VXD ", "KESTRIN.VXD", false},  // the name must end the line
    {"device=KESTRIN.VX", "KESTRIN.VXD", false},
    {"devic=KESTRIN.VXD", "KESTRIN.VXD", false},
    {"KESTRIN.VXD", "KESTRIN.VXD", false},
    {"device=", "KESTRIN.VXD", false},
    {"", "KESTRIN.VXD", false},
    {"device=KESTRIN.VXD", "", false},  // an empty name matches nothing
    {"device=\\KT.386", "KT.386", true},
    {"device=KESTRIN.VXDdevice=KESTRIN.VXD", "KESTRIN.VXD", true},  // only the start and the end count
    {"device=a=KESTRIN.VXD", "KESTRIN.VXD", true},                  // "=" just before the name
};

TEST(DeviceLineMatch, FollowsTheRules) {
  for (const MatchCase& c : kMatchCases)
    EXPECT_EQ(c.matches, IsDeviceLineFor(c.line, c.driver))
        << "line \"" << c.line << "\", driver \"" << c.driver << "\"";
}

TEST(DeviceLineMatch, ComparesLettersOnlyWithoutRegardToCase) {
  // Windows-1251 letters are not folded: the comparison is the same in
  // every locale.
  EXPECT_FALSE(IsDeviceLineFor("device=\xC0.VXD", "\xE0.VXD"));
  EXPECT_TRUE(IsDeviceLineFor("device=\xC0.VXD", "\xC0.vxd"));
}

TEST(LineEnd, EveryCarriageReturnAndLineFeedIsCut) {
  EXPECT_EQ("abc", TrimLineEnd("abc\r\n"));
  EXPECT_EQ("abc", TrimLineEnd("abc\r\r\n\n\r"));
  EXPECT_EQ("a\rb", TrimLineEnd("a\rb\n"));
  EXPECT_EQ("", TrimLineEnd("\r\n"));
  EXPECT_EQ("", TrimLineEnd(""));
}

// --- section tracking --------------------------------------------------------------

TEST(SystemIniFilter, DropsMatchingLinesInTheDriverSectionOnly) {
  SystemIniFilter filter("KESTRIN.VXD");
  EXPECT_TRUE(filter.Keep("device=KESTRIN.VXD"));  // before any section
  EXPECT_TRUE(filter.Keep("[boot]"));
  EXPECT_TRUE(filter.Keep("device=KESTRIN.VXD"));
  EXPECT_FALSE(filter.Found());
  EXPECT_TRUE(filter.Keep("[386Enh]"));
  EXPECT_TRUE(filter.InDriverSection());
  EXPECT_TRUE(filter.Keep("device=*vmm"));
  EXPECT_FALSE(filter.Keep("device=C:\\WINDOWS\\KESTRIN.VXD\r\n"));
  EXPECT_TRUE(filter.Found());
  EXPECT_TRUE(filter.Keep("; a comment"));
  EXPECT_TRUE(filter.Keep(""));
  EXPECT_FALSE(filter.Keep("Device=kestrin.vxd"));
  EXPECT_TRUE(filter.Keep("[drivers]"));
  EXPECT_FALSE(filter.InDriverSection());
  EXPECT_TRUE(filter.Keep("device=KESTRIN.VXD"));
}

TEST(SystemIniFilter, TheSectionHeaderMustMatchExactly) {
  for (const char* header : {"[386enh]", "[386Enh] ", " [386Enh]", "[386Enh", "[386ENH]", "[386Enh];x"}) {
    SystemIniFilter filter("KESTRIN.VXD");
    filter.Keep(header);
    EXPECT_TRUE(filter.Keep("device=KESTRIN.VXD")) << header;
    EXPECT_FALSE(filter.Found()) << header;
  }
  SystemIniFilter filter("KESTRIN.VXD");
  filter.Keep("[386Enh]\r\n");  // the line end is not part of the header
  EXPECT_FALSE(filter.Keep("device=KESTRIN.VXD"));
}

TEST(SystemIniFilter, ASecondDriverSectionCountsToo) {
  SystemIniFilter filter("KT.386");
  filter.Keep("[386Enh]");
  EXPECT_FALSE(filter.Keep("device=KT.386"));
  filter.Keep("[other]");
  EXPECT_TRUE(filter.Keep("device=KT.386"));
  filter.Keep("[386Enh]");
  EXPECT_FALSE(filter.Keep("device=c:\\kt.386"));
}

// --- the file pass -------------------------------------------------------------------

struct PassOutcome {
  SystemIniPassResult result;
  std::string text;
};

PassOutcome Pass(const std::string& input, const char* driver) {
  PassOutcome outcome;
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  EXPECT_NE(nullptr, in);
  EXPECT_NE(nullptr, out);
  if (in == nullptr || out == nullptr)
    return outcome;
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  outcome.result = RewriteSystemIni(in, out, driver);
  std::rewind(out);
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, out)) > 0)
    outcome.text.append(chunk, n);
  std::fclose(in);
  std::fclose(out);
  return outcome;
}

TEST(SystemIniPass, RemovesBothMatchingLinesAndKeepsTheRestInOrder) {
  const std::string input =
      "[boot]\r\nshell=Explorer.exe\r\n"
      "[386Enh]\r\n"
      "device=*vmm\r\n"
      "device=C:\\WINDOWS\\SYSTEM\\KESTRIN.VXD\r\n"
      "  keep=  spaces  \r\n"
      "device=XKESTRIN.VXD\r\n"
      "Device=C:\\WIN\\kestrin.vxd\r\n"
      "[386enh]\r\ndevice=KESTRIN.VXD\r\n"
      "[386Enh] \r\ndevice=KESTRIN.VXD\r\n";
  const PassOutcome o = Pass(input, "KESTRIN.VXD");
  EXPECT_TRUE(o.result.found);
  EXPECT_FALSE(o.result.writeFailed);
  EXPECT_TRUE(o.result.ShouldReplace());
  EXPECT_EQ(2u, o.result.linesDropped);
  EXPECT_EQ(
      "[boot]\r\nshell=Explorer.exe\r\n"
      "[386Enh]\r\n"
      "device=*vmm\r\n"
      "  keep=  spaces  \r\n"
      "device=XKESTRIN.VXD\r\n"
      "[386enh]\r\ndevice=KESTRIN.VXD\r\n"
      "[386Enh] \r\ndevice=KESTRIN.VXD\r\n",
      o.text);
}

TEST(SystemIniPass, WritesCrLfLineEndsAlsoOnALastLineWithoutOne) {
  const PassOutcome o = Pass("[386Enh]\ndevice=KT.386\nx=1\r\r\n\ny", "KT.386");
  EXPECT_TRUE(o.result.found);
  EXPECT_EQ("[386Enh]\r\nx=1\r\n\r\ny\r\n", o.text);
}

TEST(SystemIniPass, NothingToDropIsNotFound) {
  const PassOutcome o = Pass("[386Enh]\r\ndevice=OTHER.VXD\r\n", "KESTRIN.VXD");
  EXPECT_FALSE(o.result.found);
  EXPECT_FALSE(o.result.ShouldReplace());
  EXPECT_EQ("[386Enh]\r\ndevice=OTHER.VXD\r\n", o.text);
}

TEST(SystemIniPass, AnEmptyFileHasNoLines) {
  const PassOutcome o = Pass("", "KESTRIN.VXD");
  EXPECT_EQ(0u, o.result.linesRead);
  EXPECT_EQ("", o.text);
}

TEST(SystemIniPass, ALineLongerThanTheReadBufferReachesTheNewFileWhole) {
  // Its second piece, read on its own, would look like a driver line.
  const std::string padding(1021, 'p');
  const std::string longLine = padding + "device=C:\\KESTRIN.VXD";
  const std::string huge(10000, 'h');
  const std::string input = "[386Enh]\r\n" + longLine + "\r\n" + huge + "\r\ndevice=KESTRIN.VXD\r\n";
  const PassOutcome o = Pass(input, "KESTRIN.VXD");
  EXPECT_EQ(4u, o.result.linesRead);
  EXPECT_EQ(1u, o.result.linesDropped);
  EXPECT_EQ("[386Enh]\r\n" + longLine + "\r\n" + huge + "\r\n", o.text);
}

TEST(SystemIniPass, OnlyLinesOneReadCanHoldAreJudged) {
  // At the limit the driver line goes; one character longer, it stays as
  // it is, and with nothing dropped the file is not replaced.
  const std::string name = "\\KESTRIN.VXD";
  const std::string atLimit = "device=" + std::string(1021 - 7 - name.size(), 'd') + name;
  ASSERT_EQ(atLimit.size(), 1021u);
  PassOutcome o = Pass("[386Enh]\r\n" + atLimit + "\r\nlast\r\n", "KESTRIN.VXD");
  EXPECT_TRUE(o.result.found);
  EXPECT_EQ("[386Enh]\r\nlast\r\n", o.text);

  const std::string longer = "device=" + std::string(3000, 'd') + name;
  o = Pass("[386Enh]\r\n" + longer + "\r\nlast\r\n", "KESTRIN.VXD");
  EXPECT_FALSE(o.result.found);
  EXPECT_EQ("[386Enh]\r\n" + longer + "\r\nlast\r\n", o.text);
}

TEST(SystemIniPass, LinesEndingAtEveryBufferBoundaryStayWhole) {
  // Line lengths around the 1,024-byte reads: a line end may fall on either
  // side of a boundary.
  std::string input = "[386Enh]\r\n";
  std::string expected = input;
  for (int length = 1015; length < 1035; ++length) {
    const std::string line(length, static_cast<char>('a' + length % 26));
    input += line + "\n";
    expected += line + "\r\n";
    input += "device=KESTRIN.VXD\r\n";
  }
  const PassOutcome o = Pass(input, "KESTRIN.VXD");
  EXPECT_EQ(20u, o.result.linesDropped);
  EXPECT_EQ(expected, o.text);
}

TEST(SystemIniPass, ZeroBytesInALineAreKept) {
  const std::string line("a\0b", 3);
  const PassOutcome o = Pass("[386Enh]\n" + line + "\ndevice=KESTRIN.VXD\n", "KESTRIN.VXD");
  EXPECT_EQ("[386Enh]\r\n" + line + "\r\n", o.text);
}

// --- the driver path checks ----------------------------------------------------------

TEST(DriverNames, DerivesTheFileNameAndTheKeyName) {
  DriverNames names;
  ASSERT_TRUE(DeriveDriverNames("C:\\PROGRA~1\\KESTRIN\\KESTRIN.VXD", names));
  EXPECT_STREQ("KESTRIN.VXD", names.fileName);
  EXPECT_STREQ("KESTRIN", names.keyName);
  ASSERT_TRUE(DeriveDriverNames("C:\\x\\kestrin.VXD", names));
  EXPECT_STREQ("kestrin", names.keyName);
  ASSERT_TRUE(DeriveDriverNames("KT.386", names));  // no backslash: the whole path
  EXPECT_STREQ("KT.386", names.fileName);
  EXPECT_STREQ("KT", names.keyName);
  ASSERT_TRUE(DeriveDriverNames("C:\\a\\ABCDEFGH.vXd", names));  // 12 characters
  EXPECT_STREQ("ABCDEFGH", names.keyName);
}

TEST(DriverNames, RejectsNamesThatAreNotEightThreeDriverFiles) {
  DriverNames names;
  for (const char* path :
       {".vxd", "a.vx", "", "C:\\x\\kt.sys", "C:\\x\\kt.vx", "C:\\x\\kt.VXDx", "C:\\x\\kt.386 ",
        "C:\\x\\ABCDEFGHI.VXD", "C:\\x\\ABCDEFGHIJKL.386", "C:\\x\\.vxd", "C:\\x\\kt.386X"}) {
    EXPECT_FALSE(DeriveDriverNames(path, names)) << path;
  }
  EXPECT_FALSE(DeriveDriverNames(nullptr, names));
  EXPECT_FALSE(DeriveDriverNames("C:\\LONGFOLDERNAME\\kt", names));
}

}  // namespace
