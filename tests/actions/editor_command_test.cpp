// The editor's command for a line, where the POSIX stand-in test cannot
// look: Windows program paths, the code page's double-byte characters, and
// which way the line goes when the editor is not known.
#include "actions/editor_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"

namespace {

TEST(EditorCommand, ProgramNameOfWindowsAndPosixPaths) {
  const struct {
    const char* program;
    const char* name;
  } cases[] = {
      {"C:\\Program Files\\Notepad++\\notepad++.exe", "notepad++"},
      {"c:\\tools\\HIDEMARU.EXE", "hidemaru"},
      {"/usr/bin/emacsclient", "emacsclient"},
      {"sakura", "sakura"},
      // 表 is 0x95 0x5C in CP932: its second byte is no separator.
      {"C:\\\x95\x5C\\TeraPad.exe", "terapad"},
      {"C:\\ed\\\x95\x5C.exe", "\x95\x5C"},
  };
  for (const auto& c : cases) EXPECT_EQ(editor::ProgramName(c.program, mbcs::CodePage::Cp932), c.name) << c.program;
}

TEST(EditorCommand, WindowsEditorUnderProgramFiles) {
  ScriptedPlatform platform(WindowsPlatformValues());
  ToolSettings settings;
  settings.m_strEditor = "C:\\Program Files\\Notepad++\\notepad++.exe";
  EXPECT_TRUE(editor::OpenAtLine(platform, settings, "C:\\my docs\\chap/two.tex", 7, "C:\\my docs\\"));
  EXPECT_EQ(platform.opens, (std::vector<std::string>{"start|C:\\Program Files\\Notepad++\\notepad++.exe|-n7|"
                                                      "C:\\my docs\\chap/two.tex|C:\\my docs\\"}));
}

TEST(EditorCommand, TemplateInTheCodePage) {
  // "%" after a lead byte is that character's second byte, not a placeholder.
  const std::vector<std::string> words =
      editor::FillTemplate("\"C:\\\x95\x5C\\ed.exe\" /l%l \x81%f", "C:\\a b.tex", 12, mbcs::CodePage::Cp932);
  EXPECT_EQ(words, (std::vector<std::string>{"C:\\\x95\x5C\\ed.exe", "/l12", "\x81%f", "C:\\a b.tex"}));
}

TEST(EditorCommand, NoLineOrNoKnownWayOpensTheFileAsEditDoes) {
  // Through the platform's editor open, as the Edit button: a line the
  // editor cannot take is never guessed at.
  for (const auto& [editorName, line] : {std::pair<std::string, int>{"notepad.exe", 7}, {"code", 0}}) {
    ScriptedPlatform platform(WindowsPlatformValues());
    ToolSettings settings;
    settings.m_strEditor = editorName;
    EXPECT_TRUE(editor::OpenAtLine(platform, settings, "C:\\d\\a.tex", line, "C:\\d\\"));
    EXPECT_EQ(platform.opens, (std::vector<std::string>{"editor|" + editorName + "|C:\\d\\a.tex|C:\\d\\"}))
        << editorName;
  }
}

}  // namespace
