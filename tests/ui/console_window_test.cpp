// The tool console window with real tools, driven the way a user would:
// typing an answer, closing the window while the tool hangs.
#include <signal.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QTimer>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/posix/child_process.h"
#include "platform/posix/posix_platform.h"
#include "platform/texts.h"
#include "support/temp_dir.h"
#include "text/mbcs.h"
#include "ui/console_window.h"

namespace {

std::string Script(const TempDir& dir, const std::string& name, const std::string& body) {
  dir.Write(name, "#!/bin/sh\n" + body);
  ::chmod(dir.File(name).c_str(), 0755);
  return dir.File(name);
}

class CwdGuard {
 public:
  explicit CwdGuard(const std::string& dir) : m_old(QDir::currentPath()) { QDir::setCurrent(QString::fromStdString(dir)); }
  ~CwdGuard() { QDir::setCurrent(m_old); }

 private:
  QString m_old;
};

ConsoleWindow* ShownConsole() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* console = qobject_cast<ConsoleWindow*>(w); console && console->isVisible()) return console;
  }
  return nullptr;
}

// Calls `step` on the shown console every few milliseconds until it returns
// true; lives as long as the test.
class Driver {
 public:
  explicit Driver(std::function<bool(ConsoleWindow&)> step) : m_step(std::move(step)) {
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      ConsoleWindow* console = ShownConsole();
      if (console && m_step(*console)) m_timer.stop();
    });
    m_timer.start();
  }

 private:
  std::function<bool(ConsoleWindow&)> m_step;
  QTimer m_timer;
};

void Type(ConsoleWindow& console, const QString& text) {
  auto* input = console.findChild<QLineEdit*>("input");
  ASSERT_NE(input, nullptr);
  input->setText(text);
  emit input->returnPressed();
}

TEST(ConsoleWindow, TypedLineReachesTheToolThroughThePlatform) {
  TempDir dir;
  std::string tool = Script(dir, "ask", "printf '? '\nread answer\nprintf '%s' \"$answer\" > answer\nexit 7\n");
  CwdGuard cwd(dir.Path());
  PosixPlatform platform;
  platform.SetToolConsole(MakeConsoleWindowFactory(nullptr));
  QString title, seen;
  Driver driver([&](ConsoleWindow& console) {
    if (!console.OutputText().contains("? ")) return false;
    title = console.windowTitle();
    Type(console, QString::fromUtf8("x 論文"));
    return true;
  });
  platform.BeginAction();
  EXPECT_EQ(platform.RunTool(tool, {"my paper"}), 7);
  platform.EndAction(ActionVerdict());
  EXPECT_EQ(dir.Read("answer"), "x 論文");
  EXPECT_EQ(title, QString::fromUtf8("ask - my paper"));
}

// One window per action: every run under its header, in order, each with
// its status; the action's verdict, not a tool's status, ends it: the window
// closes by itself after a success and stays, saying what failed, after a
// failure or a stop.
TEST(ConsoleWindow, OneWindowPerActionStaysOnlyAfterAFailure) {
  TempDir dir;
  CwdGuard cwd(dir.Path());
  const std::string ok = Script(dir, "ok", "echo fine\n");
  const std::string bad = Script(dir, "bad", "echo broken\nexit 3\n");
  const std::string segv = Script(dir, "segv", "kill -SEGV $$\n");
  using Kind = ActionVerdict::Kind;
  struct Case {
    std::vector<std::string> programs;
    ActionVerdict verdict;
    bool staysOpen;
    QString lastLine;
  };
  const std::vector<Case> cases = {
      {{ok, ok}, {}, false, QString::fromUtf8("ok は終了コード 0 で終わりました。")},
      // A failed run the action got past (a retry that worked) fails nothing.
      {{bad, ok}, {Kind::Success, "PDF ファイルを作りました。", false}, false,
       QString::fromUtf8("✔ PDF ファイルを作りました。")},
      {{segv}, {Kind::Failure, "PDF file が作れません！", true}, true, QString::fromUtf8("✖ PDF file が作れません！")},
      {{ok}, {Kind::Failure, "コンパイルに失敗しました", false}, true, QString::fromUtf8("✖ コンパイルに失敗しました")},
      {{ok}, {Kind::Stopped, "停止したので、処理をここで終えました。", false}, true,
       QString::fromUtf8("■ 停止したので、処理をここで終えました。")},
      {{"mirvan-no-such-tool"}, {Kind::Failure, "PDF ファイルができませんでした。", false}, true,
       QString::fromUtf8("✖ PDF ファイルができませんでした。")},
  };
  for (const Case& c : cases) {
    auto console = MakeConsoleWindowFactory(nullptr);
    PosixPlatform platform;
    platform.SetToolConsole(console);
    platform.BeginAction();
    for (const std::string& program : c.programs) platform.RunTool(program, {"paper"});
    platform.EndAction(c.verdict);
    ASSERT_NE(console->Window(), nullptr);
    EXPECT_EQ(console->Window()->isVisible(), c.staysOpen) << c.lastLine.toStdString();
    const QStringList lines = console->Window()->OutputText().split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.filter(QString::fromUtf8("▶ ")).size(), static_cast<int>(c.programs.size()) - (c.programs[0][0] == 'm'));
    EXPECT_EQ(lines.last(), c.lastLine);
    // An action that runs nothing keeps the last transcript.
    platform.BeginAction();
    platform.EndAction(ActionVerdict());
    EXPECT_TRUE(console->Window()->OutputText().contains(c.lastLine));
  }
}

TEST(ConsoleWindow, ShowsTheAnswerAndTheToolsReply) {
  TempDir dir;
  std::string tool = Script(dir, "ask", "printf '? '\nread answer\necho \"got [$answer]\"\n");
  ConsoleWindow console;
  Driver driver([&](ConsoleWindow& shown) {
    if (!shown.OutputText().contains("? ")) return false;
    Type(shown, "x");
    return true;
  });
  EXPECT_EQ(console.Run({tool}, "ask - paper"), 0);
  EXPECT_TRUE(console.OutputText().contains("\n? x\ngot [x]\n")) << console.OutputText().toStdString();
}

TEST(ConsoleWindow, StopOrClosingEndsAHangingTool) {
  TempDir dir;
  struct Case {
    std::string body;
    int status;
    std::function<void(ConsoleWindow&)> end;
  };
  auto close = [](ConsoleWindow& w) { w.close(); };
  auto stopButton = [](ConsoleWindow& w) { w.findChild<QPushButton*>("stop")->click(); };
  auto ctrlC = [](ConsoleWindow& w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    QApplication::sendEvent(w.findChild<QLineEdit*>("input"), &press);
  };
  const std::vector<Case> cases = {
      {"echo started\nexec sleep 30\n", 128 + SIGTERM, close},
      {"echo started\nwhile :; do :; done\n", 128 + SIGTERM, stopButton},
      {"echo started\nsleep 30\n", 128 + SIGTERM, ctrlC},
      // Deaf to TERM, like its sleep: the KILL after the grace ends both.
      {"trap '' TERM\necho started\nsleep 30\necho survived\n", 128 + SIGKILL, close},
  };
  for (const Case& c : cases) {
    std::string tool = Script(dir, "hang", c.body);
    ConsoleWindow console;
    Driver driver([&c](ConsoleWindow& shown) {
      if (!shown.OutputText().contains("started")) return false;
      c.end(shown);
      return true;
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(console.Run({tool}, "hang"), c.status);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(console.OutputText().contains("survived"));
    EXPECT_TRUE(console.OutputText().contains(QString::fromUtf8("hang を停止しました。")));
  }
}

TEST(ConsoleWindow, CharacterSplitAcrossWritesDecodesWhole) {
  TempDir dir;
  struct Case {
    mbcs::CodePage cp;
    std::string first, second;  // printf escapes of the two halves
  };
  const std::vector<Case> cases = {
      {mbcs::CodePage::Utf8, "\\343\\201", "\\202\\n"},  // あ in UTF-8
      {mbcs::CodePage::Cp932, "\\202", "\\240\\n"},      // あ in Shift_JIS
  };
  mbcs::CodePage saved = mbcs::SystemCodePage();
  for (const Case& c : cases) {
    mbcs::SetSystemCodePage(c.cp);
    std::string tool = Script(dir, "split", "printf '" + c.first + "'\nsleep 0.3\nprintf '" + c.second + "'\n");
    ConsoleWindow console;
    EXPECT_EQ(console.Run({tool}, "split"), 0);
    EXPECT_TRUE(console.OutputText().contains(QString::fromUtf8("\nあ\n"))) << console.OutputText().toStdString();
  }
  mbcs::SetSystemCodePage(saved);
}

TEST(ConsoleWindow, ScrollbackAndLinesStayBounded) {
  TempDir dir;
  std::string tool = Script(dir, "flood",
                            "seq 1 50000\n"
                            "head -c 5000 /dev/zero | tr '\\0' a\n");
  ConsoleWindow console;
  EXPECT_EQ(console.Run({tool}, "flood"), 0);
  auto* view = console.findChild<QPlainTextEdit*>("output");
  ASSERT_NE(view, nullptr);
  EXPECT_LE(view->document()->blockCount(), ConsoleWindow::kMaxLines);
  EXPECT_FALSE(view->document()->isUndoAvailable());
  QStringList lines = console.OutputText().split('\n');
  EXPECT_TRUE(lines.contains("50000"));
  EXPECT_FALSE(lines.contains("1"));
  for (const QString& line : lines) EXPECT_LE(line.size(), ConsoleWindow::kMaxLineLength);
  // The tool's unended last line, then the line saying how it ended.
  EXPECT_EQ(lines[lines.size() - 3].size(), 5000 % ConsoleWindow::kMaxLineLength);
}

TEST(ConsoleWindow, LongLinesKeepWhatTheScrollbackHolds) {
  // 3 MB in 3000 lines, far fewer lines than the scrollback holds: the run's
  // header and the lines before them stay.
  TempDir dir;
  std::string tool = Script(dir, "wide", "seq 1 30\nyes \"$(head -c 999 /dev/zero | tr '\\0' b)\" | head -n 3000\n");
  ConsoleWindow console;
  EXPECT_EQ(console.Run({tool}, "wide"), 0);
  console.ShowPending();
  auto* view = console.findChild<QPlainTextEdit*>("output");
  ASSERT_NE(view, nullptr);
  const QStringList lines = view->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 1 + 30 + 3000 + 2) << "header, 30 lines, 3000 lines, the end line and after it";
  EXPECT_EQ(lines[0].toStdString(), tool_text::Header({tool}, std::string()));
  EXPECT_EQ(lines[1], "1");
  EXPECT_EQ(lines[30], "30");
  EXPECT_EQ(lines[31], QString(999, QLatin1Char('b')));
  EXPECT_EQ(lines[3030], QString(999, QLatin1Char('b')));
}

TEST(ConsoleWindow, ProgramThatCannotStartShowsNoWindow) {
  TempDir dir;
  dir.Write("plain", "");
  ::chmod(dir.File("plain").c_str(), 0644);
  ConsoleWindow console;
  EXPECT_EQ(console.Run({dir.File("plain")}, "plain"), -1);
  EXPECT_FALSE(console.isVisible());
}

TEST(ConsoleWindow, AnswerAtTeXsPromptEndsTheRun) {
  std::string platex = posix::ResolveProgram("platex");
  if (platex.empty()) GTEST_SKIP() << "platex is not installed";
  TempDir dir;
  dir.Write("my paper.tex",
            "\\documentclass{jarticle}\n\\begin{document}\n日本語 \\undefinedmacro\n\\end{document}\n");
  CwdGuard cwd(dir.Path());
  ConsoleWindow console;
  Driver driver([](ConsoleWindow& shown) {
    if (!shown.OutputText().endsWith("\n? ")) return false;
    Type(shown, "x");
    return true;
  });
  int status = console.Run({platex, "my paper"}, "platex - my paper");
  EXPECT_NE(status, 0);
  EXPECT_NE(status, -1);
  EXPECT_TRUE(console.OutputText().contains(QString::fromUtf8("日本語 \\undefinedmacro"))) << status;
  EXPECT_TRUE(console.OutputText().contains("\n? x\n"));
  EXPECT_NE(dir.Read("my paper.log").find("\n? x"), std::string::npos);
}

}  // namespace
