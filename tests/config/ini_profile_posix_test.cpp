#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "config/ini_profile.h"
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
