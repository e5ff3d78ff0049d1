// The private profile functions themselves against our INI layer: the same
// table of files read by both, and files written by one read by the other.
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "config/ini_profile.h"
#include "platform/texts.h"
#include "platform/win/win_api.h"
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

// The history's write: several keys of a section in one write, by either
// side, over a section holding a key of someone else's.
TEST(IniDifferential, KeysWrittenTogetherReadAlike) {
  TempDir dir;
  const std::string path = Backslashed(dir.File("Mirvan.ini"));
  for (const bool byWindows : {true, false}) {
    dir.Write("Mirvan.ini", "[RFL]\r\nFile0=C:\\old0.tex\r\nMine=kept\r\nFile2=C:\\old2.tex\r\n[Settings]\r\nTeX=platex\r\n");
    WinProfile win(path);
    IniProfile ours(path);
    IProfile& writer = byWindows ? static_cast<IProfile&>(win) : static_cast<IProfile&>(ours);
    ASSERT_TRUE(writer.WriteProfileKeys("RFL", {{"File0", "C:\\\x95\x5c\\a.tex"}, {"File1", "C:\\b.tex"}, {"File2", std::nullopt}}))
        << byWindows;
    EXPECT_FALSE(writer.WriteProfileKeys("RFL", {{"File0", "C:\\x.tex"}, {"File1", "two\r\nlines"}})) << byWindows;
    for (const char* key : {"File0", "File1", "File2", "Mine"}) {
      EXPECT_EQ(ours.GetProfileString("RFL", key, "<def>"), win.GetProfileString("RFL", key, "<def>")) << key;
    }
    EXPECT_EQ(win.GetProfileString("RFL", "File0", ""), "C:\\\x95\x5c\\a.tex") << byWindows;
    EXPECT_EQ(win.GetProfileString("RFL", "File1", ""), "C:\\b.tex") << byWindows;
    EXPECT_EQ(win.GetProfileString("RFL", "File2", "<def>"), "<def>") << byWindows;
    EXPECT_EQ(win.GetProfileString("RFL", "Mine", ""), "kept") << byWindows;
    EXPECT_EQ(win.GetProfileString("Settings", "TeX", ""), "platex") << byWindows;
  }
}

// A folder where the file should be, or a file far bigger than any
// settings file: both sides say so alike, read nothing and write nothing.
TEST(IniDifferential, WhatIsNoSettingsFileIsLeftAlone) {
  struct Case {
    const char* what;
    files::ReadStatus status;
  };
  for (const Case& c : {Case{"folder", files::ReadStatus::NotAFile}, Case{"17 MB", files::ReadStatus::TooBig}}) {
    TempDir dir;
    const std::string path = Backslashed(dir.File("Mirvan.ini"));
    if (c.status == files::ReadStatus::NotAFile) {
      ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << c.what;
    } else {
      dir.Write("Mirvan.ini", "[Settings]\r\nTeX=latex\r\n");
      HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      LARGE_INTEGER size;
      size.QuadPart = 17 << 20;
      ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h)) << c.what;
      CloseHandle(h);
    }
    WinProfile win(path);
    IniProfile ours(path);
    for (IProfile* side : {static_cast<IProfile*>(&win), static_cast<IProfile*>(&ours)}) {
      EXPECT_EQ(side->GetProfileString("Settings", "TeX", "platex"), "platex") << c.what;
      EXPECT_FALSE(side->WriteProfileString("Settings", "TeX", "ptex")) << c.what;
      EXPECT_FALSE(side->WriteProfileKeys("RFL", {{"File0", "C:\\a.tex"}})) << c.what;
    }
    EXPECT_EQ(win.Trouble(), settings_text::Unreadable(path, c.status)) << c.what;
    EXPECT_EQ(ours.Trouble(), win.Trouble()) << c.what;
    const DWORD attrs = GetFileAttributesA(path.c_str());
    EXPECT_EQ(attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0,
              c.status == files::ReadStatus::NotAFile) << c.what;
  }
}
