// The XTOOMsg holders: arming and throwing, the catch relations of thrown
// copies, the status-code table and the three text forms.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tools/XTOOMsg.h"

namespace {

std::string Sys(int errnoValue) { return std::strerror(errnoValue); }

TEST(StatusCodesTest, TableTextsAndLookup) {
  EXPECT_STREQ("There is no error", FindStatusText(0));
  EXPECT_STREQ("Error while  get file size", FindStatusText(45));
  EXPECT_STREQ("Error while coping  file.", FindStatusText(64));
  EXPECT_STREQ("The random number has repeted.", FindStatusText(40));
  EXPECT_STREQ("Can't seting working directory", FindStatusText(60));
  EXPECT_STREQ("Function not implemented in some case (e_INVALID_IMPLEMENTATION)", FindStatusText(117));
  EXPECT_STREQ("e_GET_DISK_FREE_OR_TOTAL", FindStatusText(126));
  EXPECT_STREQ("File format error: size of fields' records mismatch", FindStatusText(402));
  EXPECT_EQ(nullptr, FindStatusText(7));
  EXPECT_EQ(nullptr, FindStatusText(-1));

  // 49 rows in ascending order, closed by (-1, no text).
  int rows = 0;
  for (const StatusCodeEntry* row = kStatusCodeTable; row->text != nullptr; ++row, ++rows) {
    if (rows > 0) {
      EXPECT_LT(row[-1].code, row->code);
    }
  }
  EXPECT_EQ(49, rows);
  EXPECT_EQ(-1, kStatusCodeTable[rows].code);
}

TEST(XTOOStatusTest, TextWithAndWithoutTableRow) {
  EXPECT_STREQ("Status = 4 (The specified file not found)", XTOOStatus(4, false).GetText().c_str());
  EXPECT_STREQ("Status = 7", XTOOStatus(7, false).GetText().c_str());
  EXPECT_STREQ("Status = 0 (There is no error)", XTOOStatus(0, false).GetText().c_str());
}

TEST(XTOOFileTest, ThreeTextForms) {
  XTOOFile file(false);
  file.SetText("C:\\dir\\a.txt");

  file.SetStatusAndErrno(0, 0);
  EXPECT_EQ("Error 0 (" + Sys(0) + "), File name is \"C:\\dir\\a.txt\"", file.GetText().c_str());

  file.SetErrno(13);
  EXPECT_EQ("Error 13 (" + Sys(13) + "), File name is \"C:\\dir\\a.txt\"", file.GetText().c_str());

  file.SetStatusAndErrno(4, 2);
  EXPECT_EQ(
      "Error 2 (" + Sys(2) + "), File name is \"C:\\dir\\a.txt\", Status = 4 (The specified file not found)",
      file.GetText().c_str());

  file.SetStatusAndErrno(43, 0);
  EXPECT_STREQ("File name is \"C:\\dir\\a.txt\", Status = 43 (Error while deleting file)",
               file.GetText().c_str());

  file.SetStatusAndErrno(7, 0);
  EXPECT_STREQ("File name is \"C:\\dir\\a.txt\", Status = 7", file.GetText().c_str());
}

TEST(XTOOFileTest, UnarmedHolderKeepsBothCodes) {
  XTOOFile file(false);
  EXPECT_FALSE(file.IsError());
  file.SetStatusAndErrno(43, 13);
  EXPECT_TRUE(file.IsError());
  EXPECT_EQ(43, file.GetStatus());
  EXPECT_EQ(13, file.GetErrno());
  file.Clear();
  EXPECT_FALSE(file.IsError());
  EXPECT_EQ(0, file.GetStatus());
  EXPECT_EQ(0, file.GetErrno());
}

TEST(XTOOFileTest, ArmedHolderThrowsOnceWithBothCodes) {
  struct {
    int status, errnoValue;
    bool throws;
  } const cases[] = {{43, 13, true}, {43, 0, true}, {0, 13, true}, {0, 0, false}};
  for (const auto& c : cases) {
    XTOOFile file(true);
    file.SetText("x.dat");
    int thrown = 0;
    try {
      file.SetStatusAndErrno(c.status, c.errnoValue);
    } catch (const XTOOFile& caught) {
      ++thrown;
      EXPECT_EQ(c.status, caught.GetStatus());
      EXPECT_EQ(c.errnoValue, caught.GetErrno());
      EXPECT_STREQ("x.dat", caught.Text().c_str());
    }
    EXPECT_EQ(c.throws ? 1 : 0, thrown) << c.status << "/" << c.errnoValue;
    // The recording object keeps its state.
    EXPECT_EQ(c.status, file.GetStatus());
    EXPECT_EQ(c.errnoValue, file.GetErrno());
  }
}

TEST(XTOOStatusTest, ArmingAndIsError) {
  XTOOStatus armed(0, true);
  EXPECT_NO_THROW(armed.SetStatus(0));
  EXPECT_THROW(armed.SetStatus(5), XTOOStatus);
  EXPECT_EQ(5, armed.GetStatus());

  XTOOStatus unarmed(0, false);
  EXPECT_NO_THROW(unarmed.SetStatus(5));
  EXPECT_NO_THROW(unarmed.ThrowIfArmed());

  // Each class answers IsError from its own codes.
  XTOOErrnoOld errnoOnly(0, false);
  errnoOnly.SetStatus(5);
  EXPECT_FALSE(errnoOnly.IsError());
  errnoOnly.SetErrno(2);
  EXPECT_TRUE(errnoOnly.IsError());
  errnoOnly.Clear();
  EXPECT_EQ(5, errnoOnly.GetStatus());
  EXPECT_FALSE(errnoOnly.IsError());

  EXPECT_NO_THROW(CheckImplementation(1));
  try {
    CheckImplementation(0);
    FAIL() << "no exception";
  } catch (const XTOOStatus& caught) {
    EXPECT_EQ(117, caught.GetStatus());
    EXPECT_TRUE(caught.throwOnError);
  }
}

// Which of the five classes catch a holder thrown through Throw().
template <typename Catch>
bool CaughtAs(const XTOOMsg& holder) {
  try {
    try {
      holder.Throw();
    } catch (const Catch&) {
      return true;
    }
  } catch (...) {
  }
  return false;
}

std::string CatchPattern(const XTOOMsg& holder) {
  std::string pattern;
  pattern += CaughtAs<XTOOFile>(holder) ? 'F' : '-';
  pattern += CaughtAs<XTOOErrnoOld>(holder) ? 'E' : '-';
  pattern += CaughtAs<XTOOStatus>(holder) ? 'S' : '-';
  pattern += CaughtAs<XTOOMsg>(holder) ? 'M' : '-';
  pattern += CaughtAs<XTOOBaseMsg>(holder) ? 'B' : '-';
  return pattern;
}

TEST(XTOOMsgTest, CatchRelationsOfThrownCopies) {
  EXPECT_EQ("FESMB", CatchPattern(XTOOFile(true)));
  EXPECT_EQ("-ESMB", CatchPattern(XTOOErrnoOld(1, true)));
  EXPECT_EQ("--SMB", CatchPattern(XTOOStatus(1, true)));
}

TEST(XTOOMsgTest, CopiesShareTheText) {
  XTOOFile original(false);
  original.SetText("shared.txt");
  original.SetStatusAndErrno(5, 9);
  XTOOFile copy(original);
  EXPECT_EQ(original.Text().c_str(), copy.Text().c_str());
  EXPECT_EQ(5, copy.GetStatus());
  EXPECT_EQ(9, copy.GetErrno());
  XTOOMsg& asBase = copy;
  EXPECT_EQ(original.GetText(), asBase.GetText());
}

}  // namespace
