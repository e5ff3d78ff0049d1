// The Windows platform layer for real, under the C runtime: the program
// search _spawnlp makes, exit statuses, the quoting that keeps each word one
// argument (through cmd.exe for a batch file), the file times at their full
// resolution, the job the tools run in, and the command-line document.
#include "platform/win/win_api.h"

#include <mbctype.h>
#include <process.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/command_line.h"
#include "platform/win/win_platform.h"
#include "support/temp_dir.h"
#include "text/mbcs.h"
#include "self_tool.h"

namespace {

struct RecordEnv {
  explicit RecordEnv(const std::string& file, int exitCode = 0) {
    _putenv_s("MIRVAN_RECORD", file.c_str());
    _putenv_s("MIRVAN_EXIT", std::to_string(exitCode).c_str());
  }
  ~RecordEnv() {
    _putenv_s("MIRVAN_RECORD", "");
    _putenv_s("MIRVAN_EXIT", "");
  }
};

}  // namespace

TEST(WinPlatform, MissingProgramIsMinusOne) {
  WinPlatform p;
  EXPECT_EQ(p.RunTool("mirvan-no-such-tool-xyz", {"paper"}), -1);
  EXPECT_EQ(p.RunTool("c:\\no\\such\\folder\\platex.exe", {"paper"}), -1);
}

TEST(WinPlatform, ExitStatusAndArgumentsArriveAsWords) {
  TempDir dir;
  const std::string tool = dir.Path() + "tool dir\\";
  CreateDirectoryA(tool.c_str(), nullptr);
  const std::string exe = tool + "rec.exe";
  ASSERT_TRUE(CopyFileA(SelfPath().c_str(), exe.c_str(), FALSE));
  const std::string rec = dir.File("rec.txt");
  RecordEnv env(rec, 3);
  WinPlatform p;
  ASSERT_TRUE(p.ChangeDir(dir.Path()));
  // A program under a folder with a blank, a document with a blank, an option
  // string already split into words, and a word with a quote.
  EXPECT_EQ(p.RunTool(exe, {"-p", "a3", "my paper", "say \"hi\""}), 3);
  const std::string got = Slurp(rec);
  EXPECT_NE(got.find("arg=-p\narg=a3\narg=my paper\narg=say \"hi\"\nend\n"), std::string::npos) << got;
}

TEST(WinPlatform, BareNameFoundInWorkingDirectoryFirst) {
  // _spawnlp looks in the working directory before PATH: Windows keeps that.
  TempDir dir;
  ASSERT_TRUE(CopyFileA(SelfPath().c_str(), dir.File("mvtoolcwd.exe").c_str(), FALSE));
  const std::string rec = dir.File("rec.txt");
  RecordEnv env(rec, 0);
  WinPlatform p;
  ASSERT_TRUE(p.ChangeDir(dir.Path()));
  EXPECT_EQ(p.RunTool("mvtoolcwd", {"paper"}), 0);
  EXPECT_NE(Slurp(rec).find("arg=paper"), std::string::npos);
}

TEST(WinPlatform, BareNameFoundPastAnEmptyPathElement) {
  // Wine's _spawnvp ended its PATH search at the first empty element, so
  // "C:\\windows;;C:\\texlive\\bin" could not start platex.
  TempDir dir, bin;
  ASSERT_TRUE(CopyFileA(SelfPath().c_str(), bin.File("mvtoolpath.exe").c_str(), FALSE));
  const std::string rec = dir.File("rec.txt");
  RecordEnv env(rec, 4);
  char oldPath[32767] = {};
  GetEnvironmentVariableA("PATH", oldPath, sizeof oldPath);
  SetEnvironmentVariableA("PATH", (std::string(oldPath) + ";;" + bin.Path()).c_str());
  WinPlatform p;
  ASSERT_TRUE(p.ChangeDir(dir.Path()));
  EXPECT_EQ(p.RunTool("mvtoolpath", {"paper"}), 4);
  SetEnvironmentVariableA("PATH", oldPath);
  EXPECT_NE(Slurp(rec).find("arg=paper"), std::string::npos);
}

TEST(WinPlatform, BatchFileRuns) {
  TempDir dir;
  dir.Write("mvbatch.bat", "@echo off\r\nexit /b 7\r\n");
  WinPlatform p;
  ASSERT_TRUE(p.ChangeDir(dir.Path()));
  EXPECT_EQ(p.RunTool("mvbatch", {"paper"}), 7);
}

// A tool that is a batch file runs in cmd.exe, which reads its command line
// itself: & | < > ^ ( ) in a document's name would start commands of their
// own. Each hostile word must reach the batch file as one quoted word, and
// nothing but the batch file may run. The batch file records what it got;
// an escaped command would leave the file "pwned" behind.
TEST(WinPlatform, BatchToolGetsEachWordAsTextAndNothingElseRuns) {
  TempDir dir;
  const std::string bin = dir.Path() + "tool bin";
  CreateDirectoryA(bin.c_str(), nullptr);
  const std::string batch = "@echo off\r\n>>\"%MIRVAN_BAT_LOG%\" echo %*\r\n";
  dir.Write("tool bin\\mvbattex.bat", batch);
  dir.Write("tool bin\\mvcmdtex.cmd", batch);
  const std::string log = dir.File("bat.log");
  _putenv_s("MIRVAN_BAT_LOG", log.c_str());
  char oldPath[32767] = {};
  GetEnvironmentVariableA("PATH", oldPath, sizeof oldPath);
  SetEnvironmentVariableA("PATH", (bin + ";" + oldPath).c_str());
  WinPlatform p;
  ASSERT_TRUE(p.ChangeDir(dir.Path()));

  struct Case { std::string program; std::vector<std::string> words; const char* recorded; };
  const Case cases[] = {
      {bin + "\\mvbattex.bat", {"x&type nul>pwned"}, "\"x&type nul>pwned\""},
      {"mvbattex", {"x|type nul>pwned"}, "\"x|type nul>pwned\""},  // found through PATH
      {"mvcmdtex", {"(x)&&type nul>pwned", "a<b"}, "\"(x)&&type nul>pwned\" \"a<b\""},
      {"mvbattex.bat", {"^&type nul>pwned", "!PATH!"}, "\"^&type nul>pwned\" \"!PATH!\""},
      {"mvbattex", {"-s", "my index", "", "dir\\"}, "\"-s\" \"my index\" \"\" \"dir\\\\\""},
  };
  for (const Case& c : cases) {
    DeleteFileA(log.c_str());
    EXPECT_EQ(p.RunTool(c.program, c.words), 0) << c.program;
    EXPECT_EQ(Slurp(log), std::string(c.recorded) + "\r\n") << c.program;
    EXPECT_EQ(GetFileAttributesA(dir.File("pwned").c_str()), INVALID_FILE_ATTRIBUTES) << c.recorded;
  }

  // What quoting cannot protect is refused before anything runs.
  const char* const refused[] = {"p%PATH%", "a\"&type nul>pwned&\"", "a\nb"};
  for (const char* word : refused) {
    DeleteFileA(log.c_str());
    try {
      p.RunTool("mvbattex", {"-s", word});
      ADD_FAILURE() << "ran with " << word;
    } catch (const ToolRefused& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("\"") + word + "\""), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("mvbattex.bat\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES) << word;
  }
  SetEnvironmentVariableA("PATH", oldPath);
  _putenv_s("MIRVAN_BAT_LOG", "");
}

TEST(CommandLine, ProgramCandidatesInTheOrderOfSpawnlp) {
  struct Case { const char* program; const char* path; std::vector<std::string> candidates; };
  const Case cases[] = {
      {"platex", "C:\\tex\\bin;;\"D:\\my bin\";E:\\w\\",
       {"platex.com", "platex.exe", "platex.bat", "platex.cmd", "C:\\tex\\bin\\platex.com",
        "C:\\tex\\bin\\platex.exe", "C:\\tex\\bin\\platex.bat", "C:\\tex\\bin\\platex.cmd",
        "D:\\my bin\\platex.com", "D:\\my bin\\platex.exe", "D:\\my bin\\platex.bat", "D:\\my bin\\platex.cmd",
        "E:\\w\\platex.com", "E:\\w\\platex.exe", "E:\\w\\platex.bat", "E:\\w\\platex.cmd"}},
      {"mytex.bat", "C:\\bin", {"mytex.bat", "C:\\bin\\mytex.bat"}},
      {"C:\\haz\\bin\\mytex.bat", "C:\\bin", {"C:\\haz\\bin\\mytex.bat"}},
      {"C:\\v1.2\\platex", "C:\\bin",
       {"C:\\v1.2\\platex.com", "C:\\v1.2\\platex.exe", "C:\\v1.2\\platex.bat", "C:\\v1.2\\platex.cmd"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramCandidates(c.program, c.path), c.candidates) << c.program;
}

TEST(CommandLine, BatchHazardsByDoubleByteRules) {
  mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  struct Case { const char* word; BatchHazard hazard; };
  const Case cases[] = {
      {"x&notepad", BatchHazard::None},
      {"\x83\x7c|\x95\x5c", BatchHazard::None},  // ポ, 表: trail bytes "|" and a backslash
      {"100%", BatchHazard::Percent},
      {"a\"b", BatchHazard::Quote},
      {"a\rb", BatchHazard::LineBreak},
      {"paper\x83", BatchHazard::BrokenCharacter},
      {"\x83\"&calc", BatchHazard::BrokenCharacter},
  };
  for (const Case& c : cases) EXPECT_EQ(BatchHazardIn(c.word), c.hazard) << c.word;
  mbcs::SetSystemCodePage(GetACP() == 932 ? mbcs::CodePage::Cp932 : mbcs::CodePage::Utf8);
}

// File times at their full resolution: a file rewritten within the same
// second is newer (a document compiled twice in a second gets a newer .dvi).
TEST(WinPlatform, StatFullResolutionAndCwd) {
  TempDir dir;
  dir.Write("a.tex", "x");
  WinPlatform p;
  const FileStatus st = p.Stat(dir.File("a.tex"));
  EXPECT_TRUE(st.exists);
  Sleep(50);
  dir.Write("a.tex", "y");
  const FileStatus later = p.Stat(dir.File("a.tex"));
  EXPECT_GT(later.mtimeNs, st.mtimeNs);
  EXPECT_LT(later.mtimeNs - st.mtimeNs, 1000000000LL);
  EXPECT_FALSE(p.Stat(dir.File("none.tex")).exists);
  ASSERT_TRUE(p.ChangeDir(dir.Path()));
  std::string cwd;
  ASSERT_TRUE(p.GetCwd(cwd));
  EXPECT_FALSE(cwd.empty());
  EXPECT_FALSE(p.ChangeDir(dir.File("missing-folder")));
}

TEST(WinPlatform, ValuesAreTheWindowsOnes) {
  WinPlatform p;
  EXPECT_EQ(p.Values().probeFolders,
            (std::vector<std::string>{"c:\\w32tex\\bin\\", "c:\\tex\\bin\\", "c:\\usr\\local\\bin\\"}));
  EXPECT_EQ(p.Values().probeSuffix, ".exe");
  EXPECT_EQ(p.Values().defaultEditor, "c:\\WINDOWS\\NOTEPAD.exe");
  EXPECT_EQ(p.Values().programTypes, (std::vector<FileType>{{"Exe files (*.exe)", "*.exe"}}));
}

TEST(WinPlatform, QuoteArgRoundTrips) {
  struct Case { const char* word; const char* quoted; };
  const Case cases[] = {
      {"paper", "paper"},
      {"my paper", "\"my paper\""},
      {"", "\"\""},
      {"a\"b", "\"a\\\"b\""},
      {"c:\\dir with blank\\", "\"c:\\dir with blank\\\\\""},
  };
  for (const auto& c : cases) EXPECT_EQ(WinPlatform::QuoteArg(c.word), c.quoted) << c.word;
}

TEST(CommandLine, OneEnclosingPairOfQuotesIsRemoved) {
  struct Case { const char* in; const char* out; };
  const Case cases[] = {
      {"C:\\work\\paper.tex", "C:\\work\\paper.tex"},
      {"\"C:\\my work\\paper.tex\"", "C:\\my work\\paper.tex"},
      {"\"a.tex\" \"b.tex\"", "\"a.tex\" \"b.tex\""},
      {"", ""},
      {"\"", "\""},
  };
  for (const auto& c : cases) EXPECT_EQ(DocumentFromCommandLine(c.in), c.out) << c.in;
}

// Needs the system code page 932 (scripts/test-windows runs it so): then the
// child's runtime reads the command line by double-byte rules.
TEST(Cp932Spawn, TrailByte5CBeforeTheClosingQuoteStaysOneCharacter) {
  if (GetACP() != 932) GTEST_SKIP() << "system code page is " << GetACP() << ", not 932";
  ASSERT_EQ(_setmbcp(932), 0);
  TempDir dir;
  const std::string exe = dir.File("rec.exe");
  ASSERT_TRUE(CopyFileA(SelfPath().c_str(), exe.c_str(), FALSE));
  const std::string rec = dir.File("rec.txt");
  RecordEnv env(rec, 0);
  WinPlatform p;
  // 表, ソ and 能 end in the byte of a backslash; a real backslash still doubles.
  const std::vector<std::string> words = {"my \x95\x5c", "\x83\x5c \"\x94\x5c\"", "a b\\", "\x95\x5c\\ x"};
  EXPECT_EQ(p.RunTool(exe, words), 0);
  std::string expected;
  for (const auto& w : words) expected += "arg=" + w + "\n";
  const std::string got = Slurp(rec);
  EXPECT_NE(got.find(expected + "end\n"), std::string::npos) << got;
}

TEST(WinPlatform, OptionStringsSplitAsTheRuntimeSplitsACommandLine) {
  TempDir dir;
  const std::string exe = dir.File("rec.exe");
  ASSERT_TRUE(CopyFileA(SelfPath().c_str(), exe.c_str(), FALSE));
  const char* const options[] = {"-s \"my style.ist\" -r", "a\"b\"\"c d\"e f", "\"\" x", "a\\\\\"b c\"",
                                 "a\\\\\\\"b c", "c:\\dir\\ x\\\\", " -p  a3 "};
  for (const char* o : options) {
    const std::string rec = dir.File("rec.txt");
    DeleteFileA(rec.c_str());
    RecordEnv env(rec, 0);
    // _spawnv joins its words with blanks unquoted: the child reads the
    // option string exactly as written.
    const char* argv[] = {exe.c_str(), o, nullptr};
    ASSERT_EQ(_spawnv(_P_WAIT, exe.c_str(), argv), 0);
    std::string expected;
    for (const auto& w : mbcs::SplitWords(o)) expected += "arg=" + w + "\n";
    const std::string got = Slurp(rec);
    EXPECT_NE(got.find("\n" + expected + "end\n"), std::string::npos) << o << "\n" << got;
  }
}

TEST(WinPlatform, ToolsAndTheirChildrenEndWithTheBar) {
  // A bar (this program) runs a tool that starts a child and never ends;
  // the bar is then ended as the task manager ends a program.
  TempDir dir;
  const std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
  _putenv_s("MIRVAN_HANG", folder.c_str());
  std::string line = "\"" + SelfPath() + "\" bar";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION bar = {};
  const bool started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &bar);
  _putenv_s("MIRVAN_HANG", "");
  ASSERT_TRUE(started);
  std::vector<HANDLE> hung;
  for (const char* role : {"tool", "child"}) {
    const std::string pidFile = folder + "\\" + role + ".pid";
    for (int i = 0; i < 600 && GetFileAttributesA(pidFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
    const DWORD pid = static_cast<DWORD>(std::strtoul(Slurp(pidFile).c_str(), nullptr, 10));
    ASSERT_NE(pid, 0u) << role << " did not start";
    HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    ASSERT_NE(h, nullptr) << role;
    hung.push_back(h);
  }
  ASSERT_TRUE(TerminateProcess(bar.hProcess, 1));
  WaitForSingleObject(bar.hProcess, INFINITE);
  for (HANDLE h : hung) {
    const DWORD gone = WaitForSingleObject(h, 30000);
    EXPECT_EQ(gone, WAIT_OBJECT_0) << "a tool outlived the bar";
    if (gone != WAIT_OBJECT_0) TerminateProcess(h, 1);
    CloseHandle(h);
  }
  CloseHandle(bar.hThread);
  CloseHandle(bar.hProcess);
}
