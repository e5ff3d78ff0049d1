// The bar's behaviour, as both front ends get it: what the view is told to
// draw and when, which events act while an action runs, how the bar ends,
// what is told of an action's end, and where the manual is.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "config/resource_ids.h"
#include "core/bar_controller.h"
#include "support/fakes.h"

namespace {

using Items = std::vector<std::string>;

class RecordingView : public IBarView {
 public:
  void ShowHistory(const HistoryBox& history, bool entriesChanged) override {
    shown.push_back(history.Items());
    refilled.push_back(entriesChanged);
  }
  void SetBusy(bool on) override { busy.push_back(on); }
  void FocusHistory() override { ++focus; }
  void ShowProblems(const ProblemList& problems, bool failed) override {
    lists.push_back(problems.Entries().size());
    listFocus.push_back(failed);
  }
  void OpenProblemList() override { ++listsOpened; }
  void ShowCompileOnSave(bool on) override { titles.push_back(on); }
  void ShowAbout() override { ++abouts; }
  void SettleAfter(int ms) override { settles.push_back(ms); }

  std::vector<Items> shown;  // the list at each drawing
  std::vector<bool> refilled;  // whether the list itself was new then
  std::vector<bool> busy;
  int focus = 0;
  std::vector<std::size_t> lists;  // the entries of each list shown
  std::vector<bool> listFocus;
  int listsOpened = 0;
  std::vector<bool> titles;  // what each title said of compile on save
  int abouts = 0;
  std::vector<int> settles;
};

// A bar with two documents in its history and a compiler that starts.
struct Bar : WorldOn<> {
  Bar() {
    profile.Set("RFL", "File0", "C:\\w\\a.tex");
    profile.Set("RFL", "File1", "C:\\w\\b.tex");
    profile.Set("Settings", "TeX", "ptex");
    platform.onRun = [](const ToolCall&) { return 0; };
  }
  // The window has opened; what its start wrote is forgotten.
  void Open() {
    bar.Open();
    profile.log.clear();
  }
  long Saves() const { return std::count(profile.log.begin(), profile.log.end(), "W RFL/File0=C:\\w\\a.tex"); }

  RecordingView view;
  BarController bar{env, view};
};

TEST(BarController, TheHistoryIsDrawnOncePerEventThatChangedIt) {
  Bar b;
  b.platform.files["C:\\w\\b.tex"] = 1;
  using Act = std::function<void(BarController&, ScriptedPrompts&)>;
  const struct {
    const char* what;
    Act act;
    size_t drawings;  // in all, after the event
    bool refilled;    // the last drawing had a new list, not just a new selection
  } steps[] = {
      {"the bar opens", [](BarController& bar, ScriptedPrompts&) { bar.Open(); }, 1, true},
      {"a TeX file dropped", [](BarController& bar, ScriptedPrompts&) { bar.Drop({"C:\\w\\c.tex"}); }, 2, true},
      {"another file dropped", [](BarController& bar, ScriptedPrompts&) { bar.Drop({"C:\\w\\c.txt"}); }, 2, true},
      {"a file picked",
       [](BarController& bar, ScriptedPrompts& prompts) {
         prompts.picks.push_back(std::string("C:\\w\\d.tex"));
         bar.Press(control::kSelectFile);
       },
       3, true},
      {"the file dialog cancelled", [](BarController& bar, ScriptedPrompts&) { bar.Press(control::kSelectFile); },
       3, true},
      {"an entry chosen", [](BarController& bar, ScriptedPrompts&) { bar.ChooseHistory(3); }, 4, true},
      {"a compile", [](BarController& bar, ScriptedPrompts&) { bar.Press(control::kCompile); }, 4, true},
      {"a number that is no button", [](BarController& bar, ScriptedPrompts&) { bar.Press(4242); }, 4, true},
      {"the top entry chosen again", [](BarController& bar, ScriptedPrompts&) { bar.ChooseHistory(0); }, 5, false},
      {"a typed text taken for a choice", [](BarController& bar, ScriptedPrompts&) { bar.ShowHistoryAgain(); }, 6,
       false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(b.bar, b.prompts);
    ASSERT_EQ(b.view.shown.size(), step.drawings);
    EXPECT_EQ(b.view.shown.back(), b.bar.History().Items());
    EXPECT_EQ(b.view.refilled.back(), step.refilled);
  }
  EXPECT_EQ(b.bar.History().Items(), (Items{"C:\\w\\b.tex", "C:\\w\\d.tex", "C:\\w\\c.tex", "C:\\w\\a.tex"}));
}

TEST(BarController, EventsWhileAnActionRunsAreIgnored) {
  Bar b;
  b.Open();
  int runs = 0;
  b.platform.onRun = [&](const ToolCall&) {
    ++runs;
    EXPECT_TRUE(b.bar.Busy());
    b.bar.Press(control::kCompile);
    b.bar.Press(control::kSelectFile);
    b.bar.Drop({"C:\\w\\c.tex"});
    return 0;
  };
  b.bar.Press(control::kCompile);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(b.prompts.shown.empty()) << "no file dialog";
  EXPECT_EQ(b.bar.History().Items(), (Items{"C:\\w\\a.tex", "C:\\w\\b.tex"}));
  EXPECT_EQ(b.view.busy, (std::vector<bool>{true, false}));
  EXPECT_FALSE(b.bar.Busy());
}

TEST(BarController, AnEntryChosenWhileAnActionRunsIsDrawnBackAsTheListIs) {
  Bar b;
  b.platform.files["C:\\w\\b.tex"] = 1;
  b.Open();
  size_t drawingsInside = 0;
  b.platform.onRun = [&](const ToolCall&) {
    const size_t before = b.view.shown.size();
    b.bar.ChooseHistory(1);
    drawingsInside = b.view.shown.size() - before;
    return 0;
  };
  b.bar.Press(control::kCompile);
  EXPECT_EQ(drawingsInside, 1u);
  EXPECT_EQ(b.view.shown.back(), (Items{"C:\\w\\a.tex", "C:\\w\\b.tex"}));
  EXPECT_EQ(b.bar.History().Items(), (Items{"C:\\w\\a.tex", "C:\\w\\b.tex"}));
  EXPECT_EQ(b.bar.History().GetCurSel(), 0);
}

// The user's own ways to end (the close box, Esc) wait for a running action;
// the session's end and a signal do not. Whichever way, the history is saved
// once, and nothing acts afterwards.
TEST(BarController, EveryWayToEndSavesTheHistoryOnce) {
  const struct {
    BarEnd how;
    bool whileBusy;
  } ways[] = {{BarEnd::CloseBox, false}, {BarEnd::Escape, false}, {BarEnd::Session, true}, {BarEnd::Signal, true}};
  for (const auto& way : ways) {
    SCOPED_TRACE(static_cast<int>(way.how));
    Bar b;
    b.Open();
    bool endedInside = true;
    long savesInside = -1;
    b.platform.onRun = [&](const ToolCall&) {
      endedInside = b.bar.End(way.how);
      savesInside = b.Saves();
      return 0;
    };
    b.bar.Press(control::kCompile);
    EXPECT_EQ(endedInside, way.whileBusy);
    EXPECT_EQ(savesInside, way.whileBusy ? 1 : 0);
    EXPECT_TRUE(b.bar.End(way.how));
    EXPECT_TRUE(b.bar.Ended());
    EXPECT_EQ(b.Saves(), 1);
    const size_t runs = b.platform.runs.size();
    b.bar.Press(control::kCompile);
    EXPECT_EQ(b.platform.runs.size(), runs);
  }
}

TEST(BarController, EnterDoesNothing) {
  Bar b;
  b.Open();
  const size_t drawings = b.view.shown.size();
  b.bar.Enter();
  EXPECT_FALSE(b.bar.Ended());
  EXPECT_EQ(b.view.shown.size(), drawings);
  EXPECT_TRUE(b.profile.log.empty());
  EXPECT_TRUE(b.platform.runs.empty());
  EXPECT_TRUE(b.prompts.shown.empty());
}

// An action that failed without a box saying so: where the tools' consoles
// close with them, the bar tells it in a notice; a console of the program's
// own keeps it in view on its last line instead.
TEST(BarController, AFailureNoBoxToldIsNoticedOnlyWhereNoConsoleKeepsIt) {
  const struct {
    const char* title;
    bool showsVerdicts;
    const char* converter;
    long notices;  // of the verdict's text
  } cases[] = {
      {"the converter is found nowhere, the consoles are gone", false, "dvipdfmx", 1},
      {"the converter is found nowhere, the console keeps the end", true, "dvipdfmx", 0},
      {"a pinned converter that will not start: its own notice", false, "C:\\x\\dvipdfmx.exe", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    Bar b;
    b.profile.Set("Settings", "DviPdf", c.converter);
    b.profile.Set("Settings", "PdfNeShow", "1");
    b.profile.Set("Settings", "Acr", "1");
    b.platform.showsVerdicts = c.showsVerdicts;
    b.platform.onRun = [](const ToolCall&) { return -1; };
    b.platform.files["C:\\w\\a.dvi"] = 1;
    b.Open();
    b.bar.Press(control::kMakePdf);
    const ActionVerdict& verdict = b.bar.LastVerdict();
    EXPECT_EQ(verdict.kind, ActionVerdict::Kind::Failure);
    EXPECT_EQ(std::count(b.prompts.shown.begin(), b.prompts.shown.end(), "notice:" + verdict.text), c.notices);
  }
}

TEST(BarController, TheManualIsTheFirstCandidateThatExists) {
  const struct {
    bool windows;
    std::string dir;
    std::vector<std::string> files;
    std::string path;
  } cases[] = {
      {false, "/opt/m/bin/", {}, "/opt/m/bin/manual.html"},
      {false, "/opt/m/bin/", {"/opt/m/bin/../share/doc/mirvan/manual.html", "/opt/m/bin/../docs/manual.html"},
       "/opt/m/bin/../share/doc/mirvan/manual.html"},
      {false, "/src/build/tests/", {"/src/build/tests/../../docs/manual.html"},
       "/src/build/tests/../../docs/manual.html"},
      {true, "C:\\m\\", {"C:\\m\\..\\docs\\manual.html"}, "C:\\m\\..\\docs\\manual.html"},
      {true, "C:\\m\\", {"C:\\m\\manual.html", "C:\\m\\..\\docs\\manual.html"}, "C:\\m\\manual.html"},
  };
  for (const auto& c : cases) {
    WorldOn<> world(c.windows ? WindowsPlatformValues() : PosixPlatformValues());
    for (const std::string& f : c.files) world.platform.files[f] = 1;
    RecordingView view;
    BarController bar(world.env, view);
    EXPECT_EQ(bar.ManualPath(c.dir), c.path) << c.dir;
  }
}

TEST(BarController, AToolTipIsWhatFollowsTheStringsLineBreak) {
  EXPECT_EQ(BarController::ToolTipOf("Compile\nTeX でコンパイル"), "TeX でコンパイル");
  EXPECT_EQ(BarController::ToolTipOf("a\nb\nc"), "b\nc");
  EXPECT_EQ(BarController::ToolTipOf("one line"), "one line");
}

// Compile on save through a watch the test drives: a change compiles once
// it has settled, saves during an action compile once more after it, and a
// compile waiting at TeX's prompt is stopped for the new one.
struct Saving : Bar {
  Saving() {
    profile.Set("Settings", "CompileOnSave", "1");
    profile.Set("RFL", "File0", "C:\\w\\a.tex");
  }
  // A save the watch reports, settled.
  void Save() {
    platform.watch->changes.push_back({"C:\\w\\a.tex"});
    bar.FilesMayHaveChanged();
    bar.SavesSettled();
  }
};

TEST(CompileOnSave, ASaveCompilesOnceItHasSettled) {
  Saving b;
  b.Open();
  ASSERT_NE(b.platform.watch, nullptr);
  EXPECT_EQ(b.platform.watch->watched, Items{"C:\\w\\a.tex"});
  EXPECT_EQ(b.view.titles, std::vector<bool>{true});
  // Nothing changed: nothing runs.
  b.bar.FilesMayHaveChanged();
  b.bar.SavesSettled();
  EXPECT_TRUE(b.platform.runs.empty());
  // A change waits for the files to settle, then compiles as TeX does.
  b.platform.watch->changes.push_back({"C:\\w\\a.tex"});
  b.bar.FilesMayHaveChanged();
  EXPECT_TRUE(b.platform.runs.empty());
  EXPECT_EQ(b.view.settles, std::vector<int>{BarController::kSettleMs});
  b.bar.SavesSettled();
  EXPECT_EQ(b.platform.Programs(), Items{"ptex"});
  b.bar.SavesSettled();  // a second settling without a change does nothing
  EXPECT_EQ(b.platform.runs.size(), 1u);
}

TEST(CompileOnSave, AFileStillBeingWrittenWaitsAndAChangeMeanwhileStartsTheWaitOver) {
  Saving b;
  b.Open();
  b.platform.watch->retryMs = 200;
  b.Save();  // settled, but the system says a file is still being written
  EXPECT_TRUE(b.platform.runs.empty());
  EXPECT_EQ(b.view.settles, (std::vector<int>{200, 200}));
  b.platform.watch->retryMs = -1;
  b.platform.watch->changes.push_back({"C:\\w\\a.tex"});
  b.bar.SavesSettled();  // it changed again meanwhile: not quiet yet
  EXPECT_TRUE(b.platform.runs.empty());
  b.bar.SavesSettled();
  EXPECT_EQ(b.platform.runs.size(), 1u);
}

TEST(CompileOnSave, SavesDuringAnActionCompileOnceMoreAfterIt) {
  const struct {
    const char* what;
    int control;        // the action the saves come during
    bool waiting;       // its tool waits at TeX's prompt
    int stops;          // tools stopped for the saves
    std::size_t runs;   // in all
  } cases[] = {
      {"a compile, ten saves", control::kCompile, false, 0, 2},
      {"a compile waiting at its prompt", control::kCompile, true, 1, 2},
      {"a PDF (a compile, then the converter), waiting at a prompt: not stopped", control::kMakePdf, true, 0, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Saving b;
    b.profile.Set("Settings", "PdfNeShow", "1");
    b.profile.Set("Settings", "DviPdf", "ptex");
    b.Open();
    bool first = true;
    b.platform.onRun = [&](const ToolCall&) {
      if (first) {
        first = false;
        b.platform.awaitsAnswer = c.waiting;
        for (int i = 0; i < 10; ++i) b.Save();
        b.platform.awaitsAnswer = false;
      }
      return 0;
    };
    b.bar.Press(c.control);
    EXPECT_EQ(b.platform.runs.size(), c.runs);
    EXPECT_EQ(b.platform.toolsStopped, c.stops);
    EXPECT_FALSE(b.bar.Busy());
  }
}

TEST(CompileOnSave, TurnedOffItWatchesNothingAndSaysSo) {
  Saving b;
  b.Open();
  const std::vector<MenuEntry> menu = b.bar.ContextMenu();
  const auto watch = std::find_if(menu.begin(), menu.end(),
                                  [](const MenuEntry& e) { return e.command == string_id::kCompileOnSaveMenu; });
  ASSERT_NE(watch, menu.end());
  EXPECT_TRUE(watch->checkable && watch->checked);
  b.bar.Choose(string_id::kCompileOnSaveMenu);
  EXPECT_FALSE(b.bar.CompileOnSave());
  EXPECT_EQ(b.bar.WatchHandle(), -1);
  EXPECT_EQ(b.view.titles, (std::vector<bool>{true, false}));
  EXPECT_EQ(b.profile.Get("Settings", "CompileOnSave"), "0");
  b.bar.FilesMayHaveChanged();
  b.bar.SavesSettled();
  EXPECT_TRUE(b.platform.runs.empty());
}

TEST(ContextMenu, TheFirstEntryIsWhereTheLastListIs) {
  for (const bool console : {true, false}) {
    Bar b;
    b.platform.showsVerdicts = console;
    b.Open();
    const std::vector<MenuEntry> menu = b.bar.ContextMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].command, console ? string_id::kLastOutputMenu : string_id::kProblemsMenu);
    EXPECT_EQ(menu[2].command, string_id::kAboutMenu);
    b.bar.Choose(menu[0].command);
    b.bar.Choose(string_id::kAboutMenu);
    EXPECT_EQ(b.view.listsOpened, 1);
    EXPECT_EQ(b.view.abouts, 1);
  }
}

}  // namespace
