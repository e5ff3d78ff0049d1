// The history through the real settings file and real files: what one run
// saves is exactly what the next run loads.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ini_profile.h"
#include "document/document.h"
#include "platform/posix/posix_platform.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace {

using Items = std::vector<std::string>;

class HistoryIniTest : public ::testing::Test {
 protected:
  // One run of the bar: start with the given command line, act, close.
  std::unique_ptr<Document> Start(const std::string& commandLine = std::string()) {
    auto doc = std::make_unique<Document>(MirvanEnv{profile, platform, prompts});
    doc->SetFile(commandLine);
    doc->LoadHistory();
    doc->LoadHistoryFinish();
    return doc;
  }

  TempDir dir;
  IniProfile profile{dir.File("Mirvan.ini")};
  PosixPlatform platform;
  ScriptedPrompts prompts;
};

TEST_F(HistoryIniTest, RemovedEntryStaysRemovedAfterARestart) {
  for (const char* name : {"a.tex", "c.tex", "d.tex"}) dir.Write(name, "\\relax\n");
  const std::string a = dir.File("a.tex"), gone = dir.File("gone.tex"), c = dir.File("c.tex"),
                    d = dir.File("d.tex");
  // A settings file as Windows writes it, with other sections around.
  dir.Write("Mirvan.ini", "[Settings]\r\nTeX=platex\r\n[RFL]\r\nFile0=" + a + "\r\nFile1=" + gone +
                              "\r\nFile2=" + c + "\r\nFile3=" + d + "\r\n[Editor]\r\nEDIT=vi\r\n");
  {
    auto run = Start();
    run->History().SetCurSel(1);
    run->SelectHistory();  // the file is gone: the entry drops out
    EXPECT_EQ(run->History().Items(), (Items{a, c, d}));
    run->OnClose();
  }
  auto next = Start();
  EXPECT_EQ(next->History().Items(), (Items{a, c, d}));
  EXPECT_EQ(next->File(), a);
  const std::string ini = dir.Read("Mirvan.ini");
  EXPECT_EQ(ini.find("File3"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("gone.tex"), std::string::npos) << ini;
  // The rest of the file is left alone.
  EXPECT_NE(ini.find("[Settings]\r\nTeX=platex\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[Editor]\r\nEDIT=vi\r\n"), std::string::npos) << ini;
}

TEST_F(HistoryIniTest, CommandLineDocumentBecomesTheNextStartsDocument) {
  {
    auto run = Start("/home/u/paper.tex");
    run->OnClose();
  }
  auto next = Start();
  EXPECT_EQ(next->File(), "/home/u/paper.tex");
  EXPECT_EQ(next->Dir(), "/home/u/");
  EXPECT_EQ(next->Name(), "paper");
  EXPECT_EQ(next->History().GetCurSel(), 0);
}

TEST_F(HistoryIniTest, TwentyKeysLoadSixteenAndCloseWritesNoStaleOnes) {
  std::string text = "[RFL]\n";
  for (int i = 0; i < 20; ++i) text += "File" + std::to_string(i) + "=/d/" + std::to_string(i) + ".tex\n";
  dir.Write("Mirvan.ini", text);
  {
    auto run = Start();
    EXPECT_EQ(run->History().GetCount(), 16);
    // A new document pushes out the oldest loaded one.
    dir.Write("new.tex", "");
    run->OnDropFiles({dir.File("new.tex")});
    run->OnClose();
  }
  auto next = Start();
  ASSERT_EQ(next->History().GetCount(), 16);
  EXPECT_EQ(next->History().GetText(0), dir.File("new.tex"));
  EXPECT_EQ(next->History().GetText(15), "/d/14.tex");
}

TEST_F(HistoryIniTest, AnEntryTheFileCannotHoldLeavesNoGap) {
  const std::string a = dir.File("a.tex"), broken = dir.File("two\nlines.tex"), c = dir.File("c.tex");
  {
    auto run = Start();
    for (const std::string& p : {c, broken, a}) run->OnDropFiles({p});
    run->OnClose();
    // It stays in the list while the bar runs.
    EXPECT_EQ(run->History().Items(), (Items{a, broken, c}));
  }
  EXPECT_EQ(profile.GetProfileString("RFL", "File1", ""), c);
  EXPECT_EQ(profile.GetProfileString("RFL", "File2", "none"), "none");
  EXPECT_EQ(Start()->History().Items(), (Items{a, c}));
}

// Counts the replacements of the settings file in a folder: each writes a
// new file of its own name beside it first (the renames that follow would
// be merged into one event).
class ReplaceCounter {
 public:
  explicit ReplaceCounter(const std::string& folder) : m_fd(inotify_init1(IN_NONBLOCK)) {
    inotify_add_watch(m_fd, folder.c_str(), IN_CREATE);
  }
  ~ReplaceCounter() { close(m_fd); }
  int Count(const std::string& name) const {
    int n = 0;
    alignas(inotify_event) char buf[4096];
    ssize_t got;
    while ((got = read(m_fd, buf, sizeof buf)) > 0) {
      for (char* p = buf; p < buf + got;) {
        const auto* e = reinterpret_cast<const inotify_event*>(p);
        if (e->len && std::string(e->name).rfind("." + name + ".", 0) == 0) ++n;
        p += sizeof(inotify_event) + e->len;
      }
    }
    return n;
  }

 private:
  int m_fd;
};

TEST(HistoryClose, TheWholeListGoesInOneReplaceOfTheFile) {
  // A bar killed while it closes must leave the old list or the new one:
  // one replacement of the file, however many keys change.
  TempDir dir;
  std::string text = "[Settings]\nTeX=platex\n[RFL]\n";
  for (int i = 0; i < 16; ++i) text += "File" + std::to_string(i) + "=/old/" + std::to_string(i) + ".tex\n";
  dir.Write("Mirvan.ini", text);
  IniProfile profile(dir.File("Mirvan.ini"));
  PosixPlatform platform;
  ScriptedPrompts prompts;
  Document run(MirvanEnv{profile, platform, prompts});
  run.SetFile("/new/paper.tex");
  run.LoadHistory();
  run.LoadHistoryFinish();
  ReplaceCounter replaces(dir.Path());
  run.OnClose();
  EXPECT_EQ(replaces.Count("Mirvan.ini"), 1);

  Document next(MirvanEnv{profile, platform, prompts});
  next.LoadHistory();
  ASSERT_EQ(next.History().GetCount(), 16);
  EXPECT_EQ(next.History().GetText(0), "/new/paper.tex");
  EXPECT_EQ(next.History().GetText(15), "/old/14.tex");
  EXPECT_EQ(profile.GetProfileString("Settings", "TeX", ""), "platex");
}

}  // namespace
