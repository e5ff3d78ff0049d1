// The probe folders for real: programs placed in c:\tex\bin\ and friends are
// found by the searches, stored, and run on the document.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/win/win_api.h"
#include "platform/win/win_platform.h"
#include "support/actions_rig.h"
#include "support/temp_dir.h"
#include "self_tool.h"

namespace {

// Places a copy of this test program as folder\name.exe for the test's life.
class PlacedTool {
 public:
  PlacedTool(const std::string& folder, const std::string& name) : m_path(folder + name + ".exe") {
    CreateDirectoryA(folder.substr(0, folder.find('\\', 3)).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA(SelfPath().c_str(), m_path.c_str(), FALSE);
  }
  ~PlacedTool() { DeleteFileA(m_path.c_str()); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

struct Fixture : ActionsOn<WinPlatform> {
  TempDir folder;
  std::string record = folder.File("record.txt");
  Fixture() {
    _putenv_s("MIRVAN_RECORD", record.c_str());
    doc.SetFile(folder.File("paper.tex"));
    platform.ChangeDir(doc.Dir());
  }
  ~Fixture() {
    _putenv_s("MIRVAN_RECORD", "");
    _putenv_s("MIRVAN_EXIT", "");
  }
};

}  // namespace

TEST(ProbeChain, TeXFoundInSecondFolderIsStoredAndHasRun) {
  Fixture f;
  PlacedTool tool("c:\\tex\\bin\\", "mvprobeplatex");
  _putenv_s("MIRVAN_EXIT", "1");  // a probe that starts but fails still counts as found
  f.config.Set(&ToolSettings::m_strTeX, "mvprobeplatex");
  EXPECT_EQ(f.tools.LocateTeX(), 1);
  EXPECT_EQ(f.config.Get().m_strTeX, "c:\\tex\\bin\\mvprobeplatex.exe");
  EXPECT_EQ(f.profile.Get("Settings", "TeX"), "c:\\tex\\bin\\mvprobeplatex.exe");
  EXPECT_TRUE(f.prompts.shown.empty());
  EXPECT_NE(Slurp(f.record).find("arg=paper\nend\n"), std::string::npos);
}

TEST(ProbeChain, BibTeXFoundInFirstFolderWithZeroStatus) {
  Fixture f;
  PlacedTool tool("c:\\w32tex\\bin\\", "jbibtex");
  _putenv_s("MIRVAN_EXIT", "0");
  f.config.Set(&ToolSettings::m_strTeX, "platex");
  f.config.Set(&ToolSettings::m_strBib, "mv-missing-bibtex");
  EXPECT_EQ(f.compiler.RunBibTeX(), 1);
  EXPECT_EQ(f.config.Get().m_strBib, "c:\\w32tex\\bin\\jbibtex.exe");
  EXPECT_EQ(f.profile.Get("Settings", "Bib"), "c:\\w32tex\\bin\\jbibtex.exe");
}

TEST(ProbeChain, IndexProbeThatFailsStopsTheChainWithTheHint) {
  Fixture f;
  PlacedTool first("c:\\w32tex\\bin\\", "mendex");
  _putenv_s("MIRVAN_EXIT", "2");
  f.config.Set(&ToolSettings::m_strTeX, "platex");
  f.config.Set(&ToolSettings::m_strMkIdx, "mv-missing-mendex");
  f.config.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex");
  f.config.Set(&ToolSettings::m_nMkIdxNvr, 1);
  EXPECT_EQ(f.compiler.RunMakeIndex(), 0);
  EXPECT_EQ(f.config.Get().m_strMkIdx, "mendex");
  EXPECT_FALSE(f.profile.Has("Settings", "MkIdx"));
  ASSERT_EQ(f.prompts.shown.size(), 1u);
  EXPECT_EQ(f.prompts.shown[0].rfind("notice:MakeIndex (\"mendex.exe\")", 0), 0u) << f.prompts.shown[0];
  EXPECT_NE(Slurp(f.record).find("arg=-s\narg=myindex\narg=paper\nend\n"), std::string::npos);
}

TEST(ProbeChain, ProgramFileNameIsNotProbed) {
  Fixture f;
  PlacedTool tool("c:\\tex\\bin\\", "platex");
  f.config.Set(&ToolSettings::m_strTeX, "D:\\tex\\platex.exe");
  f.prompts.askAnswers = {false};
  EXPECT_EQ(f.tools.LocateTeX(), 0);
  EXPECT_EQ(Slurp(f.record), "");  // nothing ran
  EXPECT_EQ(f.config.Get().m_strTeX, "platex");
  ASSERT_EQ(f.prompts.shown.size(), 2u);
  EXPECT_NE(f.prompts.shown[0].find("\"D:\\tex\\platex.exe\""), std::string::npos);
}
