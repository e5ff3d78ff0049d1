#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/ini_profile.h"
#include "config/settings_keys.h"
#include "core/mirvan_dlg.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace {

struct Bar {
  explicit Bar(IProfile& profile, PlatformValues values = WindowsPlatformValues())
      : platform(std::move(values)), dlg(MirvanEnv{profile, platform, prompts}) {}
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  CMirvanDlg dlg;
};

const std::vector<std::string> kFirstStartWrites = {
    "W Settings/PdfNShow=0", "W Settings/PdfNeShow=0", "W Settings/PdfSizeNo=1"};

}  // namespace

TEST(StartupRule, FirstStartWritesTheThreeKeysInOrder) {
  MemoryProfile ini;
  Bar bar(ini);
  bar.dlg.Config().LoadStartupRule();
  EXPECT_EQ(ini.log, kFirstStartWrites);
  EXPECT_EQ(ini.batches, 1) << "one write of the file for the three";
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfNShow, 0);
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfNeShow, 0);
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfSizeNo, 1);
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
    Bar bar(ini);
    bar.dlg.Config().LoadStartupRule();
    EXPECT_EQ(bar.dlg.Config().Get().m_nPdfNShow, c.nShow) << c.neShow;
    EXPECT_EQ(bar.dlg.Config().Get().m_nPdfNeShow, c.neShowMember) << c.neShow;
    EXPECT_EQ(bar.dlg.Config().Get().m_nPdfSizeNo, c.size) << c.neShow;
    EXPECT_EQ(ini.log, c.writes ? kFirstStartWrites : std::vector<std::string>{}) << c.neShow;
  }
}

TEST(ProgramLoad, DefaultsWithNoSettingsFile) {
  for (const bool windows : {true, false}) {
    MemoryProfile ini;
    Bar bar(ini, windows ? WindowsPlatformValues() : PosixPlatformValues());
    bar.dlg.Config().Set(&ToolSettings::m_nAcr, 7);
    bar.dlg.Config().LoadPrograms();
    EXPECT_EQ(bar.dlg.Config().Get().m_strEditor, windows ? "c:\\WINDOWS\\NOTEPAD.exe" : "xdg-open");
    EXPECT_EQ(bar.dlg.Config().Get().m_strTeX, "platex");
    EXPECT_EQ(bar.dlg.Config().Get().m_strBib, windows ? "jbibtex" : "pbibtex");  // TeX Live has no jbibtex
    EXPECT_EQ(bar.dlg.Config().Get().m_strDviPdf, "dvipdfmx");
    EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdx, "mendex");
    EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdxOpt, "-s myindex");
    EXPECT_EQ(bar.dlg.Config().Get().m_nMkIdxNvr, 0);
    EXPECT_EQ(bar.dlg.Config().Get().m_nAcr, 0);
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
  Bar bar(ini);
  bar.dlg.Config().LoadPrograms();
  EXPECT_EQ(bar.dlg.Config().Get().m_strEditor, "");  // present and empty is not the default
  EXPECT_EQ(bar.dlg.Config().Get().m_strTeX, "uplatex");
  EXPECT_EQ(bar.dlg.Config().Get().m_strBib, "pbibtex");
  EXPECT_EQ(bar.dlg.Config().Get().m_strDviPdf, "");
  EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdx, "upmendex");
  EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdxOpt, "");
  EXPECT_EQ(bar.dlg.Config().Get().m_nMkIdxNvr, 1);
  EXPECT_EQ(bar.dlg.Config().Get().m_nAcr, 1);
}

TEST(ReloadSettings, ReadsAgainButLeavesTheRunsOwnFlags) {
  MemoryProfile ini;
  Bar bar(ini, PosixPlatformValues());
  bar.dlg.Config().LoadStartupRule();
  bar.dlg.Config().LoadPrograms();
  EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdxOpt, "-s myindex");

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
  bar.dlg.Config().Set(&ToolSettings::m_nPdfNShow, 0);
  bar.dlg.Config().Set(&ToolSettings::m_nAcr, 0);
  bar.dlg.Config().Reload();

  EXPECT_EQ(bar.dlg.Config().Get().m_strEditor, "");
  EXPECT_EQ(bar.dlg.Config().Get().m_strTeX, "uplatex");
  EXPECT_EQ(bar.dlg.Config().Get().m_strBib, "pbibtex");
  EXPECT_EQ(bar.dlg.Config().Get().m_strDviPdf, "dvipdfmx");
  EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdx, "mendex");
  EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdxOpt, "");  // no key: empty after a reload
  EXPECT_EQ(bar.dlg.Config().Get().m_nMkIdxNvr, 1);
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfNeShow, 1);
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfSizeNo, 9);
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfNShow, 0);
  EXPECT_EQ(bar.dlg.Config().Get().m_nAcr, 0);
  EXPECT_TRUE(ini.log.empty());

  ini.values.clear();
  bar.dlg.Config().Reload();
  EXPECT_EQ(bar.dlg.Config().Get().m_strEditor, "xdg-open");
  EXPECT_EQ(bar.dlg.Config().Get().m_strTeX, "platex");
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfNeShow, 0);
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfSizeNo, 1);
}

TEST(SettingsFile, FirstStartCreatesIt) {
  TempDir dir;
  IniProfile ini(dir.File("Mirvan.ini"));
  Bar bar(ini, PosixPlatformValues());
  bar.dlg.Config().LoadStartupRule();
  bar.dlg.Config().LoadPrograms();
#ifdef _WIN32
  const std::string eol = "\r\n";
#else
  const std::string eol = "\n";
#endif
  EXPECT_EQ(dir.Read("Mirvan.ini"), "[Settings]" + eol + "PdfNShow=0" + eol + "PdfNeShow=0" + eol + "PdfSizeNo=1" + eol);
  EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdxOpt, "-s myindex");
  EXPECT_EQ(bar.dlg.Config().Get().m_strEditor, "xdg-open");
}

TEST(SettingsFile, WindowsFileWithAOneRunSize) {
  TempDir dir;
  dir.Write("Mirvan.ini",
            "[RFL]\r\nFile0=C:\\work\\paper.tex\r\n\r\n[Settings]\r\nPdfNeShow=0\r\nPdfSizeNo = 5\r\n"
            "MkIdxOpt=\r\n\r\n[Editor]\r\nEDIT=\r\n");
  IniProfile ini(dir.File("Mirvan.ini"));
  Bar bar(ini);
  bar.dlg.Config().LoadStartupRule();
  bar.dlg.Config().LoadPrograms();
  EXPECT_EQ(bar.dlg.Config().Get().m_nPdfSizeNo, 1);
  EXPECT_EQ(dir.Read("Mirvan.ini"),
            "[RFL]\r\nFile0=C:\\work\\paper.tex\r\n\r\n[Settings]\r\nPdfNeShow=0\r\nPdfSizeNo = 1\r\n"
            "MkIdxOpt=\r\nPdfNShow=0\r\n\r\n[Editor]\r\nEDIT=\r\n");
  EXPECT_EQ(bar.dlg.Config().Get().m_strMkIdxOpt, "");
  EXPECT_EQ(bar.dlg.Config().Get().m_strEditor, "");
}
