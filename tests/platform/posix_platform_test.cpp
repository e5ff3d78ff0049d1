// The rest of the platform: working directory, file times, the editor and
// the terminal started detached.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/posix/posix_platform.h"
#include "support/script_helpers.h"

namespace {

TEST(PosixPlatform, ChangeDirAndGetCwd) {
  TempDir dir;
  PosixPlatform platform;
  std::string before;
  ASSERT_TRUE(platform.GetCwd(before));
  CwdGuard restore(before);
  EXPECT_FALSE(platform.ChangeDir(""));
  EXPECT_FALSE(platform.ChangeDir(dir.File("missing")));
  std::string now;
  ASSERT_TRUE(platform.GetCwd(now));
  EXPECT_EQ(now, before);
  ASSERT_TRUE(platform.ChangeDir(dir.Path()));
  ASSERT_TRUE(platform.GetCwd(now));
  EXPECT_EQ(now, RealDir(dir.Path()));
}

TEST(PosixPlatform, StatKeepsNanoseconds) {
  TempDir dir;
  dir.Write("paper.dvi", "x");
  struct timespec times[2] = {{1700000000, 123456789}, {1700000000, 987654321}};
  ASSERT_EQ(::utimensat(AT_FDCWD, dir.File("paper.dvi").c_str(), times, 0), 0);
  PosixPlatform platform;
  FileStatus st = platform.Stat(dir.File("paper.dvi"));
  EXPECT_TRUE(st.exists);
  EXPECT_EQ(st.mtimeNs, 1700000000LL * 1000000000LL + 987654321LL);
  EXPECT_FALSE(platform.Stat(dir.File("paper.pdf")).exists);
  EXPECT_FALSE(platform.Stat("").exists);
}

TEST(PosixPlatform, EditorGetsThePathAsOneArgumentInTheFolder) {
  TempDir tools, docs;
  std::string editor = WriteRecorder(tools, "editor", tools.File("record"));
  PosixPlatform platform;
  const std::string document = docs.Path() + "my 論文 \"draft\" $x;y.tex";
  ASSERT_TRUE(platform.OpenEditor(editor, document, docs.Path()));
  std::vector<std::string> lines = WaitForLines(tools, "record");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], RealDir(docs.Path()));
  EXPECT_EQ(lines[1], document);
}

TEST(PosixPlatform, EditorWithoutDocumentStartsWithNoArgumentInTheWorkingDirectory) {
  TempDir tools, work;
  WriteRecorder(tools, "editor", tools.File("record"));
  EnvGuard path("PATH", tools.Path() + ":/usr/bin:/bin");
  CwdGuard cwd(work.Path());
  PosixPlatform platform;
  ASSERT_TRUE(platform.OpenEditor("editor", "", ""));
  std::vector<std::string> lines = WaitForLines(tools, "record");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], RealDir(work.Path()));
}

TEST(PosixPlatform, EditorThatCannotStartIsAFailure) {
  TempDir tools;
  tools.Write("plain", "");
  ::chmod(tools.File("plain").c_str(), 0644);
  tools.Write("badinterp", "#!/nonexistent/interpreter\n");
  ::chmod(tools.File("badinterp").c_str(), 0755);
  std::string good = WriteScript(tools, "good", "exit 0\n");
  PosixPlatform platform;
  EXPECT_FALSE(platform.OpenEditor("mirvan-no-such-editor", "/tmp/a.tex", ""));
  EXPECT_FALSE(platform.OpenEditor(tools.File("plain"), "/tmp/a.tex", ""));
  EXPECT_FALSE(platform.OpenEditor(tools.File("badinterp"), "/tmp/a.tex", ""));
  EXPECT_FALSE(platform.OpenEditor(good, "/tmp/a.tex", tools.File("no-such-folder")));
  EXPECT_TRUE(platform.OpenEditor(good, "/tmp/a.tex", tools.Path()));
}

TEST(PosixPlatform, TerminalStartsInTheWorkingDirectory) {
  TempDir tools, work;
  std::string terminal = WriteRecorder(tools, "term", tools.File("record"));
  EnvGuard var("TERMINAL", terminal);
  CwdGuard cwd(work.Path());
  PosixPlatform platform;
  platform.StartCommandPrompt();
  std::vector<std::string> lines = WaitForLines(tools, "record");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], RealDir(work.Path()));
}

TEST(PosixPlatform, EmptyTerminalVariableMeansTheDebianDefault) {
  TempDir tools;
  WriteRecorder(tools, "x-terminal-emulator", tools.File("record"));
  EnvGuard var("TERMINAL", "");
  EnvGuard path("PATH", tools.Path() + ":/usr/bin:/bin");
  PosixPlatform platform;
  platform.StartCommandPrompt();
  EXPECT_EQ(WaitForLines(tools, "record").size(), 1u);
}

}  // namespace

TEST(PosixPlatform, TextsNameNoWindowsProgramOrFolder) {
  const PlatformValues::ToolTexts& t = PosixPlatformValues().texts;
  for (const char* text : {t.locateTeXQuestion, t.changeTeXQuestion, t.chooseBibTeXQuestion, t.chooseMkIdxQuestion,
                           t.chooseDviPdfQuestion, t.bibTeXError, t.bibTeXHint, t.mkIdxError, t.mkIdxHint,
                           t.dviOpenFailure}) {
    const std::string s = text;
    for (const char* windowsOnly : {"dviout", ".exe", "C:\\", "C;\\", "jbibtex"})
      EXPECT_EQ(s.find(windowsOnly), std::string::npos) << windowsOnly << " in: " << s;
  }
}
