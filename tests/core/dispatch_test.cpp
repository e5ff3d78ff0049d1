// A button action ends at the first file or memory error or refused tool
// run, and the error is reported once, in the box the bar uses for it; the
// action's verdict, which ends its transcript, says the same.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/errors.h"
#include "support/bar.h"

namespace {

using Env = BarOn<>;
using Kind = ActionVerdict::Kind;

TEST(RunAction, PlainActionRunsAndShowsNothing) {
  Env e;
  int ran = 0;
  EXPECT_EQ(e.dlg.RunAction([&] { ++ran; }).kind, Kind::None);
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(e.prompts.shown.empty());
  ASSERT_EQ(e.platform.verdicts.size(), 1u) << "the action's transcript ends once";
  EXPECT_EQ(e.platform.verdicts[0].kind, Kind::None);
}

TEST(RunAction, MissingFileEndsTheActionWithStopBox) {
  struct Row {
    std::string path;
    std::string box;
  };
  const Row rows[] = {
      {"paper.log", "box:|stop|paper.log が見つかりませんでした。"},
      {"C:\\work\\ﾃｽﾄ 1\\paper.aux", "box:|stop|C:\\work\\ﾃｽﾄ 1\\paper.aux が見つかりませんでした。"},
      {"/home/u/%1.toc", "box:|stop|/home/u/%1.toc が見つかりませんでした。"},
  };
  for (const Row& row : rows) {
    Env e;
    bool after = false;
    const ActionVerdict verdict = e.dlg.RunAction([&] {
      e.prompts.Notice("before");
      throw FileError(row.path);
      after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_EQ(e.prompts.shown, (std::vector<std::string>{"notice:before", row.box}));
    EXPECT_EQ(verdict.kind, Kind::Failure);
    EXPECT_EQ("box:|stop|" + verdict.text, row.box);
    EXPECT_TRUE(verdict.shownInBox);
    ASSERT_EQ(e.platform.verdicts.size(), 1u);
    EXPECT_EQ(e.platform.verdicts[0].text, verdict.text);
  }
}

TEST(RunAction, RefusedToolRunEndsTheActionWithItsReason) {
  Env e;
  e.Open("C:\\work\\p&x.tex");
  e.platform.onRun = [](const ToolCall&) -> int { throw ToolRefused("refused: p&x"); };
  const ActionVerdict verdict = e.dlg.RunAction([&] { e.dlg.CompileAndMakePdf(); });
  EXPECT_EQ(e.platform.runs.size(), 1u);
  EXPECT_EQ(e.prompts.shown, (std::vector<std::string>{"box:|stop|refused: p&x"}));
  EXPECT_EQ(verdict.kind, Kind::Failure);
  EXPECT_EQ(verdict.text, "refused: p&x");
  EXPECT_TRUE(verdict.shownInBox);
}

TEST(RunAction, MemoryErrorsShowTheExclamationBox) {
  const std::string box = "box:|exclamation|ﾒﾓﾘが不足しています。";
  Env e;
  EXPECT_EQ(e.dlg.RunAction([] { throw MemoryError(); }).kind, Kind::Failure);
  EXPECT_EQ(e.dlg.RunAction([] { throw std::bad_alloc(); }).kind, Kind::Failure);
  EXPECT_EQ(e.prompts.shown, (std::vector<std::string>{box, box}));
}

TEST(RunAction, NextActionRunsNormallyAfterAnError) {
  Env e;
  EXPECT_EQ(e.dlg.RunAction([] { throw FileError("a.log"); }).kind, Kind::Failure);
  EXPECT_EQ(e.dlg.RunAction([] {}).kind, Kind::None);
  EXPECT_EQ(e.prompts.shown.size(), 1u);
}

TEST(RunAction, OtherExceptionsAreNotSwallowed) {
  Env e;
  EXPECT_THROW(e.dlg.RunAction([] { throw std::logic_error("bug"); }), std::logic_error);
  EXPECT_TRUE(e.prompts.shown.empty());
}

}  // namespace
