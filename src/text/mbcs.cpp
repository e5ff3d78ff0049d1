#include "text/mbcs.h"

// Placeholder bodies: the double-byte rules are filled in with the settings
// store work. These are correct for UTF-8 only.
namespace mbcs {
namespace {
CodePage g_cp = CodePage::Utf8;
}
void SetSystemCodePage(CodePage cp) { g_cp = cp; }
CodePage SystemCodePage() { return g_cp; }
bool IsLeadByte(unsigned char c, CodePage cp) {
  return cp == CodePage::Cp932 && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}
std::size_t Find(const std::string& text, const std::string& what, std::size_t from, CodePage) {
  return text.find(what, from);
}
bool Contains(const std::string& text, const std::string& what, CodePage cp) {
  return Find(text, what, 0, cp) != std::string::npos;
}
std::size_t FindLastOf(const std::string& s, const std::string& seps, CodePage) {
  return s.find_last_of(seps);
}
bool StartsWithNoCase(const std::string& text, const std::string& prefix, CodePage) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}
bool EqualsNoCase(const std::string& a, const std::string& b, CodePage cp) {
  return a.size() == b.size() && StartsWithNoCase(a, b, cp);
}
PathParts SplitPath(const std::string& path, CodePage) {
  PathParts p;
  std::string rest = path;
  if (rest.size() >= 2 && rest[1] == ':') {
    p.drive = rest.substr(0, 2);
    rest = rest.substr(2);
  }
  auto slash = rest.find_last_of("\\/");
  if (slash != std::string::npos) {
    p.dir = rest.substr(0, slash + 1);
    rest = rest.substr(slash + 1);
  }
  auto dot = rest.rfind('.');
  if (dot != std::string::npos) {
    p.ext = rest.substr(dot);
    rest = rest.substr(0, dot);
  }
  p.fname = rest;
  return p;
}
std::string MakePath(const std::string& drive, const std::string& dir, const std::string& fname,
                     const std::string& ext, CodePage) {
  std::string out = drive + dir;
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') out += '\\';
  out += fname;
  if (!ext.empty() && ext[0] != '.') out += '.';
  out += ext;
  return out;
}
std::vector<std::string> SplitWords(const std::string& options) {
  std::vector<std::string> words;
  std::string cur;
  for (char c : options) {
    if (c == ' ') {
      if (!cur.empty()) words.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) words.push_back(cur);
  return words;
}
}  // namespace mbcs
