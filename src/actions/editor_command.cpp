#include "actions/editor_command.h"

#include <cstring>

namespace editor {
namespace {

// Each known editor by its program names and the words that open %f at %l.
struct Known {
  const char* names;  // blank-separated
  const char* words;  // blank-separated, each filled by FillTemplate
};
const Known kKnown[] = {
    {"code code-insiders codium vscodium", "--goto %f:%l"},
    {"emacs emacsclient emacsclientw runemacs", "+%l %f"},
    {"vim gvim nvim vi view mvim", "+%l %f"},
    {"nvim-qt", "-- +%l %f"},  // the words after -- go to Neovim itself
    {"gedit", "+%l %f"},
    {"kate kwrite", "--line %l %f"},
    {"geany", "--line=%l %f"},
    {"subl sublime_text", "%f:%l"},
    {"texworks", "--position=%l %f"},
    {"texstudio", "%f --line %l"},
    {"notepad++", "-n%l %f"},
    {"sakura", "-Y=%l %f"},
    {"hidemaru", "/j%l,1 %f"},
    {"terapad", "/j=%l %f"},
    // Mousepad goes to a line from version 0.6 on, and stops with an
    // unknown option before it (Debian 12 has 0.5): the file alone. A
    // newer one takes EDITLINE=mousepad --line=%l %f.
};

bool HasWord(const char* words, const std::string& word) {
  const std::size_t n = word.size();
  for (const char* p = words; *p;) {
    const char* end = std::strchr(p, ' ');
    const std::size_t len = end ? static_cast<std::size_t>(end - p) : std::strlen(p);
    if (len == n && word.compare(0, n, p, len) == 0) return true;
    if (!end) break;
    p = end + 1;
  }
  return false;
}

}  // namespace

std::string ProgramName(const std::string& program, mbcs::CodePage cp) {
  const std::size_t sep = mbcs::FindLastOf(program, "/\\", cp);
  std::string name = sep == std::string::npos ? program : program.substr(sep + 1);
  // Letter case of ASCII letters only: a double-byte character stays as it is.
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (cp == mbcs::CodePage::Cp932 && mbcs::IsLeadByte(c, cp)) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      name[i] = static_cast<char>(c | 0x20);
    }
  }
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
  return name;
}

std::vector<std::string> KnownLineArguments(const std::string& program, mbcs::CodePage cp) {
  const std::string name = ProgramName(program, cp);
  for (const Known& k : kKnown)
    if (HasWord(k.names, name)) return mbcs::SplitWords(k.words, cp);
  return {};
}

namespace {

// One word with its placeholders filled; `hasFile` set when it held %f.
std::string FillWord(const std::string& w, const std::string& file, const std::string& lineText, bool& hasFile,
                     mbcs::CodePage cp) {
  std::string out;
  for (std::size_t i = 0; i < w.size(); ++i) {
    const auto c = static_cast<unsigned char>(w[i]);
    if (cp == mbcs::CodePage::Cp932 && mbcs::IsLeadByte(c, cp) && i + 1 < w.size()) {
      out += w[i];
      out += w[++i];
    } else if (c == '%' && i + 1 < w.size() && (w[i + 1] == 'f' || w[i + 1] == 'l' || w[i + 1] == '%')) {
      const char what = w[++i];
      if (what == 'f') {
        out += file;
        hasFile = true;
      } else {
        out += what == 'l' ? lineText : "%";
      }
    } else {
      out += w[i];
    }
  }
  return out;
}

std::string LineText(int line) { return std::to_string(line > 0 ? line : 1); }

}  // namespace

std::vector<std::string> FillTemplate(const std::string& templ, const std::string& file, int line,
                                      mbcs::CodePage cp) {
  std::vector<std::string> words = mbcs::SplitWords(templ, cp);
  bool hasFile = false;
  for (std::string& w : words) w = FillWord(w, file, LineText(line), hasFile, cp);
  if (!hasFile && !words.empty()) words.push_back(file);
  return words;
}

Command ForLine(const std::vector<std::string>& editor, const std::string& lineTemplate, const std::string& file,
                int line, mbcs::CodePage cp) {
  Command c;
  c.argv = FillTemplate(lineTemplate, file, line, cp);
  if (!c.argv.empty()) {
    c.atLine = true;
    return c;
  }
  c.argv = editor;
  // "env VAR=value program ...", as a desktop entry may start its program.
  std::size_t program = 0;
  if (!editor.empty() && ProgramName(editor[0], cp) == "env")
    for (program = 1; program < editor.size() && editor[program].find('=') != std::string::npos;) ++program;
  const std::vector<std::string> known = program >= editor.size() || line <= 0
                                             ? std::vector<std::string>()
                                             : KnownLineArguments(editor[program], cp);
  if (known.empty()) {
    c.argv.push_back(file);
    return c;
  }
  bool hasFile = false;
  for (const std::string& w : known) c.argv.push_back(FillWord(w, file, LineText(line), hasFile, cp));
  c.atLine = true;
  return c;
}

bool OpenAtLine(IPlatform& platform, const ToolSettings& settings, const std::string& path, int line,
                const std::string& dir) {
  std::vector<std::string> editor{settings.m_strEditor};
  if (settings.m_strEditor == platform.Values().defaultEditor) editor = platform.DesktopEditor();
  const Command c = ForLine(editor, settings.m_strEditLine, path, line);
  if (c.atLine) return platform.StartDetached(c.argv, dir);
  return platform.OpenEditor(settings.m_strEditor, path, dir);
}

}  // namespace editor
