// RunTool with real programs: how they are found, what they receive, what
// their ends report, and how the headless console talks to them.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/posix/child_process.h"
#include "platform/posix/headless_console.h"
#include "platform/posix/posix_platform.h"
#include "support/script_helpers.h"

namespace {

struct Captured {
  std::shared_ptr<HeadlessConsole> console = std::make_shared<HeadlessConsole>();
  std::string output;
  Captured() {
    console->SetSink([this](const char* data, std::size_t size) { output.append(data, size); });
  }
};

class RunToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.SetToolConsole(captured.console);
  }
  TempDir dir;
  PosixPlatform platform;
  Captured captured;
};

TEST_F(RunToolTest, ExitStatusComesBack) {
  for (int code : {0, 1, 2, 255}) {
    std::string tool = WriteScript(dir, "exit" + std::to_string(code), "exit " + std::to_string(code) + "\n");
    EXPECT_EQ(platform.RunTool(tool, {"paper"}), code) << code;
  }
}

TEST_F(RunToolTest, ProgramsThatCannotStartGiveMinusOne) {
  dir.Write("plain.txt", "not a program\n");
  ::chmod(dir.File("plain.txt").c_str(), 0644);
  ::mkdir(dir.File("folder").c_str(), 0755);
  ::chmod(dir.File("folder").c_str(), 0755);
  // Passes every look-up and still fails in exec: its interpreter is missing.
  dir.Write("badinterp", "#!/nonexistent/interpreter\n");
  ::chmod(dir.File("badinterp").c_str(), 0755);
  // No "#!" and not a binary: the shell runs it, as execvp would, and it
  // gets its arguments.
  dir.Write("noshebang", "exit $(($# + 2))\n");
  ::chmod(dir.File("noshebang").c_str(), 0755);
  EnvGuard path("PATH", dir.Path() + ":/usr/bin:/bin");

  const std::vector<std::string> cannot = {
      "mirvan-no-such-program", dir.File("missing"), dir.File("plain.txt"), "plain.txt",
      dir.File("folder"),       "folder",            dir.File("badinterp"), "badinterp",
      "",
  };
  for (const std::string& program : cannot) EXPECT_EQ(platform.RunTool(program, {"paper"}), -1) << program;
  EXPECT_EQ(platform.RunTool("noshebang", {"paper"}), 3);
}

TEST_F(RunToolTest, KilledToolIsNeitherFailureToStartNorSuccess) {
  std::string killed = WriteScript(dir, "killed", "kill -KILL $$\n");
  std::string termed = WriteScript(dir, "termed", "kill -TERM $$\n");
  EXPECT_EQ(platform.RunTool(killed, {}), 128 + SIGKILL);
  EXPECT_EQ(platform.RunTool(termed, {}), 128 + SIGTERM);
}

TEST_F(RunToolTest, ArgumentsArriveExactlyAsGiven) {
  WriteScript(dir, "argdump", "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n");
  EnvGuard path("PATH", "/usr/bin:" + dir.Path() + ":/bin");
  const std::vector<std::vector<std::string>> cases = {
      {"paper"},
      {"my paper"},
      {"it's \"quoted\""},
      {"$HOME", "a;b", "`id`", "*", "x|y&z"},
      {"論文 テスト"},
      {"-p", "a3", "paper"},
      {"", "paper"},
      {"  lead and trail  "},
  };
  for (const auto& args : cases) {
    captured.output.clear();
    EXPECT_EQ(platform.RunTool("argdump", args), 0);
    std::string expected;
    for (const std::string& a : args) expected += "[" + a + "]\n";
    EXPECT_EQ(captured.output, expected);
  }
}

TEST_F(RunToolTest, ProgramInTheWorkingDirectoryIsNotRunUnlessOnPath) {
  WriteScript(dir, "tool", "touch '" + dir.File("ran") + "'\n");
  CwdGuard cwd(dir.Path());
  {
    // Empty entries, leading, inner and trailing, do not stand for ".".
    EnvGuard path("PATH", ":/usr/bin::/bin:");
    EXPECT_EQ(platform.RunTool("tool", {}), -1);
    EXPECT_NE(::access(dir.File("ran").c_str(), F_OK), 0);
  }
  EnvGuard path("PATH", dir.Path() + ":/usr/bin:/bin");
  EXPECT_EQ(platform.RunTool("tool", {}), 0);
  EXPECT_EQ(::access(dir.File("ran").c_str(), F_OK), 0);
}

TEST_F(RunToolTest, RunsInTheWorkingDirectoryWithMergedOutput) {
  std::string tool = WriteScript(dir, "where", "pwd\necho to-stderr >&2\necho \"$MIRVAN_PROBE\"\n");
  TempDir work;
  CwdGuard cwd(work.Path());
  EnvGuard probe("MIRVAN_PROBE", "inherited");
  EXPECT_EQ(platform.RunTool(tool, {}), 0);
  EXPECT_EQ(captured.output, RealDir(work.Path()) + "\nto-stderr\ninherited\n");
}

TEST_F(RunToolTest, StdinIsAtEndWithoutAnswers) {
  std::string tool = WriteScript(dir, "reader", "if read line; then echo \"got:$line\"; else echo eof; fi\n");
  EXPECT_EQ(platform.RunTool(tool, {}), 0);
  EXPECT_EQ(captured.output, "eof\n");
}

TEST_F(RunToolTest, AnswerReachesThePromptAndThenStdinEnds) {
  std::string tool = WriteScript(dir, "prompt",
                                 "printf '? '\nread a\necho \"first:$a\"\n"
                                 "printf 'again? '\nread b\necho \"second:$b\"\n"
                                 "if read c; then echo more; else echo eof; fi\n");
  captured.console->AddAnswer("? ", "x");
  captured.console->AddAnswer("again? ", "論文");
  EXPECT_EQ(platform.RunTool(tool, {}), 0);
  EXPECT_EQ(captured.output, "? first:x\nagain? second:論文\neof\n");
}

TEST_F(RunToolTest, AnswerToAToolThatClosedItsInputDoesNotHurtUs) {
  std::string tool = WriteScript(dir, "deaf", "exec 0<&-\necho ready\nsleep 0.2\necho done\n");
  captured.console->AddAnswer("ready", "x");
  EXPECT_EQ(platform.RunTool(tool, {}), 0);
  EXPECT_EQ(captured.output, "ready\ndone\n");
}

TEST_F(RunToolTest, ReturnsWhenTheToolEndsEvenIfABackgroundChildHoldsTheOutput) {
  std::string tool = WriteScript(dir, "leaver", "sleep 30 &\necho $! > '" + dir.File("bg") + "'\nexit 3\n");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform.RunTool(tool, {}), 3);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  std::ifstream bg(dir.File("bg"));
  int pid = 0;
  bg >> pid;
  if (pid > 0) ::kill(pid, SIGKILL);
}

TEST(ResolveProgram, SearchesOnlyNonEmptyPathEntries) {
  TempDir a, b;
  WriteScript(a, "both", "exit 0\n");
  WriteScript(b, "both", "exit 0\n");
  WriteScript(b, "onlyb", "exit 0\n");
  a.Write("noexec", "");
  ::chmod(a.File("noexec").c_str(), 0644);
  WriteScript(b, "noexec", "exit 0\n");
  ::mkdir(a.File("isdir").c_str(), 0755);
  WriteScript(b, "isdir", "exit 0\n");
  std::string aNoSlash = a.Path().substr(0, a.Path().size() - 1);
  std::string list = "::" + aNoSlash + "::" + b.Path() + ":";

  struct Case {
    std::string program, expected;
  };
  const std::vector<Case> cases = {
      {"both", a.File("both")},       // first entry wins, with or without its trailing slash
      {"onlyb", b.File("onlyb")},     //
      {"noexec", b.File("noexec")},   // a file we may not run is passed over
      {"isdir", b.File("isdir")},     // so is a folder of that name
      {"missing", ""},                //
      {b.File("onlyb"), b.File("onlyb")},  // a name with '/' is used as it is
      {a.File("noexec"), ""},         //
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(posix::ResolveProgram(c.program, list.c_str()), c.expected) << c.program;
}

TEST(ResolveProgram, UnsetPathFallsBackToTheSystemFolders) {
  EnvGuard path("PATH", std::nullopt);
  std::string sh = posix::ResolveProgram("sh");
  EXPECT_TRUE(sh == "/usr/bin/sh" || sh == "/bin/sh") << sh;
}

TEST(ChildProcess, StopEndsAHangingToolAndItsGroup) {
  TempDir dir;
  struct Case {
    std::string body;
    int status;
  };
  const std::vector<Case> cases = {
      {"exec sleep 30\n", 128 + SIGTERM},
      // Ignores TERM, and so does the sleep it starts: only KILL ends them.
      {"trap '' TERM\nsleep 30 &\necho $! > '" + dir.File("child") + "'\nwait\nsleep 30\n", 128 + SIGKILL},
  };
  for (const Case& c : cases) {
    ::unlink(dir.File("child").c_str());
    std::string tool = WriteScript(dir, "hang", c.body);
    posix::ChildProcess child;
    ASSERT_TRUE(child.Start({tool}));
    if (c.status == 128 + SIGKILL) {
      // Its trap must be set before the TERM comes.
      EXPECT_FALSE(WaitForLines(dir, "child").empty());
    } else {
      ::usleep(100000);
    }
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(child.Stop(300), c.status);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(child.Running());

    std::ifstream f(dir.File("child"));
    int pid = 0;
    if (f >> pid) {
      // The grandchild got the KILL too: gone, or a zombie waiting for init.
      ::usleep(100000);
      std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
      std::string pidField, comm, state;
      if (stat >> pidField >> comm >> state) {
        EXPECT_EQ(state, "Z") << comm;
      }
    }
  }
}

TEST(ChildProcess, StartFailureCarriesTheReason) {
  posix::ChildProcess child;
  int error = 0;
  EXPECT_FALSE(child.Start({"/nonexistent/mirvan-tool"}, &error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(child.Running());
}

}  // namespace

namespace {

// TeX itself stops at an error and waits for an answer on its stdin.
TEST(RunToolWithTeX, AnswerXEndsTheRunAndTheLogSaysSo) {
  if (posix::ResolveProgram("platex").empty()) GTEST_SKIP() << "platex is not installed";
  TempDir dir;
  dir.Write("my paper.tex",
            "\\documentclass{jarticle}\n\\begin{document}\n日本語 \\undefinedmacro\n\\end{document}\n");
  CwdGuard cwd(dir.Path());
  auto console = std::make_shared<HeadlessConsole>();
  std::string output;
  console->SetSink([&](const char* data, std::size_t size) { output.append(data, size); });
  console->AddAnswer("\n? ", "x");
  PosixPlatform platform;
  platform.SetToolConsole(console);
  int status = platform.RunTool("platex", {"my paper"});
  EXPECT_NE(status, 0);
  EXPECT_NE(status, -1);
  EXPECT_NE(output.find("! Undefined control sequence."), std::string::npos) << output;
  EXPECT_NE(dir.Read("my paper.log").find("\n? x"), std::string::npos);
}

}  // namespace
