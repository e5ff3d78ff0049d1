#include "text/mbcs.h"

#include <algorithm>
#include <cstring>

namespace mbcs {
namespace {

// UTF-8 until the platform layer says otherwise (a Windows in code page 932).
CodePage g_cp = CodePage::Utf8;

// Byte length of the character that starts at `i`. A lead byte in the last
// position (a cut-off character) stands alone.
std::size_t CharLen(const std::string& s, std::size_t i, CodePage cp) {
  if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i]), cp)) return 2;
  return 1;
}

// A character boundary at or before `pos`. Going back over a run of bytes
// that could be lead bytes to the first byte that cannot be one: a character
// ends there, whatever came before it.
std::size_t BoundaryAtOrBefore(const std::string& s, std::size_t pos, CodePage cp) {
  std::size_t q = pos;
  while (q > 0 && IsLeadByte(static_cast<unsigned char>(s[q - 1]), cp)) --q;
  std::size_t b = q;
  while (b < pos) {
    std::size_t next = b + CharLen(s, b, cp);
    if (next > pos) break;
    b = next;
  }
  return b;
}

// Knuth-Morris-Pratt over text[from..]: calls onMatch(pos) for every
// occurrence in increasing order until it returns true. Linear in the text
// and the pattern, overlapping occurrences included.
template <typename OnMatch>
std::size_t KmpScan(const std::string& text, const std::string& what, std::size_t from, OnMatch onMatch) {
  const std::size_t m = what.size();
  std::vector<std::size_t> fail(m, 0);
  for (std::size_t i = 1, k = 0; i < m; ++i) {
    while (k > 0 && what[i] != what[k]) k = fail[k - 1];
    if (what[i] == what[k]) ++k;
    fail[i] = k;
  }
  for (std::size_t i = from, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != what[k]) k = fail[k - 1];
    if (text[i] == what[k]) ++k;
    if (k == m) {
      const std::size_t pos = i + 1 - m;
      if (onMatch(pos)) return pos;
      k = fail[k - 1];
    }
  }
  return std::string::npos;
}

// First occurrence at or after `from`, byte rules. Linear: glibc's memmem
// is the two-way algorithm; elsewhere KMP.
std::size_t FindBytes(const std::string& text, const std::string& what, std::size_t from) {
#ifdef __GLIBC__
  const void* hit = memmem(text.data() + from, text.size() - from, what.data(), what.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : std::string::npos;
#else
  return KmpScan(text, what, from, [](std::size_t) { return true; });
#endif
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsPathSep(char c) { return c == '\\' || c == '/'; }

}  // namespace

void SetSystemCodePage(CodePage cp) { g_cp = cp; }
CodePage SystemCodePage() { return g_cp; }

bool IsLeadByte(unsigned char c, CodePage cp) {
  return cp == CodePage::Cp932 && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

std::size_t Find(const std::string& text, const std::string& what, std::size_t from, CodePage cp) {
  const std::size_t n = text.size();
  if (from > n) return std::string::npos;
  if (cp != CodePage::Cp932) {
    if (what.empty()) return from;
    if (what.size() > n - from) return std::string::npos;
    return FindBytes(text, what, from);
  }

  // The boundary cursor only ever moves forward, so checking all candidates
  // costs one pass over the text in total.
  std::size_t cursor = BoundaryAtOrBefore(text, from, cp);
  auto onBoundary = [&](std::size_t pos) {
    while (cursor < pos) cursor += CharLen(text, cursor, cp);
    return cursor == pos;
  };
  if (what.empty()) {
    onBoundary(from);
    return cursor <= n ? cursor : std::string::npos;
  }
  if (what.size() > n - from) return std::string::npos;

  // Usually the first byte match is on a boundary: the fast search settles
  // it. Only after a candidate on a trail byte does the scan go on with KMP,
  // which also visits overlapping occurrences without going back.
  const std::size_t first = FindBytes(text, what, from);
  if (first == std::string::npos) return first;
  if (onBoundary(first)) return first;
  return KmpScan(text, what, first + 1, onBoundary);
}

bool Contains(const std::string& text, const std::string& what, CodePage cp) {
  return Find(text, what, 0, cp) != std::string::npos;
}

std::size_t FindLastOf(const std::string& s, const std::string& seps, CodePage cp) {
  std::size_t found = std::string::npos;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = CharLen(s, i, cp);
    if (len == 1 && seps.find(s[i]) != std::string::npos) found = i;
    i += len;
  }
  return found;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix, CodePage cp) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size();) {
    const std::size_t len = CharLen(text, i, cp);
    if (len == 2) {
      // A prefix that ends inside this character does not match it.
      if (i + 1 >= prefix.size() || text[i] != prefix[i] || text[i + 1] != prefix[i + 1]) return false;
    } else if (FoldAscii(text[i]) != FoldAscii(prefix[i])) {
      return false;
    }
    i += len;
  }
  return true;
}

bool EqualsNoCase(const std::string& a, const std::string& b, CodePage cp) {
  return a.size() == b.size() && StartsWithNoCase(a, b, cp);
}

PathParts SplitPath(const std::string& path, CodePage cp, PathStyle style) {
  PathParts p;
  std::size_t start = 0;
  const bool posix = style == PathStyle::Posix;
  if (!posix && path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0]), cp)) {
    p.drive = path.substr(0, 2);
    start = 2;
  }
  std::size_t lastSep = std::string::npos, lastDot = std::string::npos;
  for (std::size_t i = start; i < path.size();) {
    const std::size_t len = CharLen(path, i, cp);
    if (len == 1) {
      if (posix ? path[i] == '/' : IsPathSep(path[i])) lastSep = i;
      else if (path[i] == '.') lastDot = i;
    }
    i += len;
  }
  std::size_t nameStart = start;
  if (lastSep != std::string::npos) {
    p.dir = path.substr(start, lastSep + 1 - start);
    nameStart = lastSep + 1;
  }
  std::size_t nameEnd = path.size();
  if (lastDot != std::string::npos && (lastSep == std::string::npos || lastDot > lastSep)) {
    p.ext = path.substr(lastDot);
    nameEnd = lastDot;
  }
  p.fname = path.substr(nameStart, nameEnd - nameStart);
  return p;
}

std::string MakePath(const std::string& drive, const std::string& dir, const std::string& fname,
                     const std::string& ext, CodePage cp) {
  std::string out;
  if (!drive.empty()) {
    out += drive[0];
    out += ':';
  }
  if (!dir.empty()) {
    out += dir;
    // The last character, not the last byte: 表 ends in the byte 0x5C.
    const std::size_t last = BoundaryAtOrBefore(dir, dir.size() - 1, cp);
    if (last != dir.size() - 1 || !IsPathSep(dir.back())) out += '\\';
  }
  out += fname;
  if (!ext.empty()) {
    if (ext[0] != '.') out += '.';
    out += ext;
  }
  return out;
}

std::vector<std::string> SplitWords(const std::string& options, CodePage cp) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (std::size_t i = 0; i < options.size();) {
    const char c = options[i];
    if (!quoted && (c == ' ' || c == '\t')) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
      ++i;
      continue;
    }
    inWord = true;
    if (CharLen(options, i, cp) == 2) {
      word.append(options, i, 2);
      i += 2;
      continue;
    }
    if (c == '\\') {
      std::size_t n = 0;
      while (i < options.size() && options[i] == '\\') ++n, ++i;
      if (i < options.size() && options[i] == '"') {
        // 2n backslashes and a quote: n backslashes and the quote groups;
        // 2n+1: n backslashes and a quote that is text.
        word.append(n / 2, '\\');
        if (n % 2 == 1) {
          word += '"';
          ++i;
        }
      } else {
        word.append(n, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < options.size() && options[i + 1] == '"') {
        word += '"';  // "" inside quotes is one quote, and the quotes go on
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    word += c;
    ++i;
  }
  if (inWord) words.push_back(word);
  return words;
}

namespace {

// The bytes of the character at `i`: CP932's double-byte characters, UTF-8's
// sequences by their first byte (a stray byte is a character of its own).
std::size_t CharBytes(const std::string& s, std::size_t i, CodePage cp) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t n = 1;
  if (cp == CodePage::Cp932) {
    n = IsLeadByte(c, cp) ? 2 : 1;
  } else if (c >= 0xF0 && c < 0xF8) {
    n = 4;
  } else if (c >= 0xE0) {
    n = c < 0xF0 ? 3 : 1;
  } else if (c >= 0xC0) {
    n = 2;
  }
  return std::min(n, s.size() - i);
}

std::string ShortenLine(const std::string& line, std::size_t maxColumns, CodePage cp) {
  // Where each character starts, and the columns before it.
  std::vector<std::size_t> at, cols;
  std::size_t width = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t n = CharBytes(line, i, cp);
    at.push_back(i);
    cols.push_back(width);
    width += n == 1 ? 1 : 2;
    i += n;
  }
  if (width <= maxColumns) return line;
  at.push_back(line.size());
  cols.push_back(width);
  const char kCut[] = "...";
  const std::size_t room = maxColumns > 3 ? maxColumns - 3 : 0;
  // More of the end is kept: a path's file name, and the rest of the sentence.
  const std::size_t headCols = room * 2 / 5, tailCols = room - headCols;
  std::size_t head = 0;  // characters kept at the start
  while (head + 1 < at.size() && cols[head + 1] <= headCols) ++head;
  std::size_t tail = at.size() - 1;  // first character kept at the end
  while (tail > head && width - cols[tail - 1] <= tailCols) --tail;
  const auto isSeparator = [&](std::size_t c) {
    return at[c + 1] - at[c] == 1 && (line[at[c]] == '/' || line[at[c]] == '\\');
  };
  // A separator in the last third of the start, and in the first third of the end.
  for (std::size_t c = head; c > head - head / 3 && c > 0; --c) {
    if (isSeparator(c - 1)) {
      head = c;
      break;
    }
  }
  const std::size_t kept = at.size() - 1 - tail;
  for (std::size_t c = tail; c < tail + kept / 3 && c + 1 < at.size(); ++c) {
    if (isSeparator(c)) {
      tail = c;
      break;
    }
  }
  return line.substr(0, at[head]) + kCut + line.substr(at[tail]);
}

}  // namespace

std::string ShortenLongLines(const std::string& text, std::size_t maxColumns, CodePage cp) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t begin = 0; begin <= text.size();) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    out += ShortenLine(text.substr(begin, end - begin), maxColumns, cp);
    if (end == text.size()) break;
    out += '\n';
    begin = end + 1;
  }
  return out;
}

}  // namespace mbcs
