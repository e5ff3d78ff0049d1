// The private profile functions themselves against our INI layer: the same
// table of files read by both, and files written by one read by the other.
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "config/ini_profile.h"
#include "platform/win/win_profile.h"
#include "support/ini_cases.h"
#include "support/temp_dir.h"

namespace {
std::string Backslashed(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}
}  // namespace

TEST(IniDifferential, TableReadsTheSameByWindowsAndByUs) {
  TempDir dir;
  const std::string path = Backslashed(dir.File("case.ini"));
  for (const auto& c : kIniReadCases) {
    dir.Write("case.ini", c.file);
    WinProfile win(path);
    IniProfile ours(path);
    EXPECT_EQ(win.GetProfileString(c.section, c.key, "<def>"), c.str) << "Windows: " << c.name;
    EXPECT_EQ(win.GetProfileInt(c.section, c.key, 99), c.num) << "Windows: " << c.name;
    EXPECT_EQ(ours.GetProfileString(c.section, c.key, "<def>"), c.str) << "ours: " << c.name;
    EXPECT_EQ(ours.GetProfileInt(c.section, c.key, 99), c.num) << "ours: " << c.name;
  }
}

// Each step writes one key with one side; after every step both sides must
// read every key alike.
TEST(IniDifferential, WritesByEitherSideReadAlike) {
  struct Step { bool byWindows; const char* section; const char* key; const char* value; };
  const Step steps[] = {
      {true, "Settings", "PdfNShow", "0"},
      {false, "Settings", "PdfNeShow", "0"},
      {true, "Settings", "PdfSizeNo", "1"},
      {false, "Editor", "EDIT", "C:\\Program Files\\editor.exe"},
      {true, "RFL", "File0", "C:\\\x95\x5c\\a b.tex"},
      {false, "RFL", "File1", "C:\\work\\paper.tex"},
      {true, "settings", "tex", "c:\\tex\\bin\\platex.exe"},  // other letter case, same key
      {false, "SETTINGS", "MkIdxOpt", ""},                     // empty value, kept as a key
      {true, "Settings", "Bib", "jbibtex"},
      {false, "Settings", "Bib", nullptr},                      // delete
      {true, "RFL", "File1", nullptr},
      {false, "Settings", "DviPdf", "  padded  "},
  };
  const char* const keys[][2] = {{"Settings", "PdfNShow"}, {"Settings", "PdfNeShow"}, {"Settings", "PdfSizeNo"},
                                 {"Editor", "EDIT"},       {"RFL", "File0"},           {"RFL", "File1"},
                                 {"Settings", "TeX"},      {"Settings", "MkIdxOpt"},   {"Settings", "Bib"},
                                 {"Settings", "DviPdf"}};
  TempDir dir;
  const std::string path = Backslashed(dir.File("Mirvan.ini"));
  WinProfile win(path);
  IniProfile ours(path);
  int n = 0;
  for (const auto& s : steps) {
    ++n;
    std::string v = s.value ? s.value : "";
    IProfile& writer = s.byWindows ? static_cast<IProfile&>(win) : static_cast<IProfile&>(ours);
    writer.WriteProfileString(s.section, s.key, s.value ? &v : nullptr);
    for (const auto& k : keys) {
      EXPECT_EQ(ours.GetProfileString(k[0], k[1], "<def>"), win.GetProfileString(k[0], k[1], "<def>"))
          << "after step " << n << ", key " << k[0] << "/" << k[1];
    }
  }
  EXPECT_EQ(ours.GetProfileString("Settings", "TeX", ""), "c:\\tex\\bin\\platex.exe");
  EXPECT_EQ(ours.GetProfileString("Settings", "Bib", "<def>"), "<def>");
  EXPECT_EQ(win.GetProfileString("Settings", "MkIdxOpt", "<def>"), "");
}
