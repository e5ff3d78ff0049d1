#include "actions/tex_log.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <unordered_map>

namespace texlog {
namespace {

// Bounds that keep a hostile transcript from making us grow: a message is
// cut at this length, a wrapped line is read in pieces of at most this
// length, and files nested deeper than this are counted, not kept.
constexpr std::size_t kMaxMessage = 2000;
constexpr std::size_t kMaxLogicalLine = 64 * 1024;
constexpr std::size_t kMaxDepth = 4096;
// How far an error's context, a box display or a help text may run before
// we stop skipping and read lines as TeX's own again.
constexpr int kMaxErrorLines = 60;
constexpr int kMaxBoxLines = 100;
// How many lines a message's parenthesis may stay open.
constexpr std::size_t kMarkerLines = 8;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// How many entries of one kind a transcript gives; the rest are counted.
constexpr std::size_t kMaxEntriesPerKind = 10000;
// How many entries one call may look for in the sources.
constexpr int kMaxPlacements = 256;
// The most blank-separated words a file name may have.
constexpr int kMaxNameWords = 16;

bool StartsWith(std::string_view s, std::string_view p) { return s.size() >= p.size() && s.compare(0, p.size(), p) == 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The number at s[i...] (at most nine digits, so it fits an int); -1 when
// no digit is there.
int NumberAt(std::string_view s, std::size_t i) {
  if (i >= s.size() || !IsDigit(s[i])) return -1;
  int n = 0;
  for (int k = 0; i < s.size() && IsDigit(s[i]) && k < 9; ++i, ++k) n = n * 10 + (s[i] - '0');
  return n;
}

// The length of the longest prefix of `s` that fits in `room` bytes without
// cutting a character.
std::size_t FitPrefix(std::string_view s, std::size_t room, mbcs::CodePage cp) {
  if (s.size() <= room) return s.size();
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t len = 1;
    if (cp == mbcs::CodePage::Cp932) {
      if (mbcs::IsLeadByte(c, cp)) len = 2;
    } else if (c >= 0xC0) {
      while (i + len < s.size() && (static_cast<unsigned char>(s[i + len]) & 0xC0) == 0x80 && len < 4) ++len;
    }
    if (i + len > room) break;
    i += len;
  }
  return i;
}

// Appends a piece of a message, a blank between pieces, up to kMaxMessage.
void AppendText(std::string& out, std::string_view piece, mbcs::CodePage cp) {
  piece = Trim(piece);
  if (piece.empty() || out.size() >= kMaxMessage) return;
  if (!out.empty()) out += ' ';
  out.append(piece.substr(0, FitPrefix(piece, kMaxMessage - std::min(out.size(), kMaxMessage), cp)));
}

// The line number after the last `marker` in `text` ("on input line 12"), or 0.
int LineAfter(std::string_view text, std::string_view marker) {
  const std::size_t p = text.rfind(marker);
  if (p == std::string_view::npos) return 0;
  const int n = NumberAt(text, p + marker.size());
  return n < 0 ? 0 : n;
}

// How TeX wraps its transcript at the line width. pdfTeX counts bytes and
// cuts a multibyte character in two, but moves one of a file name to the
// next line whole; pTeX counts a double-byte character
// as two columns, UTF-8 or not, and moves one that would not fit to the
// next line; upTeX, LuaTeX and XeTeX count bytes (XeTeX characters) and
// move a character that would not fit.
enum class Wrap { Bytes, Columns, WholeChars };

Wrap WrapOf(std::string_view banner) {
  auto has = [&](const char* w) { return banner.find(w) != std::string_view::npos; };
  if (has("upTeX") || has("LuaTeX") || has("LuaHBTeX") || has("XeTeX")) return Wrap::WholeChars;
  if (has("pTeX")) return Wrap::Columns;
  return Wrap::Bytes;
}

bool StartsMultibyte(std::string_view s, mbcs::CodePage cp) {
  if (s.empty()) return false;
  const auto c = static_cast<unsigned char>(s[0]);
  return cp == mbcs::CodePage::Cp932 ? mbcs::IsLeadByte(c, cp) : c >= 0xC0;
}

// The physical lines of a transcript joined where TeX broke them at the
// line width, with the offsets of the breaks in the joined line.
class LogicalLines {
 public:
  LogicalLines(std::string_view text, const Options& o, bool tex) : m_text(text), m_cp(o.cp) {
    m_width = o.maxPrintLine > 0 ? static_cast<std::size_t>(o.maxPrintLine) : 0;
    if (!tex || m_width == 0) return;
    std::string_view banner = text.substr(0, text.find('\n'));
    m_wrap = WrapOf(banner);
    m_joins = Wrapped();
  }

  bool Next(std::string_view& line, std::vector<std::size_t>& breaks) {
    breaks.clear();
    if (!m_started) {
      m_started = true;
      Advance();
      line = m_cur;
      if (!m_hasCur) return false;
      Advance();
      return true;  // the banner is written before the width applies
    }
    if (!m_hasCur) return false;
    std::string_view cur = m_cur;
    Advance();
    if (!m_joins || !m_hasCur || !Full(cur, m_cur)) {
      line = cur;
      return true;
    }
    m_buffer.assign(cur.data(), cur.size());
    while (m_hasCur && m_buffer.size() < kMaxLogicalLine) {
      const std::string_view next = m_cur;
      Advance();
      breaks.push_back(m_buffer.size());
      m_buffer.append(next.data(), next.size());
      if (!m_hasCur || !Full(next, m_cur)) break;
    }
    line = m_buffer;
    return true;
  }

 private:
  // The next physical line without its line break, in m_cur.
  void Advance() {
    m_hasCur = m_pos < m_text.size();
    if (m_hasCur) m_cur = Physical();
  }
  std::string_view Physical() {
    const char* start = m_text.data() + m_pos;
    const std::size_t left = m_text.size() - m_pos;
    const void* nl = std::memchr(start, '\n', left);
    std::size_t len = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : left;
    m_pos += nl ? len + 1 : len;
    if (len > 0 && start[len - 1] == '\r') --len;
    return std::string_view(start, len);
  }

  // Columns as pTeX counts them: a double-byte character is two.
  std::size_t Columns(std::string_view s) const {
    if (m_cp == mbcs::CodePage::Cp932) return s.size();
    std::size_t n = 0;
    for (char ch : s) {
      const auto c = static_cast<unsigned char>(ch);
      n += c < 0x80 ? 1 : c >= 0xC0 ? 2 : 0;
    }
    return n;
  }
  std::size_t Chars(std::string_view s) const {
    std::size_t n = 0;
    for (char ch : s) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    return n;
  }
  // The measure that the width applies to.
  std::size_t Measure(std::string_view s) const {
    switch (m_wrap) {
      case Wrap::Columns: return Columns(s);
      case Wrap::WholeChars: return std::min(s.size(), Chars(s));
      case Wrap::Bytes: break;
    }
    return s.size();
  }

  // Whether TeX broke `line` at the width and went on in `next`.
  bool Full(std::string_view line, std::string_view next) const {
    const std::size_t w = m_width;
    if (line.size() + 3 < w) return false;  // no measure is above the byte count
    switch (m_wrap) {
      case Wrap::Bytes: return line.size() == w || (line.size() < w && StartsMultibyte(next, m_cp));
      case Wrap::Columns: {
        const std::size_t cols = Columns(line);
        return cols == w || (cols + 1 == w && StartsMultibyte(next, m_cp));
      }
      case Wrap::WholeChars:
        // LuaTeX breaks what Lua code writes one byte later.
        if (line.size() == w || line.size() == w + 1 || Chars(line) == w) return true;
        return line.size() < w && StartsMultibyte(next, m_cp);
    }
    return false;
  }

  // A transcript written with a larger width (max_print_line raised) has
  // lines longer than ours in its body (LuaTeX's own may be one longer);
  // such a transcript is never joined.
  bool Wrapped() {
    std::size_t saved = m_pos;
    Physical();  // the banner is written before the width applies
    bool wrapped = true;
    while (m_pos < m_text.size()) {
      std::string_view l = Physical();
      if (StartsWith(l, "Here is how much of")) break;  // the statistics are not wrapped
      if (l.size() > m_width + 1 && !StartsWith(l, "**") && Measure(l) > m_width + 1) {
        wrapped = false;
        break;
      }
    }
    m_pos = saved;
    return wrapped;
  }

  std::string_view m_text;
  mbcs::CodePage m_cp;
  std::size_t m_width = 0;
  Wrap m_wrap = Wrap::Bytes;
  bool m_joins = false;
  std::size_t m_pos = 0;
  bool m_started = false;
  bool m_hasCur = false;
  std::string_view m_cur;  // the physical line after the one returned
  std::string m_buffer;
};

bool IsSeparator(char c, bool windows) { return c == '/' || (windows && c == '\\'); }

// Where the file name in a path begins (after its last separator; a
// double-byte character's second byte is never one).
std::size_t NameStart(std::string_view path, const Options& o) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (o.cp == mbcs::CodePage::Cp932 && mbcs::IsLeadByte(c, o.cp)) {
      ++i;
      continue;
    }
    if (IsSeparator(path[i], o.windowsPaths || path[i] == '\\')) start = i + 1;
  }
  return start;
}

// "name.ext": an extension of one to eight letters and digits, a letter first.
std::string_view Extension(std::string_view path, const Options& o) {
  const std::string_view name = path.substr(NameStart(path, o));
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  const std::string_view ext = name.substr(dot + 1);
  if (ext.empty() || ext.size() > 8 || !IsAlpha(ext[0])) return {};
  for (char c : ext)
    if (!IsAlpha(c) && !IsDigit(c)) return {};
  return ext;
}

// Written the way TeX names a file it opens: a path from the root, from
// the working folder, or from a drive.
bool PathLike(std::string_view s) {
  if (StartsWith(s, "/") || StartsWith(s, "./") || StartsWith(s, "../") || StartsWith(s, "~/") ||
      StartsWith(s, ".\\") || StartsWith(s, "..\\") || StartsWith(s, "\\\\"))
    return true;
  return s.size() >= 3 && IsAlpha(s[0]) && s[1] == ':' && (s[2] == '/' || s[2] == '\\');
}

// The tools' own outputs, read back by the next run: never the user's.
bool ToolOutput(std::string_view ext) {
  static const char* const kOutputs[] = {"aux", "toc", "lof", "lot", "out", "bbl", "ind", "gls", "glo",
                                         "nls", "nav", "snm", "vrb", "loa", "lol", "brf", "idx", "ilg"};
  for (const char* o : kOutputs) {
    if (ext.size() != std::strlen(o)) continue;
    bool same = true;
    for (std::size_t i = 0; i < ext.size(); ++i)
      same = same && (ext[i] | 0x20) == o[i];
    if (same) return true;
  }
  return false;
}

// Paths as the document's folder sees them.
class PathNames {
 public:
  explicit PathNames(const Options& o) : m_o(o) {}

  // Relative to the document's folder where the file lies in its tree.
  std::string_view Relative(std::string_view name) const {
    while (StartsWith(name, "./") || StartsWith(name, ".\\")) name.remove_prefix(2);
    const std::string& dir = m_o.docDir;
    if (!dir.empty() && name.size() > dir.size() && SamePrefix(name, dir)) name.remove_prefix(dir.size());
    return name;
  }
  // Inside the document's folder tree, given a relative name.
  bool Inside(std::string_view rel) const { return !rel.empty() && !PathLike(rel) && !StartsWith(rel, "../"); }

 private:
  bool SamePrefix(std::string_view name, const std::string& dir) const {
    for (std::size_t i = 0; i < dir.size(); ++i) {
      char a = name[i], b = dir[i];
      if (m_o.windowsPaths) {
        if (a == '\\') a = '/';
        if (b == '\\') b = '/';
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a | 0x20);
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b | 0x20);
      }
      if (a != b) return false;
      // The second byte of a double-byte character is compared as it is.
      if (m_o.cp == mbcs::CodePage::Cp932 && mbcs::IsLeadByte(static_cast<unsigned char>(dir[i]), m_o.cp) &&
          i + 1 < dir.size()) {
        ++i;
        if (name[i] != dir[i]) return false;
      }
    }
    return true;
  }
  const Options& m_o;
};

// The files the report names as read, once each.
class FileList {
 public:
  FileList(const Options& o, const PathNames& paths, std::vector<std::string>& out)
      : m_o(o), m_paths(paths), m_out(out) {}
  void Read(std::string_view rel) {
    if (!m_paths.Inside(rel) || ToolOutput(Extension(rel, m_o))) return;
    if (m_seen.emplace(rel, true).second) m_out.push_back(std::string(rel));
  }

 private:
  const Options& m_o;
  const PathNames& m_paths;
  std::vector<std::string>& m_out;
  std::unordered_map<std::string, bool> m_seen;
};

// The TeX transcript, line by line: TeX's file stack from its parentheses,
// and the error, warning and bad box messages with the file on top of the
// stack when they were written.
class TeXReader {
 public:
  TeXReader(const Options& o, Report& report)
      : m_o(o), m_report(report), m_paths(o), m_files(o, m_paths, report.files) {}

  void Line(std::string_view l, const std::vector<std::size_t>& breaks) {
    // The banner names the engine and its options in parentheses, no file.
    if (m_lineNo++ == 0) return;
    ForgetOldMarkers(l.empty());
    switch (m_state) {
      case State::SkipToBlank:
        if (l.empty() || --m_budget <= 0) m_state = State::Normal;
        return;
      case State::SkipOne:
        m_state = State::Normal;
        return;
      case State::Warning:
        if (!l.empty() && Continues(l, m_prefix)) {
          AppendText(m_active->message, l.substr(m_prefix.size() + 2), m_o.cp);
          return;
        }
        EndWarning();
        break;
      case State::Error:
        ErrorLine(l);
        return;
      case State::Normal:
        break;
    }
    NormalLine(l, breaks);
  }

  void Finish() {
    if (m_state == State::Warning) EndWarning();
  }

 private:
  enum class State { Normal, Error, Warning, SkipToBlank, SkipOne };
  enum class ErrorPhase { Message, Context, AfterContext, Help };
  struct Frame {
    bool file;
    std::size_t name;  // into m_names for a file; the line it was opened on for a message's "("
  };

  // The new entry, or past the limit of its kind a scratch one that is
  // counted and dropped. Valid until the next Add.
  Entry* Add(Kind kind, std::string_view message) {
    Entry* e = &m_scratch;
    if (m_kept[static_cast<int>(kind)]++ < kMaxEntriesPerKind) {
      m_report.entries.emplace_back();
      e = &m_report.entries.back();
    } else {
      ++m_report.dropped;
      m_scratch = Entry();
    }
    e->kind = kind;
    e->file = CurrentFile();
    AppendText(e->message, message, m_o.cp);
    m_active = e;
    return e;
  }

  std::string CurrentFile() const {
    if (m_overflow > 0) return std::string();
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it)
      if (it->file) return m_names[it->name];
    return std::string();
  }

  void NormalLine(std::string_view l, const std::vector<std::size_t>& breaks) {
    if (l.empty()) return;
    if (StartsWith(l, "! ") || StartsWith(l, "> ")) return StartError(l);
    if (BadBox(l)) return;
    if (WarningHeader(l)) return;
    if (StartsWith(l, "Runaway ")) {
      // The next line is the runaway text itself, with whatever
      // parentheses the source had.
      m_state = State::SkipOne;
      return;
    }
    if (l[0] == '?' || StartsWith(l, "l.")) return;  // an answer at the prompt, a stray context line
    ScanParentheses(l, breaks);
  }

  // --- errors -----------------------------------------------------------
  // "! msg", or "> \foo=macro:" of \show: a block of context lines
  // follows. What \show and \showlists print ("! OK.") is no error.
  void StartError(std::string_view l) {
    const std::string_view msg = l.substr(2);
    const bool shown = l[0] == '>' || msg == "OK." || StartsWith(msg, "OK (");
    // An error whose context never came (a file not found, then the
    // emergency stop) takes the place of the one after it.
    const bool waiting = m_state == State::Error && (m_phase == ErrorPhase::Message || m_phase == ErrorPhase::Context);
    if (!waiting) m_unplaced = m_report.entries.size();
    m_error = kNone;
    if (!shown && Add(Kind::Error, msg) != &m_scratch) m_error = m_report.entries.size() - 1;
    m_state = State::Error;
    m_phase = ErrorPhase::Message;
    m_errorLines = 0;
    // A package's error continues on lines that begin "(name)".
    m_prefix.clear();
    for (std::string_view kind : {std::string_view("Package "), std::string_view("Class ")})
      if (StartsWith(msg, kind)) {
        const std::size_t end = msg.find(' ', kind.size());
        if (end != std::string_view::npos) m_prefix.assign(msg.substr(kind.size(), end - kind.size()));
      }
  }

  void ErrorLine(std::string_view l) {
    if (StartsWith(l, "! ") || StartsWith(l, "> ")) return StartError(l);
    if (++m_errorLines > kMaxErrorLines) {
      // No end found where TeX puts one: read on as TeX's own lines.
      m_state = State::Normal;
      return NormalLine(l, {});
    }
    switch (m_phase) {
      case ErrorPhase::Message:
        if (!m_prefix.empty() && Continues(l, m_prefix)) {
          if (m_error != kNone) AppendText(m_report.entries[m_error].message, l.substr(m_prefix.size() + 2), m_o.cp);
          return;
        }
        m_phase = ErrorPhase::Context;
        [[fallthrough]];
      case ErrorPhase::Context:
        if (StartsWith(l, "l.") && NumberAt(l, 2) >= 0) {
          std::size_t i = 2;
          while (i < l.size() && IsDigit(l[i])) ++i;
          for (std::size_t k = m_unplaced; k < m_report.entries.size(); ++k) {
            Entry& e = m_report.entries[k];
            e.line = NumberAt(l, 2);
            AppendText(e.detail, l.substr(i), m_o.cp);
          }
          m_unplaced = m_report.entries.size();
          m_phase = ErrorPhase::AfterContext;
        } else if (StartsWith(l, "<*>")) {
          m_unplaced = m_report.entries.size();
          m_phase = ErrorPhase::AfterContext;  // read from the terminal: no line in a file
        } else if (StartsWith(l, "?")) {
          m_state = State::Normal;  // the prompt, answered
        }
        return;
      case ErrorPhase::AfterContext:
        m_phase = ErrorPhase::Help;  // the rest of the line TeX was reading
        return;
      case ErrorPhase::Help:
        if (l.empty() || l[0] == '?') m_state = State::Normal;
        return;
    }
  }

  // --- warnings -----------------------------------------------------------
  // "(name)" and blanks: the continuation of a message of package `name`.
  static bool Continues(std::string_view l, const std::string& name) {
    return l.size() > name.size() + 1 && l[0] == '(' && l.compare(1, name.size(), name) == 0 &&
           l[name.size() + 1] == ')';
  }

  bool WarningHeader(std::string_view l) {
    const std::size_t p = l.find("Warning: ");
    if (p == std::string_view::npos || p > 100) return false;
    const std::string_view head = l.substr(0, p);
    if (head == "LaTeX ") {
      m_prefix = "LaTeX";
    } else if (head == "LaTeX Font ") {
      m_prefix = "Font";
    } else if ((StartsWith(head, "Package ") || StartsWith(head, "Class ")) && head.size() > 1) {
      const std::size_t s = head.find(' ') + 1;
      const std::string_view name = Trim(head.substr(s));
      if (name.empty() || name.find(' ') != std::string_view::npos) return false;
      m_prefix.assign(name);
    } else {
      return false;
    }
    Add(Kind::Warning, l);
    m_state = State::Warning;
    return true;
  }

  void EndWarning() {
    m_active->line = LineAfter(m_active->message, "on input line ");
    m_state = State::Normal;
  }

  // --- bad boxes ------------------------------------------------------------
  bool BadBox(std::string_view l) {
    static const std::string_view kHeads[] = {"Overfull \\hbox", "Underfull \\hbox", "Overfull \\vbox",
                                              "Underfull \\vbox", "Tight \\hbox",     "Loose \\hbox",
                                              "Tight \\vbox",     "Loose \\vbox"};
    const char c = l[0];
    if (c != 'O' && c != 'U' && c != 'T' && c != 'L') return false;
    bool found = false;
    for (std::string_view h : kHeads) found = found || StartsWith(l, h);
    if (!found) return false;
    std::string_view msg = Trim(l);
    if (msg.size() > 3 && msg.substr(msg.size() - 3) == " []") msg.remove_suffix(3);
    Entry* e = Add(Kind::BadBox, msg);
    int line = LineAfter(msg, " at lines ");
    if (line == 0) line = LineAfter(msg, " at line ");
    e->line = line;
    // The box's contents follow, up to a blank line: the source's text,
    // parentheses and all.
    m_state = State::SkipToBlank;
    m_budget = kMaxBoxLines;
    return true;
  }

  // --- the file stack -------------------------------------------------------
  void ScanParentheses(std::string_view l, const std::vector<std::size_t>& breaks) {
    for (std::size_t i = 0; i < l.size(); ++i) {
      const char c = l[i];
      if (c == ')') {
        Pop();
      } else if (c == '(') {
        std::size_t end = i + 1;
        std::string_view name;
        if (FileAt(l, i + 1, breaks, name, end)) {
          Push(name);
          i = end - 1;
        } else {
          Push(Frame{false, m_lineNo});
          ++m_markers;
        }
      }
    }
  }

  // A parenthesis that opened no file belongs to a message ("(Font)", "(see
  // the transcript file", a \typeout's text) and closes within it, maybe a
  // line or two later. One that stays open is forgotten after a blank line
  // or a few lines, so that it does not take the place of a file's ")".
  void ForgetOldMarkers(bool blank) {
    if (m_markers == 0) return;
    const std::size_t now = m_lineNo;
    m_stack.erase(std::remove_if(m_stack.begin(), m_stack.end(),
                                 [&](const Frame& f) { return !f.file && (blank || now - f.name > kMarkerLines); }),
                  m_stack.end());
    m_markers = 0;
    for (const Frame& f : m_stack) m_markers += !f.file;
  }

  void Push(std::string_view name) {
    const std::string_view rel = m_paths.Relative(name);
    auto it = m_nameIndex.find(rel);
    if (it == m_nameIndex.end()) {
      // A name read for the first time.
      m_names.emplace_back(rel);
      it = m_nameIndex.emplace(std::string_view(m_names.back()), m_names.size() - 1).first;
      m_files.Read(m_names.back());
    }
    Push(Frame{true, it->second});
  }
  void Push(Frame f) {
    if (m_stack.size() >= kMaxDepth || m_overflow > 0) {
      ++m_overflow;
      return;
    }
    m_stack.push_back(f);
  }
  void Pop() {
    if (m_overflow > 0) {
      --m_overflow;
    } else if (!m_stack.empty()) {
      if (!m_stack.back().file) --m_markers;
      m_stack.pop_back();
    }
  }

  // Whether a file name starts at l[start]: TeX writes "(" and the name as
  // it opened the file. Sets the name and the position after it.
  bool FileAt(std::string_view l, std::size_t start, const std::vector<std::size_t>& breaks, std::string_view& name,
              std::size_t& end) const {
    if (start >= l.size()) return false;
    if (l[start] == '"') {
      const std::size_t close = l.find('"', start + 1);
      if (close == std::string_view::npos || close == start + 1) return false;
      name = l.substr(start + 1, close - start - 1);
      end = close + 1;
      return true;
    }
    // The run up to the next parenthesis; the name is its first word, or
    // for a path with blanks in it (TeX Live writes those unquoted) the
    // shortest run of words that ends in an extension.
    std::size_t stop = start;
    while (stop < l.size() && l[stop] != '(' && l[stop] != ')') ++stop;
    std::size_t wordEnd = start;
    while (wordEnd < stop && !IsBlank(l[wordEnd])) ++wordEnd;
    if (wordEnd == start) return false;
    const std::string_view first = l.substr(start, wordEnd - start);
    std::size_t nameEnd = wordEnd;
    if (Extension(first, m_o).empty()) {
      if (!PathLike(first)) return false;
      // The extension is in the last word: a dot in an earlier one would
      // put a blank in it.
      int words = 0;
      for (std::size_t e = wordEnd; e < stop && ++words <= kMaxNameWords;) {
        while (e < stop && IsBlank(l[e])) ++e;
        const std::size_t word = e;
        while (e < stop && !IsBlank(l[e])) ++e;
        if (e > word && !Extension(l.substr(word, e - word), m_o).empty()) {
          nameEnd = e;
          break;
        }
      }
    } else if (!PathLike(first) && IsDigit(first[0])) {
      return false;  // "(1.5pt": a dimension, not a file
    }
    nameEnd = AtExistingBreak(l, start, nameEnd, breaks);
    name = l.substr(start, nameEnd - start);
    end = nameEnd;
    return true;
  }

  // A name that runs over a line break may be a shorter name that filled
  // the line and the next line's first word; the file system tells, when
  // we may ask it.
  std::size_t AtExistingBreak(std::string_view l, std::size_t start, std::size_t end,
                              const std::vector<std::size_t>& breaks) const {
    if (!m_o.exists) return end;
    bool crosses = false;
    for (std::size_t b : breaks) crosses = crosses || (b > start && b < end);
    if (!crosses || m_o.exists(std::string(m_paths.Relative(l.substr(start, end - start))))) return end;
    for (auto it = breaks.rbegin(); it != breaks.rend(); ++it)
      if (*it > start && *it < end && m_o.exists(std::string(m_paths.Relative(l.substr(start, *it - start)))))
        return *it;
    return end;
  }

  const Options& m_o;
  Report& m_report;
  PathNames m_paths;
  FileList m_files;
  std::vector<Frame> m_stack;
  std::size_t m_overflow = 0;
  std::deque<std::string> m_names;  // the names' places stay put: the index points into them
  std::unordered_map<std::string_view, std::size_t> m_nameIndex;
  State m_state = State::Normal;
  ErrorPhase m_phase = ErrorPhase::Message;
  int m_errorLines = 0;
  int m_budget = 0;
  std::string m_prefix;
  std::size_t m_lineNo = 0;
  std::size_t m_markers = 0;  // message parentheses open on the stack
  std::size_t m_error = kNone;  // the error being read; none for what \show printed
  std::size_t m_unplaced = 0; // errors from here on wait for the context's line
  Entry* m_active = &m_scratch;  // the entry being read
  Entry m_scratch;
  std::size_t m_kept[3] = {0, 0, 0};
};

// Calls `each` with every line of a transcript that is not wrapped.
template <typename Each>
void ForEachLine(std::string_view text, const Options& o, Each each) {
  LogicalLines lines(text, o, false);
  std::string_view l;
  std::vector<std::size_t> breaks;
  while (lines.Next(l, breaks)) each(l);
}

// "... in main.idx, line 3." (mendex): the file and the line; false when absent.
bool InFileLine(std::string_view text, std::string_view& before, std::string& file, int& line) {
  const std::size_t p = text.find(", line ");
  if (p == std::string_view::npos) return false;
  const std::size_t in = text.rfind(" in ", p);
  if (in == std::string_view::npos) return false;
  line = NumberAt(text, p + 7);
  if (line < 0) return false;
  file.assign(text.substr(in + 4, p - in - 4));
  before = text.substr(0, in);
  return true;
}

// "(input = main.idx, line = 5; ...)" or "(file = main.idx, line = 5):" (makeindex).
void FileLineFields(std::string_view text, std::string& file, int& line) {
  for (std::string_view key : {std::string_view("(input = "), std::string_view("(file = ")}) {
    const std::size_t p = text.find(key);
    if (p == std::string_view::npos) continue;
    const std::size_t comma = text.find(',', p);
    if (comma == std::string_view::npos) return;
    file.assign(text.substr(p + key.size(), comma - p - key.size()));
    const std::size_t eq = text.find("line = ", comma);
    if (eq != std::string_view::npos) line = std::max(0, NumberAt(text, eq + 7));
    return;
  }
}

}  // namespace

Report ReadTeXLog(std::string_view log, const Options& options) {
  Report report;
  TeXReader reader(options, report);
  LogicalLines lines(log, options, true);
  std::string_view l;
  std::vector<std::size_t> breaks;
  while (lines.Next(l, breaks)) reader.Line(l, breaks);
  reader.Finish();
  return report;
}

Report ReadBibTeXLog(std::string_view blg, const Options& options) {
  Report report;
  PathNames paths(options);
  FileList files(options, paths, report.files);
  std::string_view previous;
  Entry* lastWarning = nullptr;
  ForEachLine(blg, options, [&](std::string_view l) {
    Entry e;
    if (StartsWith(l, "Warning--")) {
      e.kind = Kind::Warning;
      AppendText(e.message, l.substr(9), options.cp);
      report.entries.push_back(std::move(e));
      lastWarning = &report.entries.back();
      previous = l;
      return;
    }
    // A warning's place, on the line after it: "--line 12 of file refs.bib".
    if (lastWarning && StartsWith(l, "--line ")) {
      const std::size_t of = l.find(" of file ");
      lastWarning->line = std::max(0, NumberAt(l, 7));
      if (of != std::string_view::npos) lastWarning->file = paths.Relative(Trim(l.substr(of + 9)));
      lastWarning = nullptr;
      return;
    }
    lastWarning = nullptr;
    std::size_t at = l.find("---line ");
    std::size_t fileAt = std::string_view::npos;
    if (at != std::string_view::npos) {
      e.line = std::max(0, NumberAt(l, at + 8));
      const std::size_t of = l.find(" of file ", at);
      if (of != std::string_view::npos) fileAt = of + 9;
    } else if ((at = l.find("---while reading file ")) != std::string_view::npos) {
      fileAt = at + 22;
    }
    if (StartsWith(l, "Database file #")) {
      const std::size_t colon = l.find(": ");
      if (colon != std::string_view::npos) files.Read(paths.Relative(Trim(l.substr(colon + 2))));
    }
    if (at != std::string_view::npos) {
      e.kind = Kind::Error;
      if (fileAt != std::string_view::npos) e.file = paths.Relative(Trim(l.substr(fileAt)));
      // "I couldn't open database file x.bib" stands on the line before "---line 6 of file main.aux".
      AppendText(e.message, at > 0 ? l.substr(0, at) : previous, options.cp);
      report.entries.push_back(std::move(e));
    }
    previous = l;
  });
  return report;
}

Report ReadIndexLog(std::string_view ilg, const Options& options) {
  Report report;
  PathNames paths(options);
  Entry* pending = nullptr;  // makeindex: the message is on the next line, after "-- "
  ForEachLine(ilg, options, [&](std::string_view l) {
    if (pending) {
      const std::string_view t = Trim(l);
      AppendText(pending->message, StartsWith(t, "-- ") ? t.substr(3) : t, options.cp);
      pending = nullptr;
      return;
    }
    if (StartsWith(l, "## Warning") || StartsWith(l, "!! ")) {
      Entry e;
      e.kind = l[0] == '#' ? Kind::Warning : Kind::Error;
      std::string file;
      FileLineFields(l, file, e.line);
      e.file = paths.Relative(file);
      report.entries.push_back(std::move(e));
      pending = &report.entries.back();
      return;
    }
    // mendex: "Error: Extra `@' in main.idx, line 3." and "Warning: ...",
    // also after other text on the line ("Making index file.Warning: ...").
    for (std::string_view head : {std::string_view("Error: "), std::string_view("Warning: ")}) {
      const std::size_t p = l.find(head);
      if (p == std::string_view::npos) continue;
      Entry e;
      e.kind = head[0] == 'E' ? Kind::Error : Kind::Warning;
      std::string_view text = l.substr(p + head.size());
      std::string_view before;
      std::string file;
      if (InFileLine(text, before, file, e.line)) {
        e.file = paths.Relative(file);
        text = before;
      }
      AppendText(e.message, text, options.cp);
      report.entries.push_back(std::move(e));
      return;
    }
  });
  return report;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Error: return "error";
    case Kind::Warning: return "warning";
    case Kind::BadBox: return "badbox";
  }
  return "?";
}

std::vector<Entry> ErrorsFirst(std::vector<Entry> entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return static_cast<int>(a.kind) < static_cast<int>(b.kind); });
  return entries;
}

namespace {

// The first `enough` places of `what` in the document's own sources, in
// reading order: (file index, line).
std::vector<std::pair<std::size_t, int>> Occurrences(const std::vector<std::string>& sources, const std::string& what,
                                                     const Options& o, std::size_t enough) {
  std::vector<std::pair<std::size_t, int>> found;
  for (std::size_t f = 0; f < sources.size() && found.size() < enough; ++f) {
    const std::string& text = sources[f];
    std::size_t lineStart = 0;
    int line = 1;
    for (std::size_t p = mbcs::Find(text, what, 0, o.cp); p != std::string::npos;
         p = mbcs::Find(text, what, p + 1, o.cp)) {
      line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(lineStart),
                                          text.begin() + static_cast<std::ptrdiff_t>(p), '\n'));
      lineStart = p;
      found.emplace_back(f, line);
      if (found.size() >= enough) break;
    }
  }
  return found;
}

// The text between `open` and `close` in `s`, or empty.
std::string Between(std::string_view s, std::string_view open, std::string_view close) {
  const std::size_t a = s.find(open);
  if (a == std::string_view::npos) return std::string();
  const std::size_t b = s.find(close, a + open.size());
  if (b == std::string_view::npos) return std::string();
  return std::string(s.substr(a + open.size(), b - a - open.size()));
}

}  // namespace

void PlaceInSources(std::vector<Entry>& entries, const std::vector<std::string>& files, const Options& options,
                    const ReadSource& read) {
  std::vector<std::string> names, texts;
  bool loaded = false;
  auto sources = [&]() -> const std::vector<std::string>& {
    if (!loaded)
      for (const std::string& f : files) {
        std::string bytes;
        if (Extension(f, options) == "tex" && read(f, bytes)) {
          names.push_back(f);
          texts.push_back(std::move(bytes));
        }
      }
    loaded = true;
    return texts;
  };
  // An .idx file by its lines, and for each line how many times the same
  // entry came before it.
  struct IndexFile {
    std::string bytes;
    std::vector<std::string_view> lines;
    std::vector<int> nth;
  };
  std::unordered_map<std::string, IndexFile> indexFiles;
  // Each search goes over all the sources: a transcript full of such
  // entries gets the first ones placed, not a wait.
  int searches = 0;
  for (Entry& e : entries) {
    if (searches >= kMaxPlacements) break;
    if (e.kind == Kind::Warning && e.message.find("' multiply defined") != std::string::npos) {
      // The second definition is the one to remove or rename.
      const std::string label = Between(e.message, "Label `", "' multiply defined");
      if (label.empty()) continue;
      ++searches;
      const auto at = Occurrences(sources(), "\\label{" + label + "}", options, 2);
      if (at.size() < 2) continue;
      e.file = names[at[1].first];
      e.line = at[1].second;
    } else if (e.line > 0 && Extension(e.file, options) == "idx") {
      // The index program's line is a line of the .idx file, which TeX
      // wrote one \index at a time: the same entry the n-th time is the
      // n-th such \index in the sources.
      auto it = indexFiles.find(e.file);
      if (it == indexFiles.end()) {
        IndexFile idx;
        if (!read(e.file, idx.bytes)) idx.bytes.clear();
        std::unordered_map<std::string_view, int> seen;
        const std::string_view all(idx.bytes);
        for (std::size_t s = 0; s < all.size();) {
          std::size_t n = all.find('\n', s);
          if (n == std::string_view::npos) n = all.size();
          idx.lines.push_back(all.substr(s, n - s));
          idx.nth.push_back(++seen[idx.lines.back()]);
          s = n + 1;
        }
        it = indexFiles.emplace(e.file, std::move(idx)).first;
      }
      const IndexFile& idx = it->second;
      const std::size_t i = static_cast<std::size_t>(e.line) - 1;
      if (i >= idx.lines.size()) continue;
      const std::string_view entry = idx.lines[i];
      const std::size_t open = entry.find("\\indexentry{"), close = entry.rfind("}{");
      if (open == std::string_view::npos || close == std::string_view::npos || close < open + 12) continue;
      const std::string key(entry.substr(open + 12, close - open - 12));
      const auto nth = static_cast<std::size_t>(idx.nth[i]);
      ++searches;
      const auto at = Occurrences(sources(), "\\index{" + key + "}", options, nth);
      if (nth > at.size()) continue;
      e.file = names[at[nth - 1].first];
      e.line = at[nth - 1].second;
    }
  }
}

}  // namespace texlog
