// Choosing the document by drop and by the file dialog.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <ostream>
#include <string>
#include <vector>

#include "core/mirvan_dlg.h"
#include "support/fakes.h"

namespace {

const std::string kRefused = std::string("notice:") + "TeX のファイルではありません！登録して直して下さい！";

class DropSelectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg.onInvalidate = [this] { ++repaints; };
    profile.Set("RFL", "File0", "/w/old.tex");
    dlg.LoadHistory();
    dlg.LoadHistoryFinish();
  }
  MemoryProfile profile;
  ScriptedPlatform platform{PosixPlatformValues()};
  ScriptedPrompts prompts;
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
  int repaints = 0;
};

struct DropCase {
  std::vector<std::string> paths;
  bool accepted;
  const char* name;  // m_strName afterwards when accepted
};

void PrintTo(const DropCase& c, std::ostream* os) {
  *os << c.paths.size() << " file(s)";
  if (!c.paths.empty()) *os << " first " << (c.paths.front().empty() ? "empty" : c.paths.front());
}

class DropTest : public DropSelectTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropTest, ExtensionDecides) {
  const DropCase& c = GetParam();
  dlg.OnDropFiles(c.paths);
  if (c.accepted) {
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(dlg.m_strFile, c.paths.front());
    EXPECT_EQ(dlg.m_strName, c.name);
    EXPECT_EQ(dlg.m_history.GetCount(), 2);
    EXPECT_EQ(dlg.m_history.GetText(0), c.paths.front());
    EXPECT_EQ(repaints, 1);
  } else {
    EXPECT_EQ(prompts.shown, std::vector<std::string>{kRefused});
    EXPECT_EQ(dlg.m_strFile, "/w/old.tex");
    EXPECT_EQ(dlg.m_strDir, "/w/");
    EXPECT_EQ(dlg.m_strName, "old");
    EXPECT_EQ(dlg.m_history.Items(), std::vector<std::string>{"/w/old.tex"});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DropTest,
    ::testing::Values(DropCase{{"/w/paper.tex"}, true, "paper"},
                      DropCase{{"/w/paper.TEX"}, true, "paper"},
                      DropCase{{"/w/paper.Tex"}, false, ""},
                      DropCase{{"/w/paper.tEX"}, false, ""},
                      DropCase{{"/w/paper"}, false, ""},
                      DropCase{{"/w/paper.tex.bak"}, false, ""},
                      DropCase{{"/w/x.tex/paper"}, false, ""},
                      // only the first of several files counts, without a word about the rest
                      DropCase{{"/w/one.tex", "/w/two.tex", "/w/three.tex"}, true, "one"},
                      DropCase{{"/w/one.pdf", "/w/two.tex"}, false, ""},
                      // a drop that carries no local file
                      DropCase{{""}, false, ""},
                      DropCase{{}, false, ""}),
    [](const ::testing::TestParamInfo<DropCase>& i) {
      return CaseName(i.index, i.param.paths.empty() ? "nothing" : i.param.paths.front());
    });

TEST_F(DropSelectTest, FileDialogAsTheButtonOpensIt) {
  prompts.picks.push_back(std::string("/w/b.tex"));
  dlg.SelectFile();
  ASSERT_EQ(prompts.pickSpecs.size(), 1u);
  const FileDialogSpec& request = prompts.pickSpecs[0];
  EXPECT_EQ(request.filter, "TeX file (*.tex)|*.tex||");
  EXPECT_EQ(request.defExt, "tex");
  EXPECT_EQ(request.initialName, "*.tex");
  EXPECT_TRUE(request.fileMustExist);
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_TRUE(request.ownedByMainWindow);
  EXPECT_EQ(dlg.m_strFile, "/w/b.tex");
  EXPECT_EQ(dlg.m_history.GetText(0), "/w/b.tex");
  // Unlike a drop, the pick also selects the new entry.
  EXPECT_EQ(dlg.m_history.GetCurSel(), 0);
  EXPECT_EQ(repaints, 1);
}

TEST_F(DropSelectTest, FileDialogTakesAnyExistingFile) {
  prompts.picks.push_back(std::string("/w/notes.txt"));
  dlg.SelectFile();
  EXPECT_EQ(prompts.shown, std::vector<std::string>{"pick:TeX file (*.tex)|*.tex||"});
  EXPECT_EQ(dlg.m_strFile, "/w/notes.txt");
  EXPECT_EQ(dlg.m_strName, "notes");
}

TEST_F(DropSelectTest, CancelledFileDialogChangesNothingButRepaints) {
  dlg.SelectFile();
  EXPECT_EQ(dlg.m_strFile, "/w/old.tex");
  EXPECT_EQ(dlg.m_strName, "old");
  EXPECT_EQ(dlg.m_history.Items(), std::vector<std::string>{"/w/old.tex"});
  EXPECT_EQ(repaints, 1);
}

}  // namespace
