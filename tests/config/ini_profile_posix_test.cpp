#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config/ini_profile.h"
#include "platform/texts.h"
#include "support/temp_dir.h"

// What the INI layer promises on POSIX file systems: processes, limits,
// permissions and links.

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class IniPosixTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.File("Mirvan.ini");
  IniProfile ini{path};
};

}  // namespace

TEST_F(IniPosixTest, AFullDiskChangesNothing) {
  // The disk fills up while the new file is written (a file size limit,
  // since the tests may run as root, for whom permissions do not count).
  const std::string original = "[Settings]\r\nTeX=platex\r\n";
  dir.Write("Mirvan.ini", original);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = {64, 64};
    setrlimit(RLIMIT_FSIZE, &lim);
    IniProfile inChild(path);
    _exit(inChild.WriteProfileString("Settings", "Bib", std::string(200, 'b')) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have failed";
  EXPECT_EQ(dir.Read("Mirvan.ini"), original);
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Mirvan.ini"});
}

TEST_F(IniPosixTest, KeepsPermissionsAndSymbolicLinks) {
  dir.Write("real.ini", "[A]\nx=1\n");
  ASSERT_EQ(chmod(dir.File("real.ini").c_str(), 0640), 0);
  fs::create_symlink("real.ini", path);
  ASSERT_TRUE(ini.WriteProfileString("A", "x", "2"));
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(dir.Read("real.ini"), "[A]\nx=2\n");
  struct stat st;
  ASSERT_EQ(stat(dir.File("real.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(IniPosixTest, TwoProcessesWritingAtOnceLoseNoKey) {
  const int kKeys = 100;
  std::vector<pid_t> children;
  for (const char* who : {"A", "B"}) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      IniProfile mine(path);
      bool ok = true;
      for (int i = 0; i < kKeys; ++i) ok = mine.WriteProfileInt("Settings", who + std::to_string(i), i) && ok;
      _exit(ok ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t c : children) {
    int status = 0;
    waitpid(c, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int i = 0; i < kKeys; ++i) {
    EXPECT_EQ(ini.GetProfileInt("Settings", "A" + std::to_string(i), -1), i);
    EXPECT_EQ(ini.GetProfileInt("Settings", "B" + std::to_string(i), -1), i);
  }
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Mirvan.ini"});
}

TEST_F(IniPosixTest, AReadOnlyFileIsNotWrittenEvenByRoot) {
  const std::string original = "[Settings]\nTeX=platex\n";
  dir.Write("Mirvan.ini", original);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(ini.WriteProfileString("Settings", "TeX", "latex"));
  EXPECT_EQ(dir.Read("Mirvan.ini"), original);
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Mirvan.ini"});
}

TEST_F(IniPosixTest, ADanglingLinkIsWrittenThroughAndStaysALink) {
  fs::create_directory(dir.File("conf"));
  fs::create_symlink("conf/settings.ini", path);
  ASSERT_TRUE(ini.WriteProfileString("Settings", "TeX", "platex"));
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(dir.Read("conf/settings.ini"), "[Settings]\nTeX=platex\n");
}

TEST_F(IniPosixTest, LeftoversOfKilledWritersGoAtTheNextWrite) {
  // Named as our writer names its temporaries; only the old ones are
  // leftovers, a fresh one may belong to a writer still at work.
  const std::vector<std::string> stale = {".Mirvan.ini.4242.1.tmp", ".Mirvan.ini.77.13.tmp"};
  const std::vector<std::string> kept = {".Mirvan.ini.4243.1.tmp", ".Other.ini.4242.1.tmp", ".Mirvan.ini.x.1.tmp",
                                         "Mirvan.ini.4242.1.tmp"};
  for (const auto& n : stale) dir.Write(n, "[half");
  for (const auto& n : kept) dir.Write(n, "[half");
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(1);
  for (const auto& n : stale) fs::last_write_time(dir.File(n), old);
  for (std::size_t i = 1; i < kept.size(); ++i) fs::last_write_time(dir.File(kept[i]), old);

  ASSERT_TRUE(ini.WriteProfileString("Settings", "TeX", "platex"));
  std::vector<std::string> expected = kept;
  expected.push_back("Mirvan.ini");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Entries(dir.Path()), expected);
}

TEST_F(IniPosixTest, WhatIsNoRegularFileIsNeitherWaitedOnNorReadNorReplaced) {
  // A FIFO would hold the open until a writer came; /dev/zero would fill
  // memory; a folder reads as nothing; a huge file would take its time.
  struct Case {
    const char* what;
    std::function<void(const TempDir&, const std::string&)> make;
    files::ReadStatus status;
    bool tryWrite;  // never through /dev/zero: a wrong write would replace it
  };
  const std::vector<Case> cases = {
      {"FIFO", [](const TempDir&, const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, files::ReadStatus::NotAFile, true},
      {"link to /dev/zero", [](const TempDir&, const std::string& p) { fs::create_symlink("/dev/zero", p); },
       files::ReadStatus::NotAFile, false},
      {"folder", [](const TempDir&, const std::string& p) { fs::create_directory(p); }, files::ReadStatus::NotAFile, true},
      {"17 MB", [](const TempDir& d, const std::string& p) {
         d.Write("Mirvan.ini", "[Settings]\nTeX=latex\n");
         fs::resize_file(p, 17u << 20);
       }, files::ReadStatus::TooBig, true},
  };
  for (const Case& c : cases) {
    TempDir own;
    const std::string file = own.File("Mirvan.ini");
    c.make(own, file);
    struct stat before {};
    ASSERT_EQ(lstat(file.c_str(), &before), 0) << c.what;
    IniProfile profile(file);
    EXPECT_EQ(profile.Trouble(), settings_text::Unreadable(file, c.status)) << c.what;
    EXPECT_EQ(profile.GetProfileString("Settings", "TeX", "platex"), "platex") << c.what;
    if (c.tryWrite) {
      EXPECT_FALSE(profile.WriteProfileString("Settings", "TeX", "ptex")) << c.what;
      EXPECT_FALSE(profile.WriteProfileKeys("RFL", {{"File0", "/w/a.tex"}})) << c.what;
    }
    struct stat after {};
    ASSERT_EQ(lstat(file.c_str(), &after), 0) << c.what;
    EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
    EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
    EXPECT_EQ(after.st_size, before.st_size) << c.what;
  }
}

TEST_F(IniPosixTest, ReadsSeeEveryChangeMadeBehindTheirBack) {
  // The file read once serves later reads while it is unchanged; here it is
  // old enough for that, and then changed in each way a change can come.
  struct Case {
    const char* how;
    std::function<void()> change;
    const char* now;
  };
  const std::vector<Case> cases = {
      {"another bar's replace", [&] {
         dir.Write("new.ini", "[Settings]\nTeX=ptex2\n");
         fs::rename(dir.File("new.ini"), path);
       }, "ptex2"},
      {"an editor's save in place, longer", [&] { dir.Write("Mirvan.ini", "[Settings]\nTeX=uplatex\n"); }, "uplatex"},
      {"an editor's save in place, as long", [&] { dir.Write("Mirvan.ini", "[Settings]\nTeX=ptex3\n"); }, "ptex3"},
  };
  for (const Case& c : cases) {
    dir.Write("Mirvan.ini", "[Settings]\nTeX=ptex1\n");
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(1));
    ASSERT_EQ(ini.GetProfileString("Settings", "TeX", ""), "ptex1") << c.how;
    ASSERT_EQ(ini.GetProfileString("Settings", "TeX", ""), "ptex1") << c.how;
    c.change();
    EXPECT_EQ(ini.GetProfileString("Settings", "TeX", ""), c.now) << c.how;
  }
}
