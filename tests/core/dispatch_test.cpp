// A button action ends at the first file or memory error or refused tool
// run, and the error is reported once, in the box the bar uses for it.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/errors.h"
#include "support/bar.h"

namespace {

using Env = BarOn<>;

TEST(RunAction, PlainActionRunsAndShowsNothing) {
  Env e;
  int ran = 0;
  EXPECT_TRUE(e.dlg.RunAction([&] { ++ran; }));
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(e.prompts.shown.empty());
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
    EXPECT_FALSE(e.dlg.RunAction([&] {
      e.prompts.Notice("before");
      throw FileError(row.path);
      after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_EQ(e.prompts.shown, (std::vector<std::string>{"notice:before", row.box}));
  }
}

TEST(RunAction, RefusedToolRunEndsTheActionWithItsReason) {
  Env e;
  e.Configure("C:\\work\\p%x.tex");
  e.platform.onRun = [](const ToolCall&) -> int { throw ToolRefused("refused: p%x"); };
  EXPECT_FALSE(e.dlg.RunAction([&] { e.dlg.CompileAndMakePdf(); }));
  EXPECT_EQ(e.platform.runs.size(), 1u);
  EXPECT_EQ(e.prompts.shown, (std::vector<std::string>{"box:|stop|refused: p%x"}));
  EXPECT_EQ(e.platform.failures, (std::vector<std::string>{"refused: p%x"}));
}

TEST(RunAction, MemoryErrorsShowTheExclamationBox) {
  const std::string box = "box:|exclamation|ﾒﾓﾘが不足しています。";
  Env e;
  EXPECT_FALSE(e.dlg.RunAction([] { throw MemoryError(); }));
  EXPECT_FALSE(e.dlg.RunAction([] { throw std::bad_alloc(); }));
  EXPECT_EQ(e.prompts.shown, (std::vector<std::string>{box, box}));
}

TEST(RunAction, NextActionRunsNormallyAfterAnError) {
  Env e;
  EXPECT_FALSE(e.dlg.RunAction([] { throw FileError("a.log"); }));
  EXPECT_TRUE(e.dlg.RunAction([] {}));
  EXPECT_EQ(e.prompts.shown.size(), 1u);
}

TEST(RunAction, OtherExceptionsAreNotSwallowed) {
  Env e;
  EXPECT_THROW(e.dlg.RunAction([] { throw std::logic_error("bug"); }), std::logic_error);
  EXPECT_TRUE(e.prompts.shown.empty());
}

}  // namespace
