// How a document path becomes the folder the tools run in and the name they
// receive.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>

#include "core/mirvan_dlg.h"
#include "support/fakes.h"
#include "text/mbcs.h"

namespace {

struct SplitCase {
  const char* path;
  const char* dir;
  const char* name;
};

// Test names show the path in characters a test runner's name parser
// takes as they are: '\\' as '/', blanks as '_', other bytes as xNN.
void PrintTo(const SplitCase& c, std::ostream* os) {
  if (!*c.path) *os << "empty";
  for (const char* p = c.path; *p; ++p) {
    const unsigned char b = static_cast<unsigned char>(*p);
    if (std::isalnum(b) || b == '.' || b == '/' || b == ':' || b == '-') {
      *os << *p;
    } else if (b == '\\') {
      *os << '/';
    } else if (b == ' ') {
      *os << '_';
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "x%02X", b);
      *os << hex;
    }
  }
}

class SplitPathTest : public ::testing::TestWithParam<SplitCase> {
 protected:
  MemoryProfile profile;
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
};

TEST_P(SplitPathTest, FolderAndName) {
  const SplitCase& c = GetParam();
  // Leftovers of an earlier document must not survive a split.
  dlg.m_strDir = "stale\\";
  dlg.m_strName = "stale";
  dlg.SplitPath(c.path);
  EXPECT_EQ(dlg.m_strDir, c.dir) << c.path;
  EXPECT_EQ(dlg.m_strName, c.name) << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitPathTest,
    ::testing::Values(
        SplitCase{"/home/u/paper.tex", "/home/u/", "paper"},
        SplitCase{"C:\\work\\paper.tex", "C:\\work\\", "paper"},
        SplitCase{"C:\\work\\sub\\paper.TEX", "C:\\work\\sub\\", "paper"},
        SplitCase{"C:a.tex", "C:", "a"},
        SplitCase{"C:\\a.tex", "C:\\", "a"},
        SplitCase{"paper.tex", "", "paper"},
        SplitCase{"paper", "", "paper"},
        SplitCase{"", "", ""},
        SplitCase{"/home/u/v1.2/paper.tex", "/home/u/v1.2/", "paper"},
        SplitCase{"C:\\my.docs\\paper", "C:\\my.docs\\", "paper"},
        SplitCase{"/home/u/a.b.tex", "/home/u/", "a.b"},
        SplitCase{"/home/u/.latexmkrc", "/home/u/", ""},
        SplitCase{"/home/u/my paper/a b.tex", "/home/u/my paper/", "a b"},
        SplitCase{"C:\\Documents and Settings\\x y.tex", "C:\\Documents and Settings\\", "x y"},
        SplitCase{"C:/mixed\\seps/x.tex", "C:/mixed\\seps/", "x"},
        // A quoted command line stays unparsed: the quotes travel along.
        SplitCase{"\"C:\\work\\paper.tex\"", "\"C:\\work\\", "paper"},
        SplitCase{"C:\\work\\", "C:\\work\\", ""}),
    [](const ::testing::TestParamInfo<SplitCase>& i) { return CaseName(i.index, ::testing::PrintToString(i.param)); });

// CP932 names whose second byte is 0x5C ('\\'): 表 = 95 5C, ソ = 83 5C.
class SplitPathCp932Test : public ::testing::TestWithParam<SplitCase> {
 protected:
  void SetUp() override {
    saved_ = mbcs::SystemCodePage();
    mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  }
  void TearDown() override { mbcs::SetSystemCodePage(saved_); }

  mbcs::CodePage saved_ = mbcs::CodePage::Utf8;
  MemoryProfile profile;
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
};

TEST_P(SplitPathCp932Test, TrailBytesAreNotSeparators) {
  const SplitCase& c = GetParam();
  dlg.SplitPath(c.path);
  EXPECT_EQ(dlg.m_strDir, c.dir);
  EXPECT_EQ(dlg.m_strName, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SplitPathCp932Test,
    ::testing::Values(
        // C:\表\ソ.tex
        SplitCase{"C:\\\x95\x5C\\\x83\x5C.tex", "C:\\\x95\x5C\\", "\x83\x5C"},
        // C:\work\表.tex: the name ends in a trail byte 0x5C
        SplitCase{"C:\\work\\\x95\x5C.tex", "C:\\work\\", "\x95\x5C"},
        // 表ソ.tex without folder
        SplitCase{"\x95\x5C\x83\x5C.tex", "", "\x95\x5C\x83\x5C"},
        // C:\ソフト\表 (a folder name ending in 表, no extension)
        SplitCase{"C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C", "C:\\\x83\x5C\x83\x74\x83\x67\\", "\x95\x5C"},
        // D:\表.dir\a.tex: a dot in a folder after a double-byte name
        SplitCase{"D:\\\x95\x5C.dir\\a.tex", "D:\\\x95\x5C.dir\\", "a"}),
    [](const ::testing::TestParamInfo<SplitCase>& i) { return CaseName(i.index, ::testing::PrintToString(i.param)); });

}  // namespace
