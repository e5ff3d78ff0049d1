// Our double-byte rules against the real C runtime in code page 932: the
// path split, the last-backslash search and the lead bytes must agree.
#include <mbctype.h>
#include <mbstring.h>
#include <stdlib.h>

#include <string>

#include <gtest/gtest.h>

#include "text/mbcs.h"

namespace {

class Cp932Crt : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(_setmbcp(932), 0); }
  void TearDown() override { _setmbcp(_MB_CP_ANSI); }
};

// 表, ソ, 能 and 予 have 0x5C as their trail byte.
const char* const kPaths[] = {
    "C:\\work\\paper.tex",
    "C:\\\x95\x5c\\paper.tex",                  // C:\表\paper.tex
    "C:\\work\\\x95\x5c.tex",                   // C:\work\表.tex
    "C:\\\x83\x5c\x83\x74\x83\x67\\a.b.tex",   // C:\ソフト\a.b.tex
    "\\\\server\\share\\\x94\x5c.tex",          // \\server\share\能.tex
    "D:\x97\x5c\x92\xe8.tex",                   // D:予定.tex
    "C:a.tex",
    "paper",
    "dir.d/sub/\x95\x5c",
    "C:\\dir.with.dots\\noext",
    "C:\\my work\\\x83\x5c.\x95\x5c",           // extension made of trail-0x5C characters
    "\x82\xa0\x82\x2e\\x.tex",                  // a lead byte followed by '.'
};

}  // namespace

TEST_F(Cp932Crt, SplitPathAgreesWithCrt) {
  for (const char* p : kPaths) {
    char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    _splitpath(p, drive, dir, fname, ext);
    mbcs::PathParts ours = mbcs::SplitPath(p, mbcs::CodePage::Cp932);
    EXPECT_EQ(ours.drive, drive) << p;
    EXPECT_EQ(ours.dir, dir) << p;
    EXPECT_EQ(ours.fname, fname) << p;
    EXPECT_EQ(ours.ext, ext) << p;
  }
}

TEST_F(Cp932Crt, MakePathAgreesWithCrt) {
  // A folder ending in a character whose trail byte is 0x5C (\表) is left
  // out: Wine's _makepath looks at the last byte there, the Windows CRT at
  // the last character; the Linux tests hold the Windows behaviour.
  const char* const dirs[] = {"\\work\\", "\\work", "", "work/", "\\\x83\x5c\\", "\\\x95\x5c/"};
  for (const char* d : dirs) {
    char out[_MAX_PATH];
    _makepath(out, "C:", d, "", "");
    EXPECT_EQ(mbcs::MakePath("C:", d, "", "", mbcs::CodePage::Cp932), out) << d;
  }
}

TEST_F(Cp932Crt, LastBackslashAgreesWithMbsrchr) {
  for (const char* p : kPaths) {
    const unsigned char* r = _mbsrchr(reinterpret_cast<const unsigned char*>(p), '\\');
    std::size_t crt = r ? static_cast<std::size_t>(r - reinterpret_cast<const unsigned char*>(p))
                        : std::string::npos;
    EXPECT_EQ(mbcs::FindLastOf(p, "\\", mbcs::CodePage::Cp932), crt) << p;
  }
}

TEST_F(Cp932Crt, LeadBytesAgreeWithIsmbblead) {
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(mbcs::IsLeadByte(static_cast<unsigned char>(c), mbcs::CodePage::Cp932), _ismbblead(c) != 0) << c;
  }
}
