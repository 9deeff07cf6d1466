// The built Installer.exe's version resource, as Explorer's Properties
// show it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/WinTestSupport.h"

namespace {

TEST(InstallerFileTest, PropertiesNameTheProductAndItsVersion) {
  const std::string program = test::ProgramDir() + "\\Installer.exe";
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &unused);
  ASSERT_NE(0u, size);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));
  auto value = [&](const char* name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ||
        text == nullptr)
      return std::string("(missing)");
    return std::string(text);
  };
  EXPECT_EQ("Kestrin", value("ProductName"));
  EXPECT_EQ("1.01", value("ProductVersion"));
  EXPECT_EQ("1.01", value("FileVersion"));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(DWORD{MAKELONG(1, 1)}, fixed->dwFileVersionMS) << "1.01 as 1.1";
}

}  // namespace
