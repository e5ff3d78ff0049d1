// Opening a document with the desktop's default application, through the
// real freedesktop associations in a private XDG setup. GIO reads and caches
// the associations on first use, so each case runs in a child process of its
// own, set up before its first GIO call.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/posix/posix_platform.h"
#include "support/script_helpers.h"

namespace {

class OpenDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No installed viewer may answer for our types.
    MakePrivateXdg(xdg);
    docs.Write("paper.pdf", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<>>\nendobj\ntrailer\n<<>>\n%%EOF\n");
    docs.Write("paper.dvi", std::string("\xf7\x02\x01\x83\x92\xc0\x1c\x3b\x00\x00\x00\x00\x03\xe8", 14));
  }

  void Associate() {
    std::string viewer = WriteRecorder(tools, "viewer", tools.File("record"));
    xdg.Write("data/applications/mirvan-test-viewer.desktop",
              "[Desktop Entry]\nType=Application\nName=Recording viewer\nExec=" + viewer +
                  " %f\nMimeType=application/pdf;application/x-dvi;\nTerminal=false\n");
    xdg.Write("config/mimeapps.list",
              "[Default Applications]\napplication/pdf=mirvan-test-viewer.desktop\n"
              "application/x-dvi=mirvan-test-viewer.desktop\n");
  }

  // Runs `open` in a fresh child with the private XDG folders and `cwd` as
  // working directory; its result.
  bool InChild(const std::string& cwd, const std::function<bool(PosixPlatform&)>& open) {
    pid_t pid = ::fork();
    if (pid == 0) {
      UsePrivateXdg(xdg);
      if (::chdir(cwd.c_str()) != 0) ::_exit(3);
      PosixPlatform platform;
      ::_exit(open(platform) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << status;
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
  }

  TempDir xdg, tools, docs, elsewhere;
};

TEST_F(OpenDocumentTest, BareNameOpensFromTheDocumentFolder) {
  Associate();
  std::string dir = docs.Path();
  EXPECT_TRUE(InChild(elsewhere.Path(), [&](PosixPlatform& p) { return p.OpenDocument("paper.pdf", dir); }));
  std::vector<std::string> lines = WaitForLines(tools, "record");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], RealDir(docs.Path()));
  EXPECT_EQ(lines[1], docs.File("paper.pdf"));
}

TEST_F(OpenDocumentTest, FullPathOfADviOpens) {
  Associate();
  std::string dir = docs.Path();
  EXPECT_TRUE(InChild(elsewhere.Path(), [&](PosixPlatform& p) { return p.OpenDocument(dir + "paper.dvi", dir); }));
  std::vector<std::string> lines = WaitForLines(tools, "record");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], RealDir(docs.Path()));
  EXPECT_EQ(lines[1], docs.File("paper.dvi"));
}

TEST_F(OpenDocumentTest, MissingFileIsAFailedOpen) {
  Associate();
  std::string dir = docs.Path();
  EXPECT_FALSE(InChild(elsewhere.Path(), [&](PosixPlatform& p) { return p.OpenDocument("other.pdf", dir); }));
  EXPECT_TRUE(WaitForLines(tools, "record", 1).empty());
}

TEST_F(OpenDocumentTest, NoAssociationIsAFailedOpen) {
  std::string dir = docs.Path();
  EXPECT_FALSE(InChild(elsewhere.Path(), [&](PosixPlatform& p) { return p.OpenDocument("paper.pdf", dir); }));
  EXPECT_FALSE(InChild(elsewhere.Path(), [&](PosixPlatform& p) { return p.OpenDocument("paper.dvi", dir); }));
}

TEST_F(OpenDocumentTest, ViewerThatCannotStartIsAFailedOpen) {
  // The entry names a program that was there when it was written and is not now.
  Associate();
  ::unlink(tools.File("viewer").c_str());
  tools.Write("viewer", "not runnable");
  ::chmod(tools.File("viewer").c_str(), 0644);
  std::string dir = docs.Path();
  EXPECT_FALSE(InChild(elsewhere.Path(), [&](PosixPlatform& p) { return p.OpenDocument("paper.pdf", dir); }));
}

// The loader's library path is read when a program starts: each case runs
// this test program anew, with an empty file of GIO's name first on the path
// or not, and the child's half of the test checks what a failed open says.
TEST(OpenWithoutGio, AFailedOpenNamesTheLibraryOnlyWhenItIsMissing) {
  if (const char* want = std::getenv("MIRVAN_TEST_GIO_EXPECT")) {
    TempDir docs;
    docs.Write("paper.pdf", "%PDF-1.4\n");
    PosixPlatform p;
    const bool missing = std::string(want) == "missing";
    // No association here either way (no XDG data of ours): the open fails.
    ::setenv("XDG_DATA_HOME", docs.Path().c_str(), 1);
    ::setenv("XDG_DATA_DIRS", docs.Path().c_str(), 1);
    EXPECT_FALSE(p.OpenDocument(docs.File("paper.pdf"), docs.Path()));
    EXPECT_EQ(p.OpenTrouble().find("libgio-2.0.so.0") != std::string::npos, missing) << p.OpenTrouble();
    EXPECT_EQ(p.OpenTrouble().find("file too short") != std::string::npos, missing) << p.OpenTrouble();
    EXPECT_FALSE(p.OpenEditor(p.Values().defaultEditor, docs.File("paper.tex"), docs.Path()));
    EXPECT_EQ(p.OpenTrouble().find("libgio-2.0.so.0") != std::string::npos, missing) << p.OpenTrouble();
    // Another editor is started without GIO: its failure is its own.
    EXPECT_FALSE(p.OpenEditor("/nonexistent/editor", docs.File("paper.tex"), docs.Path()));
    EXPECT_EQ(p.OpenTrouble(), "");
    return;
  }
  TempDir lib;
  lib.Write("libgio-2.0.so.0", "");
  for (const char* expect : {"missing", "there"}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("MIRVAN_TEST_GIO_EXPECT", expect, 1);
      if (std::string(expect) == "missing") ::setenv("LD_LIBRARY_PATH", lib.Path().c_str(), 1);
      ::execl("/proc/self/exe", "test_platform", "--gtest_filter=OpenWithoutGio.*", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << expect;
  }
}

}  // namespace
