#include <gtest/gtest.h>

#include <random>

#include "text/mbcs.h"

using mbcs::CodePage;

namespace {

// CP932 characters whose trail byte is an ASCII character.
const std::string kHyo = "\x95\x5C";   // 表, trail '\'
const std::string kSo = "\x83\x5C";    // ソ, trail '\'
const std::string kNou = "\x94\x5C";   // 能, trail '\'
const std::string kFullA = "\x82\x60"; // Ａ, trail '`'
const std::string kXa = "\x83\x41";    // ァ, trail 'A'
const std::string kFullB = "\x82\x61"; // Ｂ, trail 'a'
const std::string kZo = "\x83\x5D";    // ゾ, trail ']'

// Reference: every position tried, boundaries found by walking from the start.
std::size_t NaiveFind(const std::string& text, const std::string& what, std::size_t from) {
  std::vector<bool> boundary(text.size() + 1, false);
  for (std::size_t i = 0; i < text.size();) {
    boundary[i] = true;
    i += (i + 1 < text.size() && mbcs::IsLeadByte(static_cast<unsigned char>(text[i]), CodePage::Cp932)) ? 2 : 1;
  }
  boundary[text.size()] = true;
  for (std::size_t p = from; p + what.size() <= text.size(); ++p) {
    if (boundary[p] && text.compare(p, what.size(), what) == 0) return p;
  }
  return std::string::npos;
}

}  // namespace

TEST(LeadByte, Cp932RangesOnly) {
  struct Case { unsigned char c; bool lead; } cases[] = {
      {0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false}, {0xDF, false},
      {0xE0, true},  {0xFC, true}, {0xFD, false}, {'\\', false}, {'A', false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mbcs::IsLeadByte(c.c, CodePage::Cp932), c.lead) << int(c.c);
    EXPECT_FALSE(mbcs::IsLeadByte(c.c, CodePage::Utf8)) << int(c.c);
  }
}

TEST(Find, NeverStartsOnATrailByte) {
  struct Case { std::string text, what; std::size_t from, cp932, utf8; } cases[] = {
      {kHyo + "x", "\\", 0, std::string::npos, 1},
      {kHyo + "\\", "\\", 0, 2, 1},
      {kXa + "A", "A", 0, 2, 1},
      {kFullB + "b", "ab", 0, std::string::npos, 1},
      {kFullB + "ab", "ab", 0, 2, 2},
      {kFullA + kFullA, "`", 0, std::string::npos, 1},
      {kSo + kNou + "\\x", "\\x", 0, 4, 4},
      {"LaTeX Warning: " + kHyo, "LaTeX Warning", 0, 0, 0},
      // a start on a trail byte is moved to the next character
      {kHyo + "\\\\", "\\", 1, 2, 1},
      {"ab", "", 1, 1, 1},
      {"ab", "b", 3, std::string::npos, std::string::npos},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mbcs::Find(c.text, c.what, c.from, CodePage::Cp932), c.cp932) << c.text << " / " << c.what;
    EXPECT_EQ(mbcs::Find(c.text, c.what, c.from, CodePage::Utf8), c.utf8) << c.text << " / " << c.what;
  }
  EXPECT_FALSE(mbcs::Contains(kHyo, "\\", CodePage::Cp932));
  EXPECT_TRUE(mbcs::Contains(kHyo, "\\", CodePage::Utf8));
  EXPECT_TRUE(mbcs::Contains("platex.exe", ".exe", CodePage::Cp932));
}

TEST(Find, AgreesWithTryingEveryPosition) {
  // Few distinct bytes, so that lead bytes, trail bytes and overlapping
  // occurrences meet often.
  const char alphabet[] = {'\x82', '\x41', '\x5C', 'a', '\x95'};
  std::mt19937 rng(7);
  auto pick = [&](std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += alphabet[rng() % sizeof alphabet];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string text = pick(rng() % 24);
    const std::string what = pick(1 + rng() % 4);
    const std::size_t from = rng() % (text.size() + 2);
    ASSERT_EQ(mbcs::Find(text, what, from, CodePage::Cp932), NaiveFind(text, what, from))
        << "round " << round << " from " << from;
  }
}

TEST(Find, TensOfMegabytes) {
  // 40 MB of 表: every '\' is a trail byte until the very end.
  std::string text;
  for (int i = 0; i < 20 * 1000 * 1000; ++i) text += kHyo;
  text += "\\x";
  EXPECT_EQ(mbcs::Find(text, "\\", 0, CodePage::Cp932), text.size() - 2);
  EXPECT_EQ(mbcs::Find(text, "\\", 0, CodePage::Utf8), 1u);
  EXPECT_FALSE(mbcs::Contains(text, "\x5C\x95", CodePage::Cp932));

  // A long pattern that occurs at every odd position, always on a trail
  // byte: retrying each candidate from scratch would never finish.
  std::string pairs;
  for (int i = 0; i < 10 * 1000 * 1000; ++i) pairs += "\x82\x41";
  std::string what = "\x41";
  for (int i = 0; i < 500; ++i) what += "\x82\x41";
  EXPECT_EQ(mbcs::Find(pairs, what, 0, CodePage::Cp932), std::string::npos);
  EXPECT_EQ(mbcs::Find(pairs, what, 0, CodePage::Utf8), 1u);
  pairs += "\x41";
  for (int i = 0; i < 500; ++i) pairs += "\x82\x41";
  EXPECT_EQ(mbcs::Find(pairs, what, 0, CodePage::Cp932), 20u * 1000 * 1000);
}

TEST(FindLastOf, SkipsTrailBytes) {
  struct Case { std::string s; std::size_t cp932, utf8; } cases[] = {
      {"C:\\work\\" + kHyo, 7, 9},
      {"C:\\" + kSo + kNou, 2, 6},
      {"/home/" + kHyo + "/a", 8, 8},
      {kHyo, std::string::npos, 1},
      {"", std::string::npos, std::string::npos},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mbcs::FindLastOf(c.s, "\\/", CodePage::Cp932), c.cp932) << c.s;
    EXPECT_EQ(mbcs::FindLastOf(c.s, "\\/", CodePage::Utf8), c.utf8) << c.s;
  }
}

TEST(NoCase, FoldsAsciiLettersOutsideDoubleByteCharacters) {
  struct Case { std::string text, prefix; bool starts; } cases[] = {
      {"C:\\Work\\A.tex", "c:\\work\\a.TEX", true},
      {"C:\\Work\\A.tex", "c:\\work\\", true},
      {"c:\\work", "c:\\work\\a", false},
      {kXa, "\x83\x61", false},          // the trail byte 'A' is not folded
      {kFullB + "X", kFullB + "x", true},
      {kFullB, "\x82\x41", false},
      {kHyo + "A", kHyo, true},
      {kHyo, "\x95", false},             // a prefix may not end inside a character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mbcs::StartsWithNoCase(c.text, c.prefix, CodePage::Cp932), c.starts) << c.text << " / " << c.prefix;
  }
  EXPECT_TRUE(mbcs::EqualsNoCase("Settings", "SETTINGS", CodePage::Cp932));
  EXPECT_FALSE(mbcs::EqualsNoCase("Settings", "Setting", CodePage::Cp932));
  EXPECT_FALSE(mbcs::EqualsNoCase(kXa, "\x83\x61", CodePage::Cp932));
  EXPECT_TRUE(mbcs::EqualsNoCase(kXa, "\x83\x61", CodePage::Utf8));
}

TEST(SplitPath, DriveFolderNameExtension) {
  struct Case { std::string path, drive, dir, fname, ext; } cases[] = {
      {"C:\\work\\paper.tex", "C:", "\\work\\", "paper", ".tex"},
      {"C:\\" + kHyo + "\\paper.tex", "C:", "\\" + kHyo + "\\", "paper", ".tex"},
      {"C:\\work\\" + kHyo, "C:", "\\work\\", kHyo, ""},
      {"D:\\" + kNou + "\\" + kSo + ".tex", "D:", "\\" + kNou + "\\", kSo, ".tex"},
      {kSo + kFullA + ".TEX", "", "", kSo + kFullA, ".TEX"},
      {"C:paper.tex", "C:", "", "paper", ".tex"},
      {"paper", "", "", "paper", ""},
      {"a.b\\c", "", "a.b\\", "c", ""},
      {"a.b.tex", "", "", "a.b", ".tex"},
      {"/home/u/x.tex", "", "/home/u/", "x", ".tex"},
      {"\\\\server\\share\\a.tex", "", "\\\\server\\share\\", "a", ".tex"},
      {"\"C:\\a b\\p.tex\"", "", "\"C:\\a b\\", "p", ".tex\""},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    const mbcs::PathParts p = mbcs::SplitPath(c.path, CodePage::Cp932);
    EXPECT_EQ(p.drive, c.drive) << c.path;
    EXPECT_EQ(p.dir, c.dir) << c.path;
    EXPECT_EQ(p.fname, c.fname) << c.path;
    EXPECT_EQ(p.ext, c.ext) << c.path;
  }
}

TEST(SplitPath, CodePageDecidesWhatATrailByteIs) {
  const std::string path = "C:\\work\\" + kHyo + ".tex";
  mbcs::PathParts p = mbcs::SplitPath(path, CodePage::Cp932);
  EXPECT_EQ(p.dir, "\\work\\");
  EXPECT_EQ(p.fname, kHyo);
  p = mbcs::SplitPath(path, CodePage::Utf8);
  EXPECT_EQ(p.dir, "\\work\\\x95\\");
  EXPECT_EQ(p.fname, "");

  // UTF-8 names are plain bytes: no byte of a multi-byte character is ASCII.
  p = mbcs::SplitPath("/home/\xE8\xA1\xA8/\xE8\xAB\x96\xE6\x96\x87.tex", CodePage::Utf8);
  EXPECT_EQ(p.dir, "/home/\xE8\xA1\xA8/");
  EXPECT_EQ(p.fname, "\xE8\xAB\x96\xE6\x96\x87");
  EXPECT_EQ(p.ext, ".tex");
}

TEST(MakePath, AppendsABackslashAfterTheLastCharacter) {
  struct Case { std::string drive, dir, fname, ext, cp932, utf8; } cases[] = {
      {"C:", "\\work", "", "", "C:\\work\\", "C:\\work\\"},
      {"C:", "\\work\\", "", "", "C:\\work\\", "C:\\work\\"},
      {"", "/home/u/", "", "", "/home/u/", "/home/u/"},
      {"C:", "", "", "", "C:", "C:"},
      {"", "", "", "", "", ""},
      {"C:", "\\" + kHyo, "", "", "C:\\" + kHyo + "\\", "C:\\" + kHyo},
      {"", "dir", "a", "tex", "dir\\a.tex", "dir\\a.tex"},
      {"", "", "a", ".tex", "a.tex", "a.tex"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mbcs::MakePath(c.drive, c.dir, c.fname, c.ext, CodePage::Cp932), c.cp932) << c.dir;
    EXPECT_EQ(mbcs::MakePath(c.drive, c.dir, c.fname, c.ext, CodePage::Utf8), c.utf8) << c.dir;
  }
}

TEST(SplitWords, OptionStrings) {
  struct Case { std::string in; std::vector<std::string> out; } cases[] = {
      {" -p a3 ", {"-p", "a3"}},
      {" -p  b5", {"-p", "b5"}},
      {"-s myindex", {"-s", "myindex"}},
      {"-s\tmy.ist  -r", {"-s", "my.ist", "-r"}},
      {"", {}},
      {"   ", {}},
      {"-s \"my style.ist\"", {"-s", "my style.ist"}},
      {"a\"b\"\"c d\"e f", {"ab\"c de", "f"}},
      {"\"\" x", {"", "x"}},
      {"a\\\\\"b c\"", {"a\\b c"}},
      {"a\\\\\\\"b c", {"a\\\"b", "c"}},
      {"c:\\dir\\ x", {"c:\\dir\\", "x"}},
      {"\"open", {"open"}},
  };
  for (const auto& c : cases) EXPECT_EQ(mbcs::SplitWords(c.in, CodePage::Utf8), c.out) << c.in;
  // 表 ends in the byte of a backslash, which must not take the quote.
  EXPECT_EQ(mbcs::SplitWords("\"\x95\x5c\" x", CodePage::Cp932), (std::vector<std::string>{"\x95\x5c", "x"}));
  EXPECT_EQ(mbcs::SplitWords("\"\x95\x5c\" x", CodePage::Utf8), (std::vector<std::string>{"\x95\" x"}));
}

TEST(ShortenLongLines, CutsOnlyWideLinesAtSeparatorsAndWholeCharacters) {
  // A 4 kB path in a sentence, in UTF-8 and in CP932 (表 is 0x95 0x5C: its
  // trail byte is no separator and is never split off).
  std::string deep, deep932;
  for (int i = 0; i < 200; ++i) deep += "/フォルダ" + std::to_string(i);
  for (int i = 0; i < 300; ++i) deep932 += "\\\x95\x5C" + std::to_string(i);
  struct Case {
    const char* name;
    std::string text;
    CodePage cp;
    std::string head, tail;  // what the shortened long line begins and ends with
  };
  const std::vector<Case> cases = {
      {"UTF-8 path", "フォルダ " + deep + "/論文.tex に入れません。", CodePage::Utf8, "フォルダ /フォルダ0/",
       "/論文.tex に入れません。"},
      {"CP932 path", "C:" + deep932 + "\\a.tex", CodePage::Cp932, "C:\\\x95\x5C" "0\\", "\\a.tex"},
  };
  for (const Case& c : cases) {
    const std::string text = "一行目\n" + c.text + "\n三行目";
    const std::string out = mbcs::ShortenLongLines(text, 80, c.cp);
    const std::size_t first = out.find('\n'), last = out.rfind('\n');
    EXPECT_EQ(out.substr(0, first), "一行目") << c.name;
    EXPECT_EQ(out.substr(last + 1), "三行目") << c.name;
    const std::string line = out.substr(first + 1, last - first - 1);
    EXPECT_EQ(line.compare(0, c.head.size(), c.head), 0) << c.name << ": " << line;
    EXPECT_TRUE(line.size() >= c.tail.size() && line.compare(line.size() - c.tail.size(), c.tail.size(), c.tail) == 0)
        << c.name << ": " << line;
    EXPECT_NE(line.find("..."), std::string::npos) << c.name;
    // Whole characters, at most 80 columns.
    std::size_t columns = 0;
    for (std::size_t i = 0; i < line.size();) {
      std::size_t n = 1;
      const unsigned char b = static_cast<unsigned char>(line[i]);
      if (c.cp == CodePage::Cp932 && mbcs::IsLeadByte(b, CodePage::Cp932)) n = 2;
      if (c.cp == CodePage::Utf8 && b >= 0xC0) n = b >= 0xE0 ? 3 : 2;
      if (c.cp == CodePage::Utf8) {
        for (std::size_t k = 1; k < n; ++k) ASSERT_EQ(static_cast<unsigned char>(line[i + k]) & 0xC0, 0x80) << c.name;
      }
      columns += n == 1 ? 1 : 2;
      i += n;
    }
    EXPECT_LE(columns, 80u) << c.name << ": " << line;
    EXPECT_GT(columns, 60u) << c.name << ": " << line;
  }
  // A line as wide as allowed stays as it is.
  const std::string fits = std::string(76, 'a') + "表";
  EXPECT_EQ(mbcs::ShortenLongLines(fits, 78, CodePage::Utf8), fits);
}
