// Opening a file at a line in the editor: stand-ins named like the editors
// record the words they were started with, through the real POSIX start
// and, for the default editor, the desktop's association read by GIO.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/editor_command.h"
#include "platform/posix/posix_platform.h"
#include "support/script_helpers.h"
#include "support/case_name.h"

namespace {

struct EditorCase {
  const char* program;                // the stand-in's file name
  std::vector<std::string> expected;  // after the program; F is the file's full path
};

const char kFile[] = "F";

class EditorAtLine : public ::testing::TestWithParam<EditorCase> {
 protected:
  // The words the stand-in got, F for the document's path; first its folder.
  std::vector<std::string> Recorded() {
    std::vector<std::string> lines = WaitForLines(tools, "record");
    for (std::string& l : lines)
      for (std::size_t p = l.find(doc); p != std::string::npos; p = l.find(doc, p + 1)) l.replace(p, doc.size(), kFile);
    return lines;
  }
  TempDir tools, folder;
  std::string doc = folder.File("my docs/chap/two.tex");
};

TEST_P(EditorAtLine, StartedWithTheLineWords) {
  PosixPlatform platform;
  ToolSettings settings;
  settings.m_strEditor = WriteRecorder(tools, GetParam().program, tools.File("record"));
  ASSERT_TRUE(editor::OpenAtLine(platform, settings, doc, 7, folder.Path()));
  std::vector<std::string> expected{RealDir(folder.Path())};
  expected.insert(expected.end(), GetParam().expected.begin(), GetParam().expected.end());
  EXPECT_EQ(Recorded(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    KnownEditors, EditorAtLine,
    ::testing::Values(EditorCase{"code", {"--goto", "F:7"}}, EditorCase{"emacs", {"+7", "F"}},
                      EditorCase{"emacsclient", {"+7", "F"}}, EditorCase{"vim", {"+7", "F"}},
                      EditorCase{"gvim", {"+7", "F"}}, EditorCase{"nvim", {"+7", "F"}},
                      EditorCase{"nvim-qt", {"--", "+7", "F"}}, EditorCase{"gedit", {"+7", "F"}},
                      EditorCase{"kate", {"--line", "7", "F"}}, EditorCase{"mousepad", {"F"}},
                      EditorCase{"geany", {"--line=7", "F"}}, EditorCase{"subl", {"F:7"}},
                      EditorCase{"sublime_text", {"F:7"}}, EditorCase{"texworks", {"--position=7", "F"}},
                      EditorCase{"texstudio", {"F", "--line", "7"}}, EditorCase{"Notepad++.exe", {"-n7", "F"}},
                      EditorCase{"sakura.exe", {"-Y=7", "F"}}, EditorCase{"Hidemaru.exe", {"/j7,1", "F"}},
                      EditorCase{"TeraPad.exe", {"/j=7", "F"}}, EditorCase{"notepad.exe", {"F"}},
                      EditorCase{"unknown-editor", {"F"}}),
    [](const ::testing::TestParamInfo<EditorCase>& i) { return CaseName(i.index, i.param.program); });

TEST_F(EditorAtLine, TemplateOfOnesOwnKeepsAPathWithBlanksOneWord) {
  PosixPlatform platform;
  ToolSettings settings;
  settings.m_strEditor = "/nonexistent/editor";
  const std::string myedit = WriteRecorder(tools, "my edit", tools.File("record"));
  settings.m_strEditLine = "\"" + myedit + "\" --line %l --file=%f 100%% %%l";
  ASSERT_TRUE(editor::OpenAtLine(platform, settings, doc, 7, folder.Path()));
  EXPECT_EQ(Recorded(),
            (std::vector<std::string>{RealDir(folder.Path()), "--line", "7", "--file=F", "100%", "%l"}));
}

TEST_F(EditorAtLine, DefaultEditorResolvedToTheDesktopsProgram) {
  // The desktop's editor for TeX sources, in a private XDG setup read by
  // GIO in a child of its own (GIO keeps what it read once).
  TempDir xdg;
  MakePrivateXdg(xdg);
  const std::string gedit = WriteRecorder(tools, "gedit", tools.File("record"));
  xdg.Write("data/applications/test-gedit.desktop",
            "[Desktop Entry]\nType=Application\nName=Editor\nExec=env LC_ALL=C " + gedit +
                " --new-window %U\nMimeType=text/x-tex;text/plain;\nTerminal=false\n");
  xdg.Write("config/mimeapps.list", "[Default Applications]\ntext/x-tex=test-gedit.desktop\n");
  pid_t pid = ::fork();
  if (pid == 0) {
    UsePrivateXdg(xdg);
    PosixPlatform platform;
    ToolSettings settings;
    settings.m_strEditor = platform.Values().defaultEditor;
    ::_exit(editor::OpenAtLine(platform, settings, doc, 7, folder.Path()) ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(Recorded(), (std::vector<std::string>{RealDir(folder.Path()), "--new-window", "+7", "F"}));
}

}  // namespace
