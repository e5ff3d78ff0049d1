// The command that opens a file at a line in the user's editor: argument
// words for a start without a shell, from the editor setting ([Editor]
// EDIT) and the line template ([Editor] EDITLINE). Toolkit-free.
#pragma once

#include <string>
#include <vector>

#include "config/tool_config.h"
#include "platform/platform.h"
#include "text/mbcs.h"

namespace editor {

// How a program is known: its base name without folder, letter case and a
// trailing ".exe" ("C:\Program Files\Notepad++\notepad++.exe" -> "notepad++").
std::string ProgramName(const std::string& program, mbcs::CodePage cp = mbcs::SystemCodePage());

// The words after `program`'s own that put a known editor at a line, with
// %f for the file and %l for the line; empty when the editor is not known
// or knows no way to a line.
std::vector<std::string> KnownLineArguments(const std::string& program, mbcs::CodePage cp = mbcs::SystemCodePage());

// `templ` split into words the way option strings are (blanks separate,
// double quotes group), then in each word %f replaced by `file`, %l by
// `line` and %% by %: a file name with blanks stays one word. A template
// without %f gets the file as its last word.
std::vector<std::string> FillTemplate(const std::string& templ, const std::string& file, int line,
                                      mbcs::CodePage cp = mbcs::SystemCodePage());

struct Command {
  std::vector<std::string> argv;  // argv[0] is the program
  bool atLine = false;            // false: the file alone, as Edit opens it
};

// The command for `file` at `line` (1-based; 0 = the file alone).
// `lineTemplate` (EDITLINE), when not blank, is the whole command;
// otherwise `editor` is the program words (EDIT as one word, or a desktop
// entry's program and its fixed arguments) followed by the known editor's
// line arguments, or by the file alone.
Command ForLine(const std::vector<std::string>& editor, const std::string& lineTemplate, const std::string& file,
                int line, mbcs::CodePage cp = mbcs::SystemCodePage());

// Opens `path` at `line` in the configured editor (settings' EDIT and
// EDITLINE), started without a shell in `dir`. The platform's default
// editor stands for the desktop's editor for TeX sources and is asked for
// its program first. An editor with no known way to a line opens the file
// as the Edit button does. false when nothing could be started.
bool OpenAtLine(IPlatform& platform, const ToolSettings& settings, const std::string& path, int line,
                const std::string& dir);

}  // namespace editor
