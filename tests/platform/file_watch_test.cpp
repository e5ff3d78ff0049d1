// The file watch on real files in a temporary folder, on this system's
// implementation (inotify; ReadDirectoryChangesW under Wine). That nothing
// was reported is shown by a change to another watched file that is: the
// reports come in the order of the changes.
#include "platform/file_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

class FileWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.File("chap"));
    dir.Write("a.tex", "first\n");
    dir.Write("chap/two.tex", "second\n");
    dir.Write("flag.tex", "0");
    dir.Write("other.tex", "not watched\n");
    watch = MakeFileWatch();
    ASSERT_NE(watch->WaitHandle(), -1);
    watch->Watch({a, two, flag});
  }

  // What the watch reports until `last` is among it (at most 20 s).
  std::vector<std::string> ReportsUntil(const std::string& last) {
    std::vector<std::string> all;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
      watch->Wait(200);
      for (const std::string& p : watch->Poll()) all.push_back(p);
      if (!all.empty() && all.back() == last) break;
    }
    return all;
  }
  // A change of the flag file, and what was reported up to it.
  std::vector<std::string> ReportsBeforeFlag() {
    dir.Write("flag.tex", std::to_string(++flags));
    std::vector<std::string> r = ReportsUntil(flag);
    EXPECT_FALSE(r.empty()) << "the flag's change was not reported";
    if (!r.empty()) r.pop_back();
    return r;
  }

  TempDir dir;
  std::unique_ptr<IFileWatch> watch;
  const std::string a = dir.File("a.tex"), two = dir.File("chap/two.tex"), flag = dir.File("flag.tex");
  int flags = 0;
};

using Paths = std::vector<std::string>;

TEST_F(FileWatchTest, WriteInPlaceReportedOnce) {
  dir.Write("a.tex", "changed\n");
  EXPECT_EQ(ReportsUntil(a), Paths{a});
  EXPECT_EQ(ReportsBeforeFlag(), Paths{});
}

TEST_F(FileWatchTest, WriteThenRenameOverTheOldFile) {
  dir.Write("a.tex.new", "saved by renaming\n");
  std::filesystem::rename(dir.File("a.tex.new"), a);
  EXPECT_EQ(ReportsUntil(a), Paths{a});
  // The watch goes on after the file it started with was replaced.
  dir.Write("a.tex", "and again\n");
  EXPECT_EQ(ReportsUntil(a), Paths{a});
}

TEST_F(FileWatchTest, SaveOfTheSameBytesAndTouchAreNoChange) {
  dir.Write("a.tex", "first\n");
  std::filesystem::last_write_time(two, std::filesystem::file_time_type::clock::now());
  dir.Write("other.tex", "changed, but not watched\n");
  EXPECT_EQ(ReportsBeforeFlag(), Paths{});
}

TEST_F(FileWatchTest, FileInASubfolder) {
  dir.Write("chap/two.tex", "second, changed\n");
  EXPECT_EQ(ReportsUntil(two), Paths{two});
}

TEST_F(FileWatchTest, DeletedThenCreatedAgain) {
  std::filesystem::remove(a);
  EXPECT_EQ(ReportsBeforeFlag(), Paths{});  // a file gone is nothing to compile
  dir.Write("a.tex", "first\n");
  EXPECT_EQ(ReportsBeforeFlag(), Paths{});  // back as it was
  std::filesystem::remove(a);
  dir.Write("a.tex", "new content\n");
  EXPECT_EQ(ReportsUntil(a), Paths{a});
}

TEST_F(FileWatchTest, SameSizeRightAfterTheLastRead) {
  // Within the file system's time granularity a same-size write may leave
  // the status as it was: the bytes still tell.
  dir.Write("a.tex", "FIRST\n");
  EXPECT_EQ(ReportsUntil(a), Paths{a});
  dir.Write("a.tex", "first\n");
  EXPECT_EQ(ReportsUntil(a), Paths{a});
}

}  // namespace
