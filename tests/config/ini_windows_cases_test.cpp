// Our INI layer reads every file of the shared table exactly as Windows'
// private profile functions read it.
#include <gtest/gtest.h>

#include "config/ini_profile.h"
#include "support/ini_cases.h"
#include "support/temp_dir.h"

TEST(IniWindowsCases, ReadsLikeThePrivateProfileFunctions) {
  TempDir dir;
  for (const auto& c : kIniReadCases) {
    dir.Write("case.ini", c.file);
    IniProfile ini(dir.File("case.ini"));
    EXPECT_EQ(ini.GetProfileString(c.section, c.key, "<def>"), c.str) << c.name;
    EXPECT_EQ(ini.GetProfileInt(c.section, c.key, 99), c.num) << c.name;
  }
}
