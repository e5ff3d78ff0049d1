// The bibliography and index runs with TeX Live's real programs, started by
// the real platform in a real folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "actions/texts.h"
#include "platform/posix/posix_platform.h"
#include "support/actions_rig.h"
#include "support/temp_dir.h"

namespace {

const char kAux[] =
    "\\relax\n\\citation{knuth84}\n\\bibstyle{jplain}\n\\bibdata{refs}\n";
const char kBib[] =
    "@book{knuth84,\n  author = {Donald E. Knuth},\n  title = {The {\\TeX}book},\n"
    "  publisher = {Addison-Wesley},\n  year = {1984},\n  yomi = {くぬーす},\n}\n";
const char kIdx[] =
    "\\indexentry{りんご@林檎}{1}\n\\indexentry{apple}{2}\n\\indexentry{banana}{3}\n";
// The style's mark in the .ind shows that "-s myindex" reached mendex.
const char kIst[] = "preamble \"\\\\begin{theindex}%from-myindex\\n\"\n";

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class RealTools : public ::testing::Test, public ActionsOn<PosixPlatform> {
 protected:
  void SetUp() override {
    char buf[PATH_MAX];
    ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
    m_savedCwd = buf;
    if (!Exists("/usr/bin/pbibtex") || !Exists("/usr/bin/mendex"))
      GTEST_SKIP() << "TeX Live's pbibtex and mendex are not installed";
    m_doc.Write("paper.aux", kAux);
    m_doc.Write("refs.bib", kBib);
    m_doc.Write("paper.idx", kIdx);
    m_doc.Write("myindex.ist", kIst);

    doc.SetFile(m_doc.File("paper.tex"));
    config.Set(&ToolSettings::m_strTeX, "platex");
    config.Set(&ToolSettings::m_strBib, "pbibtex");
    config.Set(&ToolSettings::m_strMkIdx, "mendex");
    config.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex");
    config.Set(&ToolSettings::m_nMkIdxNvr, 1);
    // The compile driver sets the folder before it calls the runs.
    ASSERT_TRUE(platform.ChangeDir(doc.Dir()));
  }
  void TearDown() override { ASSERT_EQ(chdir(m_savedCwd.c_str()), 0); }

  TempDir m_doc;

 private:
  std::string m_savedCwd;
};

TEST_F(RealTools, PbibtexWritesTheBibliography) {
  EXPECT_EQ(compiler.RunBibTeX(), 1);
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_TRUE(Exists(m_doc.File("paper.bbl")));
  EXPECT_NE(m_doc.Read("paper.bbl").find("\\bibitem{knuth84}"), std::string::npos);
  EXPECT_TRUE(profile.log.empty());
}

TEST_F(RealTools, PbibtexFailingOnTheDocumentShowsTheErrorText) {
  m_doc.Write("paper.aux", "\\relax\n\\citation{x}\n\\bibstyle{jplain}\n\\bibdata{missing}\n");
  EXPECT_EQ(compiler.RunBibTeX(), 0);
  EXPECT_EQ(prompts.shown, std::vector<std::string>{std::string("notice:") + msg::posix::kBibTeXError});
  EXPECT_EQ(config.Get().m_strBib, "pbibtex");
}

TEST_F(RealTools, MendexWritesTheIndexWithTheChosenStyle) {
  EXPECT_EQ(compiler.RunMakeIndex(), 1);
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_TRUE(Exists(m_doc.File("paper.ind")));
  const std::string ind = m_doc.Read("paper.ind");
  EXPECT_NE(ind.find("%from-myindex"), std::string::npos);
  EXPECT_NE(ind.find("林檎"), std::string::npos);
}

TEST_F(RealTools, MendexWithoutOptionsUsesItsOwnStyle) {
  config.Set(&ToolSettings::m_strMkIdxOpt, "");
  EXPECT_EQ(compiler.RunMakeIndex(), 1);
  ASSERT_TRUE(Exists(m_doc.File("paper.ind")));
  EXPECT_EQ(m_doc.Read("paper.ind").find("%from-myindex"), std::string::npos);
}

// TeX Live has no jbibtex: a Mirvan.ini that still names it falls back to
// pbibtex, which is found in a probe folder, runs and is remembered, with no
// question.
TEST_F(RealTools, StoredJbibtexFallsBackToPbibtex) {
  for (const std::string& folder : platform.Values().probeFolders)
    if (Exists(folder + "jbibtex")) GTEST_SKIP() << "this system has " << folder << "jbibtex";
  if (!Exists("/usr/bin/pbibtex") || Exists("/usr/local/bin/pbibtex")) GTEST_SKIP() << "pbibtex is elsewhere";
  config.Set(&ToolSettings::m_strBib, "jbibtex");

  EXPECT_EQ(compiler.RunBibTeX(), 1);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(profile.log, std::vector<std::string>{"W Settings/Bib=/usr/bin/pbibtex"});
  EXPECT_TRUE(Exists(m_doc.File("paper.bbl")));
}

}  // namespace
