// How a document path becomes the folder the tools run in and the name they
// receive.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>

#include "support/document_rig.h"
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

class SplitPathTest : public ::testing::TestWithParam<SplitCase>, public DocumentOn<> {
 protected:
};

TEST_P(SplitPathTest, FolderAndName) {
  const SplitCase& c = GetParam();
  // Leftovers of an earlier document must not survive a split.
  doc.SetFile("stale\\stale.tex");
  doc.SetFile(c.path);
  EXPECT_EQ(doc.Dir(), c.dir) << c.path;
  EXPECT_EQ(doc.Name(), c.name) << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitPathTest,
    ::testing::Values(
        SplitCase{"/home/u/paper.tex", "/home/u/", "paper"},
        SplitCase{"C:\\work\\paper.tex", "C:\\work\\", "paper"},
        SplitCase{"C:\\work\\sub\\paper.TEX", "C:\\work\\sub\\", "paper"},
        SplitCase{"C:a.tex", "C:", "a"},
        SplitCase{"C:\\a.tex", "C:\\", "a"},
        // A bare name lives in the folder the program started in.
        SplitCase{"paper.tex", "C:\\start\\", "paper"},
        SplitCase{"paper", "C:\\start\\", "paper"},
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
class SplitPathCp932Test : public ::testing::TestWithParam<SplitCase>, public DocumentOn<> {
 protected:
  void SetUp() override {
    saved_ = mbcs::SystemCodePage();
    mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  }
  void TearDown() override { mbcs::SetSystemCodePage(saved_); }

  mbcs::CodePage saved_ = mbcs::CodePage::Utf8;
};

TEST_P(SplitPathCp932Test, TrailBytesAreNotSeparators) {
  const SplitCase& c = GetParam();
  doc.SetFile(c.path);
  EXPECT_EQ(doc.Dir(), c.dir);
  EXPECT_EQ(doc.Name(), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SplitPathCp932Test,
    ::testing::Values(
        // C:\表\ソ.tex
        SplitCase{"C:\\\x95\x5C\\\x83\x5C.tex", "C:\\\x95\x5C\\", "\x83\x5C"},
        // C:\work\表.tex: the name ends in a trail byte 0x5C
        SplitCase{"C:\\work\\\x95\x5C.tex", "C:\\work\\", "\x95\x5C"},
        // 表ソ.tex without folder
        SplitCase{"\x95\x5C\x83\x5C.tex", "C:\\start\\", "\x95\x5C\x83\x5C"},
        // C:\ソフト\表 (a folder name ending in 表, no extension)
        SplitCase{"C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C", "C:\\\x83\x5C\x83\x74\x83\x67\\", "\x95\x5C"},
        // D:\表.dir\a.tex: a dot in a folder after a double-byte name
        SplitCase{"D:\\\x95\x5C.dir\\a.tex", "D:\\\x95\x5C.dir\\", "a"}),
    [](const ::testing::TestParamInfo<SplitCase>& i) { return CaseName(i.index, ::testing::PrintToString(i.param)); });

// A relative path on the command line names a file from the folder the
// program started in; every action later moves the working folder, so it is
// made absolute before anything else sees it.
TEST(CommandLineDocument, IsTakenFromTheStartFolder) {
  const struct {
    bool windows;
    const char* start;
    std::string in, out;
  } cases[] = {
      {false, "/home/u/work", "sub/paper.tex", "/home/u/work/sub/paper.tex"},
      {false, "/home/u/work/", "./paper.tex", "/home/u/work/paper.tex"},
      {false, "/home/u/work", "/w/paper.tex", "/w/paper.tex"},
      {false, "/home/u/work", "", ""},
      {false, "", "paper.tex", "paper.tex"},  // the start folder could not be read
      {true, "C:\\start\\", "sub\\paper.tex", "C:\\start\\sub\\paper.tex"},
      {true, "C:\\start", ".\\paper.tex", "C:\\start\\paper.tex"},
      {true, "C:\\start\\", "\\w\\p.tex", "C:\\w\\p.tex"},  // the root of the start folder's drive
      {true, "C:\\start\\", "D:\\x.tex", "D:\\x.tex"},
      {true, "C:\\start\\", "\\\\srv\\s\\p.tex", "\\\\srv\\s\\p.tex"},
  };
  for (const auto& c : cases) {
    WorldOn<> world(c.windows ? WindowsPlatformValues() : PosixPlatformValues());
    world.platform.cwd = c.start;
    Document doc(world.env);
    doc.SetFileFromCommandLine(c.in);
    EXPECT_EQ(doc.File(), c.out) << c.in << " from " << c.start;
  }
}

}  // namespace
