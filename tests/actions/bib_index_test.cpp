#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "actions/settings_dlg.h"
#include "actions/texts.h"
#include "actions/tool_rig.h"
#include "config/option_dialogs.h"

namespace {

// The two twins side by side. "$P" in a case stands for the bare name a
// pLaTeX installation uses (the platform's, for BibTeX), "$O" for the other
// one, "$K" for the key. The texts that name programs are the platform's.
using Texts = PlatformValues::ToolTexts;
struct Twin {
  const char* name;
  int (CompileDriver::*run)();
  TextSetting member;
  std::string key, japanese, other;  // japanese empty: the platform's
  const char* Texts::*error;
  const char* notStarted;
  const char *Texts::*hint, *Texts::*question;
  std::vector<std::string> optionWords;  // of "-s myindex"
};

const std::vector<Twin>& Twins() {
  static const std::vector<Twin> twins = {
      {"RunBibTeX", &CompileDriver::RunBibTeX, &ToolSettings::m_strBib, "Bib", "", "bibtex", &Texts::bibTeXError,
       msg::kBibTeXNotStarted, &Texts::bibTeXHint, &Texts::chooseBibTeXQuestion, {}},
      {"RunMakeIndex", &CompileDriver::RunMakeIndex, &ToolSettings::m_strMkIdx, "MkIdx", "mendex", "makeindex",
       &Texts::mkIdxError, msg::kMkIdxNotStarted, &Texts::mkIdxHint, &Texts::chooseMkIdxQuestion, {"-s", "myindex"}},
  };
  return twins;
}

struct Branch {
  const char* title;
  bool posix;
  std::string tex;
  std::string configured;
  std::map<std::string, int> starts;
  std::deque<bool> answers;
  std::deque<std::optional<std::string>> picks;
  int result;
  std::vector<std::string> runs;
  // "E" error, "N" not started, "H" hint, "Q" the picker's question, "P" its file dialog.
  std::vector<std::string> shown;
  std::vector<std::string> writes;
  std::string after;
};

const std::vector<Branch>& Branches() {
  static const std::vector<Branch> branches = {
      {"first run ends with 0", false, "platex", "$P", {{"$P", 0}}, {}, {}, 1, {"$P"}, {}, {}, "$P"},
      {"first run ends with another status", false, "platex", "$P", {{"$P", 1}}, {}, {}, 0, {"$P"}, {"E"}, {},
       "$P"},
      {"a program file that does not start", false, "platex", "D:\\tex\\$P.exe", {}, {}, {}, 0,
       {"D:\\tex\\$P.exe"}, {"E"}, {}, "D:\\tex\\$P.exe"},
      {"a probe ends with 0", false, "platex", "$P", {{"c:\\tex\\bin\\$P.exe", 0}}, {}, {}, 1,
       {"$P", "c:\\w32tex\\bin\\$P.exe", "c:\\tex\\bin\\$P.exe"}, {}, {"W Settings/$K=c:\\tex\\bin\\$P.exe"},
       "c:\\tex\\bin\\$P.exe"},
      {"a probe ends with another status", false, "platex", "$P", {{"c:\\w32tex\\bin\\$P.exe", 2}}, {}, {}, 0,
       {"$P", "c:\\w32tex\\bin\\$P.exe"}, {"H"}, {}, "$P"},
      {"a folder path without .exe falls back to the bare name", false, "platex", "C:\\tex\\bin\\$P",
       {{"c:\\usr\\local\\bin\\$P.exe", 0}}, {}, {}, 1,
       {"C:\\tex\\bin\\$P", "c:\\w32tex\\bin\\$P.exe", "c:\\tex\\bin\\$P.exe", "c:\\usr\\local\\bin\\$P.exe"},
       {}, {"W Settings/$K=c:\\usr\\local\\bin\\$P.exe"}, "c:\\usr\\local\\bin\\$P.exe"},
      {"another compiler probes the other name, kept in memory", false, "latex", "$P",
       {{"c:\\w32tex\\bin\\$O.exe", 1}}, {}, {}, 0, {"$P", "c:\\w32tex\\bin\\$O.exe"}, {"H"}, {}, "$O"},
      {"no probe starts, question declined", false, "platex", "$P", {}, {false}, {}, 0,
       {"$P", "c:\\w32tex\\bin\\$P.exe", "c:\\tex\\bin\\$P.exe", "c:\\usr\\local\\bin\\$P.exe"},
       {"N", "Q", "E"}, {"D Settings/$K"}, "$P"},
      {"no probe starts under another compiler; the picker restores the fixed name", false, "latex", "mytool",
       {}, {false}, {}, 0,
       {"mytool", "c:\\w32tex\\bin\\$O.exe", "c:\\tex\\bin\\$O.exe", "c:\\usr\\local\\bin\\$O.exe"},
       {"N", "Q", "E"}, {"D Settings/$K"}, "$P"},
      {"no probe starts, file dialog cancelled", false, "platex", "$P", {}, {true}, {std::nullopt}, 0,
       {"$P", "c:\\w32tex\\bin\\$P.exe", "c:\\tex\\bin\\$P.exe", "c:\\usr\\local\\bin\\$P.exe"},
       {"N", "Q", "P", "E"}, {"D Settings/$K"}, "$P"},
      {"picked program ends with 0", false, "platex", "$P", {{"E:\\bin\\$P.exe", 0}}, {true},
       {std::string("E:\\bin\\$P.exe")}, 1,
       {"$P", "c:\\w32tex\\bin\\$P.exe", "c:\\tex\\bin\\$P.exe", "c:\\usr\\local\\bin\\$P.exe", "E:\\bin\\$P.exe"},
       {"N", "Q", "P"}, {"W Settings/$K=E:\\bin\\$P.exe"}, "E:\\bin\\$P.exe"},
      {"picked program fails", false, "platex", "$P", {{"E:\\bin\\$P.exe", 3}}, {true},
       {std::string("E:\\bin\\$P.exe")}, 0,
       {"$P", "c:\\w32tex\\bin\\$P.exe", "c:\\tex\\bin\\$P.exe", "c:\\usr\\local\\bin\\$P.exe", "E:\\bin\\$P.exe"},
       {"N", "Q", "P", "E"}, {"W Settings/$K=E:\\bin\\$P.exe"}, "E:\\bin\\$P.exe"},
      {"picked program does not start", false, "platex", "$P", {}, {true}, {std::string("E:\\bin\\$P.exe")}, 0,
       {"$P", "c:\\w32tex\\bin\\$P.exe", "c:\\tex\\bin\\$P.exe", "c:\\usr\\local\\bin\\$P.exe", "E:\\bin\\$P.exe"},
       {"N", "Q", "P", "E"}, {"W Settings/$K=E:\\bin\\$P.exe"}, "E:\\bin\\$P.exe"},
      {"POSIX: a probe ends with 0", true, "platex", "$P", {{"/usr/bin/$P", 0}}, {}, {}, 1,
       {"$P", "/usr/local/bin/$P", "/usr/bin/$P"}, {}, {"W Settings/$K=/usr/bin/$P"}, "/usr/bin/$P"},
      {"POSIX: a path that does not start", true, "platex", "/opt/tl/bin/$P", {}, {}, {}, 0, {"/opt/tl/bin/$P"},
       {"E"}, {}, "/opt/tl/bin/$P"},
      {"POSIX: nothing starts, picked program ends with 0", true, "platex", "$P", {{"/opt/tl/$P", 0}}, {true},
       {std::string("/opt/tl/$P")}, 1,
       {"$P", "/usr/local/bin/$P", "/usr/bin/$P", "/Library/TeX/texbin/$P", "/opt/tl/$P"}, {"N", "Q", "P"},
       {"W Settings/$K=/opt/tl/$P"}, "/opt/tl/$P"},
  };
  return branches;
}

TEST(BibAndIndexRuns, OutcomeByBranch) {
  for (const Twin& twin : Twins()) {
    for (const Branch& b : Branches()) {
      SCOPED_TRACE(std::string(twin.name) + ": " + b.title);
      ToolRig rig(b.posix);
      const PlatformValues& values = rig.platform.Values();
      const std::string japanese = twin.japanese.empty() ? values.japaneseBibTeX : twin.japanese;
      const std::map<std::string, std::string> tokens = {{"$P", japanese}, {"$O", twin.other}, {"$K", twin.key}};
      rig.platform.cwd = "/somewhere/else/";
      rig.config.Set(&ToolSettings::m_strTeX, b.tex);
      rig.config.Set(twin.member, Expand(b.configured, tokens));
      for (const auto& [program, status] : b.starts) rig.starts[Expand(program, tokens)] = status;
      rig.prompts.askAnswers = b.answers;
      for (const auto& pick : b.picks)
        rig.prompts.picks.push_back(pick ? std::optional<std::string>(Expand(*pick, tokens)) : std::nullopt);

      EXPECT_EQ((rig.compiler.*twin.run)(), b.result);

      EXPECT_EQ(rig.platform.Programs(), Expand(b.runs, tokens));
      std::vector<std::string> args = twin.optionWords;
      args.push_back(rig.doc.Name());
      for (const ToolCall& run : rig.platform.runs) EXPECT_EQ(run.args, args);

      std::vector<std::string> shown;
      for (const std::string& s : b.shown) {
        if (s == "E") shown.push_back(std::string("notice:") + values.texts.*twin.error);
        if (s == "N") shown.push_back(std::string("notice:") + twin.notStarted);
        if (s == "H") shown.push_back(std::string("notice:") + values.texts.*twin.hint);
        if (s == "Q") shown.push_back(std::string("ask:") + values.texts.*twin.question);
        if (s == "P") shown.push_back(PickText(rig.platform.Values().programTypes));
      }
      EXPECT_EQ(rig.prompts.shown, shown);
      EXPECT_EQ(rig.profile.log, Expand(b.writes, tokens));
      EXPECT_EQ(rig.config.Get().*twin.member, Expand(b.after, tokens));

      // Only a pick moves the working directory back, right before its run.
      const bool picked = !b.picks.empty() && b.picks.front().has_value();
      if (picked) {
        EXPECT_EQ(rig.platform.chdirs, std::vector<std::string>{rig.doc.Dir()});
        EXPECT_EQ(rig.platform.runs.back().cwd, rig.doc.Dir());
      } else {
        EXPECT_TRUE(rig.platform.chdirs.empty());
      }
    }
  }
}

TEST(RunMakeIndex, OptionsArriveAsWordsAndTheNameAsOne) {
  struct Case {
    bool posix;
    std::string options;
    std::vector<std::string> args;
  };
  const std::vector<Case> cases = {
      {false, "-s myindex", {"-s", "myindex", "paper"}},
      {false, "", {"paper"}},
      {false, "   ", {"paper"}},
      {false, "  -s   my.ist  -g ", {"-s", "my.ist", "-g", "paper"}},
      {true, "-s myindex", {"-s", "myindex", "my paper"}},
      {true, "", {"my paper"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("options [" + c.options + "]");
    ToolRig rig(c.posix);
    rig.starts["mendex"] = 0;
    rig.config.Set(&ToolSettings::m_strMkIdxOpt, c.options);
    EXPECT_EQ(rig.compiler.RunMakeIndex(), 1);
    ASSERT_EQ(rig.platform.runs.size(), 1u);
    EXPECT_EQ(rig.platform.runs[0].args, c.args);
  }
}

TEST(RunMakeIndex, NeverFlagSkipsTheOptionsDialog) {
  ToolRig rig(false);
  rig.starts["mendex"] = 0;
  rig.config.Set(&ToolSettings::m_nMkIdxNvr, 1);
  rig.compiler.RunMakeIndex();
  EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(RunMakeIndex, CancelledOptionsDialogStillRunsWithTheOldOptions) {
  ToolRig rig(false);
  rig.config.Set(&ToolSettings::m_nMkIdxNvr, 0);
  rig.config.Set(&ToolSettings::m_strMkIdxOpt, "-s old.ist");
  std::vector<std::string> shownAtRun;
  rig.platform.onRun = [&](const ToolCall&) {
    shownAtRun = rig.prompts.shown;
    return 0;
  };
  EXPECT_EQ(rig.compiler.RunMakeIndex(), 1);  // no dialog script: the dialog is cancelled
  ASSERT_EQ(rig.platform.runs.size(), 1u);
  EXPECT_EQ(rig.platform.runs[0].args, (std::vector<std::string>{"-s", "old.ist", "paper"}));
  // Whatever the options dialog showed came before the run, and nothing else.
  EXPECT_EQ(shownAtRun, rig.prompts.shown);
  for (const std::string& s : rig.prompts.shown) EXPECT_EQ(s, "mkidx");
  EXPECT_TRUE(rig.profile.log.empty());
}

// What the user types in the options dialog is what this very run gets, and
// ticking "never" lets the next run go ahead without the dialog.
TEST(RunMakeIndex, OptionsFromTheDialogReachThisRunAndNeverStopsTheNextDialog) {
  ToolRig rig(false);
  rig.starts["mendex"] = 0;
  rig.config.Set(&ToolSettings::m_nMkIdxNvr, 0);
  rig.config.Set(&ToolSettings::m_strMkIdxOpt, "-s old.ist");
  rig.prompts.mkIdx.push_back([](CMkIdxOptDlg& d) {
    d.SaveExchange("-s new.ist -g", 1 != 0);
    return true;
  });

  EXPECT_EQ(rig.compiler.RunMakeIndex(), 1);
  EXPECT_EQ(rig.profile.log,
            (std::vector<std::string>{"W Settings/MkIdxOpt=-s new.ist -g", "W Settings/MkIdxNvr=1"}));
  ASSERT_EQ(rig.platform.runs.size(), 1u);
  EXPECT_EQ(rig.platform.runs[0].args, (std::vector<std::string>{"-s", "new.ist", "-g", "paper"}));

  rig.prompts.shown.clear();
  EXPECT_EQ(rig.compiler.RunMakeIndex(), 1);
  EXPECT_TRUE(rig.prompts.shown.empty());
  ASSERT_EQ(rig.platform.runs.size(), 2u);
  EXPECT_EQ(rig.platform.runs[1].args, rig.platform.runs[0].args);
}

// TeX Live has no jbibtex: a Mirvan.ini that still names it falls back to
// pbibtex, found in a probe folder without asking anything.
TEST(RunBibTeX, TeXLiveFallsBackToPbibtexWithoutAsking) {
  ToolRig rig(true);
  rig.starts["/usr/bin/pbibtex"] = 0;
  rig.config.Set(&ToolSettings::m_strBib, "jbibtex");

  EXPECT_EQ(rig.compiler.RunBibTeX(), 1);
  EXPECT_TRUE(rig.prompts.shown.empty());
  EXPECT_EQ(rig.profile.log, std::vector<std::string>{"W Settings/Bib=/usr/bin/pbibtex"});
  EXPECT_EQ(rig.platform.Programs(),
            (std::vector<std::string>{"jbibtex", "/usr/local/bin/pbibtex", "/usr/bin/pbibtex"}));
}

}  // namespace
