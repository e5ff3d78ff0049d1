// Choosing the document by drop and by the file dialog.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <ostream>
#include <string>
#include <vector>

#include "support/document_rig.h"

namespace {

const std::string kRefused = std::string("notice:") + "TeX のファイルではありません！登録して直して下さい！";

class DropSelectTest : public ::testing::Test, public DocumentOn<> {
 protected:
  DropSelectTest() : DocumentOn(PosixPlatformValues()) {}
  void SetUp() override {
    profile.Set("RFL", "File0", "/w/old.tex");
    doc.LoadHistory();
    doc.LoadHistoryFinish();
    shownRevision = doc.History().Revision();
  }
  // Whether the history box has changed since the start: the bar draws it anew then.
  bool HistoryChanged() const { return doc.History().Revision() != shownRevision; }
  unsigned shownRevision = 0;
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
  EXPECT_EQ(doc.OnDropFiles(c.paths), c.accepted);
  EXPECT_EQ(HistoryChanged(), c.accepted);
  if (c.accepted) {
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(doc.File(), c.paths.front());
    EXPECT_EQ(doc.Name(), c.name);
    EXPECT_EQ(doc.History().GetCount(), 2);
    EXPECT_EQ(doc.History().GetText(0), c.paths.front());
  } else {
    EXPECT_EQ(prompts.shown, std::vector<std::string>{kRefused});
    EXPECT_EQ(doc.File(), "/w/old.tex");
    EXPECT_EQ(doc.Dir(), "/w/");
    EXPECT_EQ(doc.Name(), "old");
    EXPECT_EQ(doc.History().Items(), std::vector<std::string>{"/w/old.tex"});
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
  doc.SelectFile();
  ASSERT_EQ(prompts.pickRequests.size(), 1u);
  const FileRequest& request = prompts.pickRequests[0];
  EXPECT_EQ(request.types, (std::vector<FileType>{{"TeX file (*.tex)", "*.tex"}}));
  EXPECT_EQ(request.defExt, "tex");
  EXPECT_EQ(request.initialName, "*.tex");
  EXPECT_TRUE(request.fileMustExist);
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_TRUE(request.ownedByMainWindow);
  EXPECT_EQ(doc.File(), "/w/b.tex");
  EXPECT_EQ(doc.History().GetText(0), "/w/b.tex");
  // Unlike a drop, the pick also selects the new entry.
  EXPECT_EQ(doc.History().GetCurSel(), 0);
  EXPECT_TRUE(HistoryChanged());
}

TEST_F(DropSelectTest, FileDialogTakesAnyExistingFile) {
  prompts.picks.push_back(std::string("/w/notes.txt"));
  doc.SelectFile();
  EXPECT_EQ(prompts.shown, std::vector<std::string>{"pick:TeX file (*.tex)|*.tex"});
  EXPECT_EQ(doc.File(), "/w/notes.txt");
  EXPECT_EQ(doc.Name(), "notes");
}

TEST_F(DropSelectTest, CancelledFileDialogChangesNothing) {
  doc.SelectFile();
  EXPECT_EQ(doc.File(), "/w/old.tex");
  EXPECT_EQ(doc.Name(), "old");
  EXPECT_EQ(doc.History().Items(), std::vector<std::string>{"/w/old.tex"});
  EXPECT_FALSE(HistoryChanged());
}

}  // namespace
