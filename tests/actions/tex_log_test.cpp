// The transcript reader on real transcripts (tests/data/logs), each against
// its expected list, and on what no real transcript here shows.
#include "actions/tex_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/case_name.h"

namespace texlog {
// Readable failures.
void PrintTo(const Entry& e, std::ostream* os) {
  *os << static_cast<int>(e.kind) << ' ' << e.file << ':' << e.line << ' ' << e.message << " | " << e.detail;
}
}  // namespace texlog

namespace {

std::string DataDir() {
  // ctest names the source folder; run by hand, this file's place tells it.
  const char* env = std::getenv("MIRVAN_SOURCE_DIR");
  std::string src = env ? env : __FILE__;
  if (!env) src.erase(src.rfind("tests"));
  if (!src.empty() && src.back() != '/' && src.back() != '\\') src += '/';
  return src + "tests/data/logs/";
}

bool Slurp(const std::string& path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return true;
}

// The form of the expected lists.
std::string Listing(const texlog::Report& r) {
  std::ostringstream out;
  for (const texlog::Entry& e : r.entries) {
    out << texlog::KindName(e.kind) << '\t' << e.file << '\t' << e.line << '\t' << e.message;
    if (!e.detail.empty()) out << '\t' << e.detail;
    out << '\n';
  }
  for (const std::string& f : r.files) out << "read\t" << f << '\n';
  return out.str();
}

bool EndsWith(const std::string& s, const std::string& t) {
  return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

texlog::Report Read(const std::string& name, const std::string& bytes, const texlog::Options& o) {
  if (EndsWith(name, ".blg")) return texlog::ReadBibTeXLog(bytes, o);
  if (EndsWith(name, ".ilg")) return texlog::ReadIndexLog(bytes, o);
  return texlog::ReadTeXLog(bytes, o);
}

struct RealLog {
  const char* name;
  const char* file;
  mbcs::CodePage cp;
};

class RealLogs : public ::testing::TestWithParam<RealLog> {};

TEST_P(RealLogs, ReadAsExpected) {
  const RealLog& c = GetParam();
  std::string log, expected;
  ASSERT_TRUE(Slurp(DataDir() + c.file, log)) << DataDir() << c.file;
  const std::string stem = std::string(c.file).substr(0, std::string(c.file).rfind('.'));
  ASSERT_TRUE(Slurp(DataDir() + stem + ".expected", expected));
  texlog::Options o;
  o.cp = c.cp;
  EXPECT_EQ(Listing(Read(c.file, log, o)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    TeXLive, RealLogs,
    ::testing::Values(RealLog{"AnsweredX", "undefined-x.log", mbcs::CodePage::Utf8},
                      RealLog{"pLaTeX", "thesis-platex.log", mbcs::CodePage::Utf8},
                      RealLog{"upLaTeX", "thesis-uplatex.log", mbcs::CodePage::Utf8},
                      RealLog{"LuaLaTeX", "thesis-lualatex.log", mbcs::CodePage::Utf8},
                      RealLog{"Unwrapped", "thesis-wide.log", mbcs::CodePage::Utf8},
                      RealLog{"pLaTeXCp932", "thesis-platex-cp932.log", mbcs::CodePage::Cp932},
                      RealLog{"pdfLaTeX", "pdflatex.log", mbcs::CodePage::Utf8},
                      RealLog{"pBibTeX", "thesis-pbibtex.blg", mbcs::CodePage::Utf8},
                      RealLog{"Mendex", "thesis-mendex.ilg", mbcs::CodePage::Utf8},
                      RealLog{"MakeIndex", "thesis-makeindex.ilg", mbcs::CodePage::Utf8},
                      RealLog{"PublicMissingPackage", "ptex-manual.log", mbcs::CodePage::Utf8},
                      RealLog{"PublicBadBoxes", "ptexdoc_asciimw.log", mbcs::CodePage::Utf8},
                      RealLog{"PublicShowLists", "ptexskip_asciimw.log", mbcs::CodePage::Utf8}),
    [](const ::testing::TestParamInfo<RealLog>& i) { return CaseName(i.index, i.param.name); });

TEST(TeXLog, CodePageLogReadsAsTheUtf8One) {
  // The list from the CP932 transcript, taken back to UTF-8 by hand for its
  // one Japanese file name, equals the UTF-8 transcript's.
  std::string utf8, cp932;
  ASSERT_TRUE(Slurp(DataDir() + "thesis-platex.log", utf8));
  ASSERT_TRUE(Slurp(DataDir() + "thesis-platex-cp932.log", cp932));
  texlog::Options u, s;
  u.cp = mbcs::CodePage::Utf8;
  s.cp = mbcs::CodePage::Cp932;
  const texlog::Report a = texlog::ReadTeXLog(utf8, u), b = texlog::ReadTeXLog(cp932, s);
  ASSERT_EQ(a.entries.size(), b.entries.size());
  for (std::size_t i = 0; i < a.entries.size(); ++i) {
    EXPECT_EQ(a.entries[i].line, b.entries[i].line) << i;
    EXPECT_EQ(a.entries[i].kind, b.entries[i].kind) << i;
    // Same folder depth and extension: the name was followed through its wrap.
    EXPECT_EQ(EndsWith(a.entries[i].file, ".tex"), EndsWith(b.entries[i].file, ".tex")) << i;
  }
  EXPECT_EQ(a.files.size(), b.files.size());
}

TEST(TeXLog, ErrorsFirstKeepsTheLogOrderWithinAKind) {
  std::string log;
  ASSERT_TRUE(Slurp(DataDir() + "thesis-platex.log", log));
  const std::vector<texlog::Entry> all = texlog::ReadTeXLog(log, texlog::Options()).entries;
  const std::vector<texlog::Entry> sorted = texlog::ErrorsFirst(all);
  ASSERT_EQ(sorted.size(), all.size());
  EXPECT_EQ(sorted[0].kind, texlog::Kind::Error);
  EXPECT_EQ(sorted[0].file, "chap/two.tex");
  EXPECT_EQ(sorted[1].message, all[0].message);  // the first warning of the log comes next
  EXPECT_EQ(sorted.back().kind, texlog::Kind::BadBox);
}

TEST(TeXLog, LabelDefinedTwiceAndRefusedIndexEntryPlacedInTheSources) {
  std::string log, ilg;
  ASSERT_TRUE(Slurp(DataDir() + "thesis-platex.log", log));
  ASSERT_TRUE(Slurp(DataDir() + "thesis-mendex.ilg", ilg));
  texlog::Options o;
  o.cp = mbcs::CodePage::Utf8;
  texlog::Report tex = texlog::ReadTeXLog(log, o);
  texlog::Report index = texlog::ReadIndexLog(ilg, o);
  std::vector<std::string> asked;
  const texlog::ReadSource read = [&](const std::string& file, std::string& bytes) {
    asked.push_back(file);
    return Slurp(DataDir() + (file == "main.idx" ? "thesis.idx" : "src/thesis/" + file), bytes);
  };
  texlog::PlaceInSources(tex.entries, tex.files, o, read);
  texlog::PlaceInSources(index.entries, tex.files, o, read);
  ASSERT_FALSE(tex.entries.empty());
  EXPECT_EQ(tex.entries[0].file, "main.tex");  // \label{sec:intro} on lines 8 and 14
  EXPECT_EQ(tex.entries[0].line, 14);
  ASSERT_EQ(index.entries.size(), 1u);
  EXPECT_EQ(index.entries[0].file, "main.tex");  // \index{bad@@}
  EXPECT_EQ(index.entries[0].line, 21);
  // Each source read once, and nothing but the document's own files.
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "main.tex"), 2);
  for (const std::string& f : asked) EXPECT_EQ(f.find('/') == 0, false) << f;
}

// What the real transcripts here do not show.
struct Synthetic {
  const char* name;
  std::string log;
  std::vector<texlog::Entry> entries;
};

class SyntheticLogs : public ::testing::TestWithParam<Synthetic> {};

TEST_P(SyntheticLogs, Read) {
  texlog::Options o;
  o.cp = mbcs::CodePage::Utf8;
  o.docDir = "/home/u/paper/";
  EXPECT_EQ(texlog::ReadTeXLog(GetParam().log, o).entries, GetParam().entries);
}

const std::string kPdfTeX = "This is pdfTeX, Version 3.141592653-2.6-1.40.24 (TeX Live 2022/Debian)\n";
const std::string kFull79 = std::string(79, '=') + "\n";

INSTANTIATE_TEST_SUITE_P(
    TeXLog, SyntheticLogs,
    ::testing::Values(
        // A line of exactly the width: TeX's own break and the line's end
        // make an empty line, which is not the blank that ends a message.
        Synthetic{"FullLineThenMessage",
                  (kPdfTeX + "(./a.tex\n" + kFull79 + "\nLaTeX Warning: x on input line 3.\n\n)"),
                  {{texlog::Kind::Warning, "a.tex", 3, "LaTeX Warning: x on input line 3.", ""}}},
        // A UTF-8 character cut in two at the width, in a file name.
        Synthetic{"CharacterCutAtTheWidth",
                  (kPdfTeX + "(./" + std::string(71, 'a') + "\xe6\x97\xa5\xe6\x9c\n\xac.tex\n! Oops.\nl.5 x\n  \n\n)")
                      ,
                  {{texlog::Kind::Error, std::string(71, 'a') + "\xe6\x97\xa5\xe6\x9c\xac.tex", 5, "Oops.", "x"}}},
        // An absolute name in the document's folder; a name with blanks, unquoted.
        Synthetic{"AbsoluteAndBlankNames",
                  (kPdfTeX + "(/home/u/paper/main.tex (./my chapter.tex\n! A.\nl.2 x\n  \n\n)\n! B.\nl.9 y\n  \n\n)"),
                  {{texlog::Kind::Error, "my chapter.tex", 2, "A.", "x"},
                   {texlog::Kind::Error, "main.tex", 9, "B.", "y"}}},
        // A stray ")" in a bad box's contents and a "(" left open in a
        // message do not move the file stack.
        Synthetic{"ParenthesesInMessages",
                  (kPdfTeX +
                   "(./main.tex (./a.tex\nOverfull \\hbox (1.0pt too wide) in paragraph at lines 4--5\n"
                   "[]\\OT1/cmr/m/n/10 x) y\n\nsee (this\n\n(./b.tex)\nLaTeX Warning: w on input line 6.\n\n)\n"
                   "LaTeX Warning: v on input line 9.\n\n)"),
                  {{texlog::Kind::BadBox, "a.tex", 4, "Overfull \\hbox (1.0pt too wide) in paragraph at lines 4--5", ""},
                   {texlog::Kind::Warning, "a.tex", 6, "LaTeX Warning: w on input line 6.", ""},
                   {texlog::Kind::Warning, "main.tex", 9, "LaTeX Warning: v on input line 9.", ""}}}),
    [](const ::testing::TestParamInfo<Synthetic>& i) { return CaseName(i.index, i.param.name); });

}  // namespace
