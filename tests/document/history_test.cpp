// The history: loading at start with the command-line document, the rule
// that puts a new document on top, choosing an entry, and saving at close.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/mirvan_dlg.h"
#include "support/fakes.h"

namespace {

using Items = std::vector<std::string>;

std::string Key(int i) { return "File" + std::to_string(i); }

Items Numbered(const std::string& prefix, int count) {
  Items out;
  for (int i = 0; i < count; ++i) out.push_back(prefix + std::to_string(i) + ".tex");
  return out;
}

class HistoryTest : public ::testing::Test {
 protected:
  explicit HistoryTest(PlatformValues values = WindowsPlatformValues()) : platform(std::move(values)) {}

  void Store(const Items& paths) {
    for (size_t i = 0; i < paths.size(); ++i) profile.Set("RFL", Key(static_cast<int>(i)), paths[i]);
  }
  // The window's start: the history list, then the current document's entry.
  void Start(const std::string& commandLine = std::string()) {
    dlg = std::make_unique<CMirvanDlg>(MirvanEnv{profile, platform, prompts});
    dlg->SetRepaint([this] { ++repaints; });
    dlg->Doc().History().SetView(nullptr, [this] { ++focus; });
    dlg->Doc().SetFile(commandLine);
    dlg->Doc().LoadHistory();
    dlg->Doc().LoadHistoryFinish();
  }
  Items List() const { return dlg->Doc().History().Items(); }
  void Choose(int index) {
    dlg->Doc().History().SetCurSel(index);
    dlg->SelectHistory();
  }

  MemoryProfile profile;
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  std::unique_ptr<CMirvanDlg> dlg;
  int repaints = 0;
  int focus = 0;
};

class PosixHistoryTest : public HistoryTest {
 protected:
  PosixHistoryTest() : HistoryTest(PosixPlatformValues()) {}
};

TEST_F(HistoryTest, StartWithoutHistoryOrCommandLineHasNoDocument) {
  Start();
  EXPECT_EQ(dlg->Doc().HistoryMax(), 16);
  EXPECT_TRUE(dlg->Doc().History().GetExtendedUI());
  EXPECT_EQ(dlg->Doc().History().GetCount(), 0);
  EXPECT_EQ(dlg->Doc().File(), "");
  EXPECT_EQ(dlg->Doc().Dir(), "");
  EXPECT_EQ(dlg->Doc().Name(), "");
  EXPECT_EQ(dlg->Doc().History().GetCurSel(), -1);
}

TEST_F(HistoryTest, StartWithoutCommandLineTakesTheMostRecentEntry) {
  Store({"C:\\work\\paper.tex", "C:\\old\\thesis.tex"});
  Start();
  EXPECT_EQ(List(), (Items{"C:\\work\\paper.tex", "C:\\old\\thesis.tex"}));
  EXPECT_EQ(dlg->Doc().File(), "C:\\work\\paper.tex");
  EXPECT_EQ(dlg->Doc().Dir(), "C:\\work\\");
  EXPECT_EQ(dlg->Doc().Name(), "paper");
  EXPECT_EQ(dlg->Doc().History().GetCurSel(), 0);
  EXPECT_EQ(dlg->Doc().History().GetEditText(), "C:\\work\\paper.tex");
}

TEST_F(HistoryTest, MissingKeyEndsTheList) {
  Store({"/a0.tex", "/a1.tex", "/a2.tex"});
  profile.Set("RFL", "File4", "/a4.tex");
  profile.Set("RFL", "File5", "/a5.tex");
  Start();
  EXPECT_EQ(List(), (Items{"/a0.tex", "/a1.tex", "/a2.tex"}));
}

TEST_F(HistoryTest, EmptyKeyEndsTheListLikeAMissingOne) {
  Store({"/a0.tex", "", "/a2.tex"});
  Start();
  EXPECT_EQ(List(), (Items{"/a0.tex"}));
}

TEST_F(HistoryTest, AtMostSixteenKeysAreRead) {
  Store(Numbered("/d/", 20));
  Start();
  EXPECT_EQ(List(), Numbered("/d/", 16));
}

// Listed twice, the document came back three times after the next restart.
TEST_F(HistoryTest, CommandLineDocumentAlreadyListedIsListedOnce) {
  Store({"/w/a.tex", "/w/b.tex", "/w/c.tex"});
  Start("/w/b.tex");
  EXPECT_EQ(List(), (Items{"/w/b.tex", "/w/a.tex", "/w/c.tex"}));
  EXPECT_EQ(dlg->Doc().History().GetCurSel(), 0);
  EXPECT_EQ(dlg->Doc().Dir(), "/w/");
  EXPECT_EQ(dlg->Doc().Name(), "b");
}

TEST_F(HistoryTest, ASettingsFileListingAPathTwiceLoadsItOnce) {
  Store({"/w/a.tex", "/w/b.tex", "/w/c.tex", "/w/x/../a.tex", "/w/b.tex"});
  Start();
  EXPECT_EQ(List(), (Items{"/w/a.tex", "/w/b.tex", "/w/c.tex", "/w/x/../a.tex"}));
}

TEST_F(PosixHistoryTest, ChoosingAnEntryShowsThatEntryAndNotOneInOtherLetterCase) {
  Store({"/w/A.tex", "/w/a.tex"});
  Start();
  platform.files = {{"/w/A.tex", 1}, {"/w/a.tex", 1}};
  for (const char* pick : {"/w/a.tex", "/w/A.tex"}) {
    Choose(List()[0] == pick ? 0 : 1);
    EXPECT_EQ(dlg->Doc().File(), pick);
    EXPECT_EQ(dlg->Doc().History().GetCurSel(), 0);
    EXPECT_EQ(dlg->Doc().History().GetEditText(), pick);
  }
}

// A backslash is part of a POSIX file name: the document is a\b.tex in
// docs/, not b.tex in a folder docs/a that is not there.
TEST_F(PosixHistoryTest, ABackslashIsNoSeparatorOnPosix) {
  Start("/w/docs/a\\b.tex");
  EXPECT_EQ(dlg->Doc().Dir(), "/w/docs/");
  EXPECT_EQ(dlg->Doc().Name(), "a\\b");
}

TEST_F(HistoryTest, CommandLineDocumentOnAFullHistoryDropsTheOldest) {
  Store(Numbered("/d/", 16));
  Start("/new/doc.tex");
  Items expected = Numbered("/d/", 15);
  expected.insert(expected.begin(), "/new/doc.tex");
  EXPECT_EQ(List(), expected);
  EXPECT_EQ(dlg->Doc().File(), "/new/doc.tex");
}

TEST_F(HistoryTest, CommandLineIsTakenUnparsed) {
  // Neither existence nor extension is looked at; quotes and blanks stay.
  Start("\"C:\\My Files\\a.tex\" b.tex");
  EXPECT_EQ(List(), (Items{"\"C:\\My Files\\a.tex\" b.tex"}));
  EXPECT_EQ(dlg->Doc().File(), "\"C:\\My Files\\a.tex\" b.tex");
  EXPECT_EQ(dlg->Doc().Dir(), "\"C:\\My Files\\");
  EXPECT_EQ(dlg->Doc().Name(), "a.tex\" b");
  EXPECT_TRUE(platform.runs.empty());
}

TEST_F(HistoryTest, SeventeenthDocumentPushesOutTheOldest) {
  Store(Numbered("C:\\d\\", 16));
  Start();
  dlg->OnDropFiles({"C:\\new\\x.tex"});
  ASSERT_EQ(dlg->Doc().History().GetCount(), 16);
  EXPECT_EQ(dlg->Doc().History().GetText(0), "C:\\new\\x.tex");
  EXPECT_EQ(dlg->Doc().History().GetText(15), "C:\\d\\14.tex");
}

TEST_F(HistoryTest, SameDocumentTwiceStaysOnceOnTop) {
  Store({"C:\\a.tex", "C:\\b.tex", "C:\\c.tex"});
  Start();
  dlg->OnDropFiles({"C:\\b.tex"});
  dlg->OnDropFiles({"C:\\b.tex"});
  EXPECT_EQ(List(), (Items{"C:\\b.tex", "C:\\a.tex", "C:\\c.tex"}));
}

TEST_F(HistoryTest, OtherLetterCaseIsTheSameDocumentOnWindows) {
  Store({"c:\\work\\a.tex", "c:\\other.tex"});
  Start();
  dlg->OnDropFiles({"C:\\Work\\A.tex"});
  EXPECT_EQ(List(), (Items{"C:\\Work\\A.tex", "c:\\other.tex"}));
  EXPECT_EQ(dlg->Doc().File(), "C:\\Work\\A.tex");
}

TEST_F(PosixHistoryTest, OtherLetterCaseIsAnotherDocumentOnPosix) {
  Store({"/work/a.tex", "/other.tex"});
  Start();
  dlg->OnDropFiles({"/work/A.tex"});
  EXPECT_EQ(List(), (Items{"/work/A.tex", "/work/a.tex", "/other.tex"}));
}

TEST_F(PosixHistoryTest, SamePathOnPosixIsReplaced) {
  Store({"/work/a.tex", "/other.tex"});
  Start();
  dlg->OnDropFiles({"/other.tex"});
  EXPECT_EQ(List(), (Items{"/other.tex", "/work/a.tex"}));
}

// A longer path that merely begins with the new one is another document and
// must stay; the real duplicate further down must go.
TEST_F(HistoryTest, LongerPathBeginningWithTheDocumentIsKept) {
  Store({"C:\\w\\a.tex.old\\b.tex", "C:\\x.tex", "C:\\w\\a.tex"});
  Start();
  dlg->OnDropFiles({"C:\\w\\a.tex"});
  EXPECT_EQ(List(), (Items{"C:\\w\\a.tex", "C:\\w\\a.tex.old\\b.tex", "C:\\x.tex"}));
}

TEST_F(PosixHistoryTest, LongerPathBeginningWithTheDocumentIsKept) {
  Store({"/w/a.tex.d/b.tex", "/w/a.tex"});
  Start();
  dlg->OnDropFiles({"/w/a.tex"});
  EXPECT_EQ(List(), (Items{"/w/a.tex", "/w/a.tex.d/b.tex"}));
}

TEST_F(HistoryTest, DocumentListedTwiceSinceStartEndsUpOnce) {
  Store({"/w/a.tex", "/w/b.tex"});
  Start("/w/b.tex");
  dlg->OnDropFiles({"/w/b.tex"});
  EXPECT_EQ(List(), (Items{"/w/b.tex", "/w/a.tex"}));
}

TEST_F(HistoryTest, DropSetsTheEditTextAndFocusButSelectsNothing) {
  Store({"/w/a.tex"});
  Start();
  dlg->Doc().History().SetCurSel(-1);
  dlg->OnDropFiles({"/w/b.tex"});
  EXPECT_EQ(dlg->Doc().History().GetEditText(), "/w/b.tex");
  EXPECT_EQ(dlg->Doc().History().GetCurSel(), -1);
  EXPECT_EQ(focus, 1);
  EXPECT_EQ(repaints, 1);
}

TEST_F(HistoryTest, ChoosingAnEntryMakesItTheDocumentOnTop) {
  Store({"/w/a.tex", "/w/b.tex", "/w/c.tex"});
  platform.files["/w/c.tex"] = 1;
  Start();
  Choose(2);
  EXPECT_EQ(List(), (Items{"/w/c.tex", "/w/a.tex", "/w/b.tex"}));
  EXPECT_EQ(dlg->Doc().File(), "/w/c.tex");
  EXPECT_EQ(dlg->Doc().Dir(), "/w/");
  EXPECT_EQ(dlg->Doc().Name(), "c");
  EXPECT_EQ(dlg->Doc().History().GetCurSel(), 0);
  EXPECT_EQ(dlg->Doc().History().GetEditText(), "/w/c.tex");
  EXPECT_EQ(repaints, 1);
}

TEST_F(HistoryTest, ChoosingADeletedFileRemovesItAndKeepsTheDocument) {
  Store({"/w/a.tex", "/w/gone.tex", "/w/c.tex"});
  platform.files["/w/a.tex"] = 1;
  Start();
  Choose(1);
  EXPECT_EQ(List(), (Items{"/w/a.tex", "/w/c.tex"}));
  EXPECT_EQ(dlg->Doc().File(), "/w/a.tex");
  EXPECT_EQ(dlg->Doc().Name(), "a");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(HistoryTest, ChoosingTheCurrentDocumentAfterItWasDeleted) {
  Store({"/w/a.tex", "/w/b.tex"});
  Start();
  Choose(0);
  EXPECT_EQ(List(), (Items{"/w/b.tex"}));
  EXPECT_EQ(dlg->Doc().File(), "/w/a.tex");
  EXPECT_EQ(dlg->Doc().Dir(), "/w/");
}

TEST_F(HistoryTest, NoSelectionDoesNothing) {
  Store({"/w/a.tex"});
  Start();
  dlg->Doc().History().SetCurSel(-1);
  dlg->SelectHistory();
  EXPECT_EQ(List(), (Items{"/w/a.tex"}));
  EXPECT_EQ(repaints, 0);
}

TEST_F(HistoryTest, InitDialogSettlesTheDocument) {
  Store({"/w/a.tex"});
  dlg = std::make_unique<CMirvanDlg>(MirvanEnv{profile, platform, prompts});
  dlg->Doc().SetFile("/w/b.tex");
  dlg->InitDialogCore();
  EXPECT_EQ(List(), (Items{"/w/b.tex", "/w/a.tex"}));
  EXPECT_EQ(dlg->Doc().History().GetCurSel(), 0);
  EXPECT_EQ(dlg->Doc().Name(), "b");
}

}  // namespace
