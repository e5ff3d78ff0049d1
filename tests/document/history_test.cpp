// The history: loading at start with the command-line document, the rule
// that puts a new document on top, choosing an entry, and saving at close.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
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
    doc = std::make_unique<Document>(MirvanEnv{profile, platform, prompts});
    doc->SetFile(commandLine);
    doc->LoadHistory();
    doc->LoadHistoryFinish();
    Shown();
  }
  Items List() const { return doc->History().Items(); }
  // The selection as the box reports it, then the document's answer to it.
  bool Choose(int index) {
    doc->History().SetCurSel(index);
    Shown();
    return doc->SelectHistory();
  }
  // The bar has drawn the history box as it is now, and given it the focus.
  void Shown() {
    shownRevision = doc->History().Revision();
    doc->History().TakeFocusRequest();
  }
  bool HistoryChanged() const { return doc->History().Revision() != shownRevision; }

  MemoryProfile profile;
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  std::unique_ptr<Document> doc;
  unsigned shownRevision = 0;
};

class PosixHistoryTest : public HistoryTest {
 protected:
  PosixHistoryTest() : HistoryTest(PosixPlatformValues()) {}
};

TEST_F(HistoryTest, StartWithoutHistoryOrCommandLineHasNoDocument) {
  Start();
  EXPECT_EQ(doc->HistoryMax(), 16);
  EXPECT_TRUE(doc->History().GetExtendedUI());
  EXPECT_EQ(doc->History().GetCount(), 0);
  EXPECT_EQ(doc->File(), "");
  EXPECT_EQ(doc->Dir(), "");
  EXPECT_EQ(doc->Name(), "");
  EXPECT_EQ(doc->History().GetCurSel(), -1);
}

TEST_F(HistoryTest, StartWithoutCommandLineTakesTheMostRecentEntry) {
  Store({"C:\\work\\paper.tex", "C:\\old\\thesis.tex"});
  Start();
  EXPECT_EQ(List(), (Items{"C:\\work\\paper.tex", "C:\\old\\thesis.tex"}));
  EXPECT_EQ(doc->File(), "C:\\work\\paper.tex");
  EXPECT_EQ(doc->Dir(), "C:\\work\\");
  EXPECT_EQ(doc->Name(), "paper");
  EXPECT_EQ(doc->History().GetCurSel(), 0);
  EXPECT_EQ(doc->History().GetEditText(), "C:\\work\\paper.tex");
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
  EXPECT_EQ(doc->History().GetCurSel(), 0);
  EXPECT_EQ(doc->Dir(), "/w/");
  EXPECT_EQ(doc->Name(), "b");
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
    EXPECT_EQ(doc->File(), pick);
    EXPECT_EQ(doc->History().GetCurSel(), 0);
    EXPECT_EQ(doc->History().GetEditText(), pick);
  }
}

// A backslash is part of a POSIX file name: the document is a\b.tex in
// docs/, not b.tex in a folder docs/a that is not there.
TEST_F(PosixHistoryTest, ABackslashIsNoSeparatorOnPosix) {
  Start("/w/docs/a\\b.tex");
  EXPECT_EQ(doc->Dir(), "/w/docs/");
  EXPECT_EQ(doc->Name(), "a\\b");
}

TEST_F(HistoryTest, CommandLineDocumentOnAFullHistoryDropsTheOldest) {
  Store(Numbered("/d/", 16));
  Start("/new/doc.tex");
  Items expected = Numbered("/d/", 15);
  expected.insert(expected.begin(), "/new/doc.tex");
  EXPECT_EQ(List(), expected);
  EXPECT_EQ(doc->File(), "/new/doc.tex");
}

TEST_F(HistoryTest, CommandLineIsTakenUnparsed) {
  // Neither existence nor extension is looked at; quotes and blanks stay.
  Start("\"C:\\My Files\\a.tex\" b.tex");
  EXPECT_EQ(List(), (Items{"\"C:\\My Files\\a.tex\" b.tex"}));
  EXPECT_EQ(doc->File(), "\"C:\\My Files\\a.tex\" b.tex");
  EXPECT_EQ(doc->Dir(), "\"C:\\My Files\\");
  EXPECT_EQ(doc->Name(), "a.tex\" b");
  EXPECT_TRUE(platform.runs.empty());
}

TEST_F(HistoryTest, SeventeenthDocumentPushesOutTheOldest) {
  Store(Numbered("C:\\d\\", 16));
  Start();
  doc->OnDropFiles({"C:\\new\\x.tex"});
  ASSERT_EQ(doc->History().GetCount(), 16);
  EXPECT_EQ(doc->History().GetText(0), "C:\\new\\x.tex");
  EXPECT_EQ(doc->History().GetText(15), "C:\\d\\14.tex");
}

TEST_F(HistoryTest, SameDocumentTwiceStaysOnceOnTop) {
  Store({"C:\\a.tex", "C:\\b.tex", "C:\\c.tex"});
  Start();
  doc->OnDropFiles({"C:\\b.tex"});
  doc->OnDropFiles({"C:\\b.tex"});
  EXPECT_EQ(List(), (Items{"C:\\b.tex", "C:\\a.tex", "C:\\c.tex"}));
}

TEST_F(HistoryTest, OtherLetterCaseIsTheSameDocumentOnWindows) {
  Store({"c:\\work\\a.tex", "c:\\other.tex"});
  Start();
  doc->OnDropFiles({"C:\\Work\\A.tex"});
  EXPECT_EQ(List(), (Items{"C:\\Work\\A.tex", "c:\\other.tex"}));
  EXPECT_EQ(doc->File(), "C:\\Work\\A.tex");
}

TEST_F(PosixHistoryTest, OtherLetterCaseIsAnotherDocumentOnPosix) {
  Store({"/work/a.tex", "/other.tex"});
  Start();
  doc->OnDropFiles({"/work/A.tex"});
  EXPECT_EQ(List(), (Items{"/work/A.tex", "/work/a.tex", "/other.tex"}));
}

TEST_F(PosixHistoryTest, SamePathOnPosixIsReplaced) {
  Store({"/work/a.tex", "/other.tex"});
  Start();
  doc->OnDropFiles({"/other.tex"});
  EXPECT_EQ(List(), (Items{"/other.tex", "/work/a.tex"}));
}

// A longer path that merely begins with the new one is another document and
// must stay; the real duplicate further down must go.
TEST_F(HistoryTest, LongerPathBeginningWithTheDocumentIsKept) {
  Store({"C:\\w\\a.tex.old\\b.tex", "C:\\x.tex", "C:\\w\\a.tex"});
  Start();
  doc->OnDropFiles({"C:\\w\\a.tex"});
  EXPECT_EQ(List(), (Items{"C:\\w\\a.tex", "C:\\w\\a.tex.old\\b.tex", "C:\\x.tex"}));
}

TEST_F(PosixHistoryTest, LongerPathBeginningWithTheDocumentIsKept) {
  Store({"/w/a.tex.d/b.tex", "/w/a.tex"});
  Start();
  doc->OnDropFiles({"/w/a.tex"});
  EXPECT_EQ(List(), (Items{"/w/a.tex", "/w/a.tex.d/b.tex"}));
}

TEST_F(HistoryTest, DocumentListedTwiceSinceStartEndsUpOnce) {
  Store({"/w/a.tex", "/w/b.tex"});
  Start("/w/b.tex");
  doc->OnDropFiles({"/w/b.tex"});
  EXPECT_EQ(List(), (Items{"/w/b.tex", "/w/a.tex"}));
}

TEST_F(HistoryTest, DropSetsTheEditTextAndFocusButSelectsNothing) {
  Store({"/w/a.tex"});
  Start();
  doc->History().SetCurSel(-1);
  Shown();
  EXPECT_TRUE(doc->OnDropFiles({"/w/b.tex"}));
  EXPECT_EQ(doc->History().GetEditText(), "/w/b.tex");
  EXPECT_EQ(doc->History().GetCurSel(), -1);
  EXPECT_TRUE(doc->History().TakeFocusRequest());
  EXPECT_TRUE(HistoryChanged());
}

TEST_F(HistoryTest, ChoosingAnEntryMakesItTheDocumentOnTop) {
  Store({"/w/a.tex", "/w/b.tex", "/w/c.tex"});
  platform.files["/w/c.tex"] = 1;
  Start();
  EXPECT_TRUE(Choose(2));
  EXPECT_EQ(List(), (Items{"/w/c.tex", "/w/a.tex", "/w/b.tex"}));
  EXPECT_EQ(doc->File(), "/w/c.tex");
  EXPECT_EQ(doc->Dir(), "/w/");
  EXPECT_EQ(doc->Name(), "c");
  EXPECT_EQ(doc->History().GetCurSel(), 0);
  EXPECT_EQ(doc->History().GetEditText(), "/w/c.tex");
  EXPECT_TRUE(HistoryChanged());
}

TEST_F(HistoryTest, ChoosingADeletedFileRemovesItAndKeepsTheDocument) {
  Store({"/w/a.tex", "/w/gone.tex", "/w/c.tex"});
  platform.files["/w/a.tex"] = 1;
  Start();
  Choose(1);
  EXPECT_EQ(List(), (Items{"/w/a.tex", "/w/c.tex"}));
  EXPECT_EQ(doc->File(), "/w/a.tex");
  EXPECT_EQ(doc->Name(), "a");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(HistoryTest, ChoosingTheCurrentDocumentAfterItWasDeleted) {
  Store({"/w/a.tex", "/w/b.tex"});
  Start();
  Choose(0);
  EXPECT_EQ(List(), (Items{"/w/b.tex"}));
  EXPECT_EQ(doc->File(), "/w/a.tex");
  EXPECT_EQ(doc->Dir(), "/w/");
}

TEST_F(HistoryTest, NoSelectionDoesNothing) {
  Store({"/w/a.tex"});
  Start();
  EXPECT_FALSE(Choose(-1));
  EXPECT_EQ(List(), (Items{"/w/a.tex"}));
  EXPECT_FALSE(HistoryChanged());
}

}  // namespace
