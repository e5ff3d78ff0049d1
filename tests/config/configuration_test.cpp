#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ini_profile.h"
#include "config/settings_keys.h"
#include "config/tool_config.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace {

const std::vector<std::string> kFirstStartWrites = {
    "W Settings/PdfNShow=0", "W Settings/PdfNeShow=0", "W Settings/PdfSizeNo=1"};

}  // namespace

TEST(StartupRule, FirstStartWritesTheThreeKeysInOrder) {
  MemoryProfile ini;
  ToolConfig config(ini, WindowsPlatformValues());
  config.LoadStartupRule();
  EXPECT_EQ(ini.log, kFirstStartWrites);
  EXPECT_EQ(ini.batches, 1) << "one write of the file for the three";
  EXPECT_EQ(config.Get().m_nPdfNShow, 0);
  EXPECT_EQ(config.Get().m_nPdfNeShow, 0);
  EXPECT_EQ(config.Get().m_nPdfSizeNo, 1);
}

TEST(StartupRule, LastingSuppressionKeepsTheStoredSize) {
  struct Case { std::string neShow, sizeNo; int nShow, neShowMember, size; bool writes; } cases[] = {
      {"1", "5", 1, 1, 5, false},
      {"2", "5", 1, 2, 5, false},   // any value but 0 counts as set
      {"-1", "", 1, -1, 1, false},  // empty size: its default
      {"0", "5", 0, 0, 1, true},    // a size chosen for one run only ends here
      {"", "5", 0, 0, 1, true},
      {"off", "5", 0, 0, 1, true},  // no digits reads 0
  };
  for (const auto& c : cases) {
    MemoryProfile ini;
    ini.Set("Settings", "PdfNeShow", c.neShow);
    ini.Set("Settings", "PdfSizeNo", c.sizeNo);
    ini.Set("Settings", "PdfNShow", "1");
    ToolConfig config(ini, WindowsPlatformValues());
    config.LoadStartupRule();
    EXPECT_EQ(config.Get().m_nPdfNShow, c.nShow) << c.neShow;
    EXPECT_EQ(config.Get().m_nPdfNeShow, c.neShowMember) << c.neShow;
    EXPECT_EQ(config.Get().m_nPdfSizeNo, c.size) << c.neShow;
    EXPECT_EQ(ini.log, c.writes ? kFirstStartWrites : std::vector<std::string>{}) << c.neShow;
  }
}

TEST(ProgramLoad, DefaultsWithNoSettingsFile) {
  for (const bool windows : {true, false}) {
    MemoryProfile ini;
    ToolConfig config(ini, windows ? WindowsPlatformValues() : PosixPlatformValues());
    config.Set(&ToolSettings::m_nAcr, 7);
    config.LoadPrograms();
    EXPECT_EQ(config.Get().m_strEditor, windows ? "c:\\WINDOWS\\NOTEPAD.exe" : "xdg-open");
    EXPECT_EQ(config.Get().m_strTeX, "platex");
    EXPECT_EQ(config.Get().m_strBib, windows ? "jbibtex" : "pbibtex");  // TeX Live has no jbibtex
    EXPECT_EQ(config.Get().m_strDviPdf, "dvipdfmx");
    EXPECT_EQ(config.Get().m_strMkIdx, "mendex");
    EXPECT_EQ(config.Get().m_strMkIdxOpt, "-s myindex");
    EXPECT_EQ(config.Get().m_nMkIdxNvr, 0);
    EXPECT_EQ(config.Get().m_nAcr, 0);
    EXPECT_TRUE(ini.log.empty());
  }
}

TEST(ProgramLoad, StoredValuesAndEmptyOnes) {
  MemoryProfile ini;
  ini.Set("Editor", "EDIT", "");
  ini.Set("Settings", "TeX", "uplatex");
  ini.Set("Settings", "Bib", "pbibtex");
  ini.Set("Settings", "DviPdf", "");
  ini.Set("Settings", "MkIdx", "upmendex");
  ini.Set("Settings", "MkIdxOpt", "");
  ini.Set("Settings", "MkIdxNvr", "1");
  ini.Set("Settings", "Acr", "1");
  ToolConfig config(ini, WindowsPlatformValues());
  config.LoadPrograms();
  EXPECT_EQ(config.Get().m_strEditor, "");  // present and empty is not the default
  EXPECT_EQ(config.Get().m_strTeX, "uplatex");
  EXPECT_EQ(config.Get().m_strBib, "pbibtex");
  EXPECT_EQ(config.Get().m_strDviPdf, "");
  EXPECT_EQ(config.Get().m_strMkIdx, "upmendex");
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "");
  EXPECT_EQ(config.Get().m_nMkIdxNvr, 1);
  EXPECT_EQ(config.Get().m_nAcr, 1);
}

TEST(ReloadSettings, ReadsAgainButLeavesTheRunsOwnFlags) {
  MemoryProfile ini;
  ToolConfig config(ini, PosixPlatformValues());
  config.LoadStartupRule();
  config.LoadPrograms();
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "-s myindex");

  // What the Settings dialog's working copy and a later run left in the file.
  ini.Set("Editor", "EDIT", "");
  ini.Set("Settings", "TeX", "uplatex");
  ini.Set("Settings", "Bib", "pbibtex");
  ini.Set("Settings", "PdfNeShow", "1");
  ini.Set("Settings", "PdfSizeNo", "9");
  ini.Set("Settings", "PdfNShow", "1");
  ini.Set("Settings", "Acr", "1");
  ini.Set("Settings", "MkIdxNvr", "1");
  ini.log.clear();
  config.Set(&ToolSettings::m_nPdfNShow, 0);
  config.Set(&ToolSettings::m_nAcr, 0);
  config.Reload();

  EXPECT_EQ(config.Get().m_strEditor, "");
  EXPECT_EQ(config.Get().m_strTeX, "uplatex");
  EXPECT_EQ(config.Get().m_strBib, "pbibtex");
  EXPECT_EQ(config.Get().m_strDviPdf, "dvipdfmx");
  EXPECT_EQ(config.Get().m_strMkIdx, "mendex");
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "");  // no key: empty after a reload
  EXPECT_EQ(config.Get().m_nMkIdxNvr, 1);
  EXPECT_EQ(config.Get().m_nPdfNeShow, 1);
  EXPECT_EQ(config.Get().m_nPdfSizeNo, 9);
  EXPECT_EQ(config.Get().m_nPdfNShow, 0);
  EXPECT_EQ(config.Get().m_nAcr, 0);
  EXPECT_TRUE(ini.log.empty());

  ini.values.clear();
  config.Reload();
  EXPECT_EQ(config.Get().m_strEditor, "xdg-open");
  EXPECT_EQ(config.Get().m_strTeX, "platex");
  EXPECT_EQ(config.Get().m_nPdfNeShow, 0);
  EXPECT_EQ(config.Get().m_nPdfSizeNo, 1);
}

TEST(SettingsFile, FirstStartCreatesIt) {
  TempDir dir;
  IniProfile ini(dir.File("Mirvan.ini"));
  ToolConfig config(ini, PosixPlatformValues());
  config.LoadStartupRule();
  config.LoadPrograms();
#ifdef _WIN32
  const std::string eol = "\r\n";
#else
  const std::string eol = "\n";
#endif
  EXPECT_EQ(dir.Read("Mirvan.ini"), "[Settings]" + eol + "PdfNShow=0" + eol + "PdfNeShow=0" + eol + "PdfSizeNo=1" + eol);
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "-s myindex");
  EXPECT_EQ(config.Get().m_strEditor, "xdg-open");
}

TEST(SettingsFile, WindowsFileWithAOneRunSize) {
  TempDir dir;
  dir.Write("Mirvan.ini",
            "[RFL]\r\nFile0=C:\\work\\paper.tex\r\n\r\n[Settings]\r\nPdfNeShow=0\r\nPdfSizeNo = 5\r\n"
            "MkIdxOpt=\r\n\r\n[Editor]\r\nEDIT=\r\n");
  IniProfile ini(dir.File("Mirvan.ini"));
  ToolConfig config(ini, WindowsPlatformValues());
  config.LoadStartupRule();
  config.LoadPrograms();
  EXPECT_EQ(config.Get().m_nPdfSizeNo, 1);
  EXPECT_EQ(dir.Read("Mirvan.ini"),
            "[RFL]\r\nFile0=C:\\work\\paper.tex\r\n\r\n[Settings]\r\nPdfNeShow=0\r\nPdfSizeNo = 1\r\n"
            "MkIdxOpt=\r\nPdfNShow=0\r\n\r\n[Editor]\r\nEDIT=\r\n");
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "");
  EXPECT_EQ(config.Get().m_strEditor, "");
}
