// Text in the system code page: 8-bit strings whose double-byte characters
// (CP932) must be treated as units. Every "contains", separator search and
// path split of the program goes through here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mbcs {

enum class CodePage { Utf8, Cp932 };

// The system code page. Defaults to the locale's (UTF-8 on Linux); tests and
// the Windows build select CP932.
void SetSystemCodePage(CodePage cp);
CodePage SystemCodePage();

// True when c starts a double-byte character in cp (CP932: 0x81-0x9F, 0xE0-0xFC).
bool IsLeadByte(unsigned char c, CodePage cp = SystemCodePage());

// Case-sensitive substring search that never starts a match on a trail byte.
// Linear in text.size() + what.size(). Returns std::string::npos when absent.
std::size_t Find(const std::string& text, const std::string& what, std::size_t from = 0,
                 CodePage cp = SystemCodePage());
bool Contains(const std::string& text, const std::string& what, CodePage cp = SystemCodePage());

// Position of the last byte equal to one of `seps` that is not a trail byte,
// or npos. Used for "last backslash" (Windows) and "last slash" (POSIX).
std::size_t FindLastOf(const std::string& s, const std::string& seps, CodePage cp = SystemCodePage());

// Prefix test without regard to letter case (ASCII letters only, and never
// inside a double-byte character), as the history box matches entries.
bool StartsWithNoCase(const std::string& text, const std::string& prefix, CodePage cp = SystemCodePage());
// Equality without regard to letter case, same rules.
bool EqualsNoCase(const std::string& a, const std::string& b, CodePage cp = SystemCodePage());

// _splitpath: drive (first two characters when the second is ':'), folder (up
// to and including the last '\\' or '/'), extension (from the last '.' after
// the folder), and the name between. Trail bytes are never separators or dots.
struct PathParts {
  std::string drive, dir, fname, ext;
};
// POSIX paths have no drive and one separator, '/': a backslash is part of
// a file name there.
enum class PathStyle { Windows, Posix };
PathParts SplitPath(const std::string& path, CodePage cp = SystemCodePage(), PathStyle style = PathStyle::Windows);

// _makepath: drive, then folder with a backslash appended when it is not
// empty and does not already end in '\\' or '/', then name and extension.
std::string MakePath(const std::string& drive, const std::string& dir, const std::string& fname,
                     const std::string& ext, CodePage cp = SystemCodePage());

// An option string split into words as the Windows C runtime splits a
// command line: blanks and tabs separate, double quotes group (and "" inside
// quotes is a quote), backslashes are text except before a quote, where 2n
// give n and a grouping quote and 2n+1 give n and a quote; double-byte
// characters are units. An empty or blank string gives no word
// (" -p a3 " -> {"-p", "a3"}; "-s \"my style.ist\"" -> {"-s", "my style.ist"}).
std::vector<std::string> SplitWords(const std::string& options, CodePage cp = SystemCodePage());

// `text` with every line wider than `maxColumns` (a character of more than
// one byte counts two columns) cut to that width in its middle, "..."
// standing for what was cut: a line that long holds a long path, which is
// where the cut then falls. A '/' or '\\' near either side of the cut is
// where it is made, so that whole folder and file names remain.
std::string ShortenLongLines(const std::string& text, std::size_t maxColumns, CodePage cp = SystemCodePage());

}  // namespace mbcs
