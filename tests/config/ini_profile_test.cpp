#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "config/ini_profile.h"
#include "support/temp_dir.h"
#include "text/mbcs.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const std::string kEol = "\r\n";
#else
const std::string kEol = "\n";
#endif

// As Windows' private profile functions and Notepad leave a settings file.
const std::string kWindowsFile =
    "; Mirvan settings\r\n"
    "[RFL]\r\n"
    "File0=C:\\work\\paper.tex\r\n"
    "\r\n"
    "[settings]\r\n"
    "  tex = \"c:\\w32tex\\bin\\platex.exe\" \r\n"
    "Bib=  'pbibtex'\r\n"
    "DviPdf=\"dvipdfmx\r\n"
    "MkIdxOpt=\r\n"
    "MKIDXNVR =   \r\n"
    "PdfSizeNo = 5 \r\n"
    "pdfsizeno=7\r\n"
    ";Acr=1\r\n"
    "PdfNeShow=''\r\n"
    "\t[ Editor ]\t\r\n"
    "EDIT=c:\\Program Files\\Editor\\ed.exe\x1a\r\n"
    "[Settings]\r\n"
    "Acr=1\r\n"
    "MkIdx=mendex2";

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// `s` with the text from `marker` to the end of its line replaced.
std::string ReplaceToEol(const std::string& s, const std::string& marker, const std::string& with) {
  const std::size_t at = s.find(marker);
  return std::string(s).replace(at, s.find("\r\n", at) - at, with);
}

struct Cp932Scope {
  Cp932Scope() { mbcs::SetSystemCodePage(mbcs::CodePage::Cp932); }
  ~Cp932Scope() { mbcs::SetSystemCodePage(mbcs::CodePage::Utf8); }
};

class IniTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.File("Mirvan.ini");
  IniProfile ini{path};
};

}  // namespace

TEST_F(IniTest, ReadsFilesAsWindowsWritesThem) {
  dir.Write("Mirvan.ini", kWindowsFile);
  const std::string none = "<default>";
  struct Case { const char* section; const char* key; std::string value; } cases[] = {
      {"RFL", "File0", "C:\\work\\paper.tex"},
      {"Settings", "TeX", "c:\\w32tex\\bin\\platex.exe"},  // quotes and blanks go
      {"SETTINGS", "bib", "pbibtex"},
      {"Settings", "DviPdf", "\"dvipdfmx"},                 // one quote is text
      {"Settings", "MkIdxOpt", ""},                         // present and empty
      {"Settings", "PdfNeShow", ""},                        // '' is empty
      {"Settings", "Acr", none},      // only the first [Settings] counts
      {"Settings", "MkIdx", none},
      {"Settings", ";Acr", none},     // a comment is no key
      {"Editor", "EDIT", "c:\\Program Files\\Editor\\ed.exe"},
      {" Editor ", " edit ", "c:\\Program Files\\Editor\\ed.exe"},
      {"RFL", "File1", none},
      {"Nothing", "File0", none},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.GetProfileString(c.section, c.key, none), c.value) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ini.GetProfileInt("Settings", "PdfSizeNo", 1), 5);  // first duplicate
  EXPECT_EQ(ini.GetProfileInt("Settings", "MkIdxNvr", 9), 9);   // empty: the default
  EXPECT_EQ(ini.GetProfileInt("Settings", "PdfNeShow", 9), 9);
  EXPECT_EQ(ini.GetProfileInt("Settings", "Acr", 3), 3);
}

TEST(IniParseInt, DigitsUpToTheFirstOtherCharacter) {
  struct Case { const char* text; int value; } cases[] = {
      {"42", 42},   {"  42", 42}, {"-3", -3},   {"+7x", 7},   {"12abc", 12},
      {"abc", 0},   {"0x10", 0},  {"- 5", 0},   {"-", 0},     {"007", 7},
      {"2147483647", 2147483647}, {"-2147483648", INT_MIN},   {"4294967297", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ini::ParseInt(c.text), c.value) << c.text;
}

TEST_F(IniTest, QuotedAndPaddedIntegers) {
  dir.Write("Mirvan.ini", "[S]\nA=\"8\"\nB= 'x' \nC=3 pages\nD=\n");
  EXPECT_EQ(ini.GetProfileInt("S", "A", -1), 8);
  EXPECT_EQ(ini.GetProfileInt("S", "B", -1), 0);
  EXPECT_EQ(ini.GetProfileInt("S", "C", -1), 3);
  EXPECT_EQ(ini.GetProfileInt("S", "D", -1), -1);
}

TEST_F(IniTest, NulInvalidBytesAndLongLinesAreHarmless) {
  std::string big(1 << 20, 'x');
  const char head[] = "\0\xFF\xFE junk\n[S]\nTeX=pla\0tex\nBib=\xFF\xFE\x80\n";
  std::string bytes = std::string(head, sizeof head - 1) + "Long=" + big +
                      "\n[" + std::string(1 << 20, '[') + "\nDviPdf=d\n";
  dir.Write("Mirvan.ini", bytes);
  EXPECT_EQ(ini.GetProfileString("S", "TeX", ""), "pla");  // a value ends at NUL
  EXPECT_EQ(ini.GetProfileString("S", "Bib", ""), "\xFF\xFE\x80");
  EXPECT_EQ(ini.GetProfileString("S", "Long", ""), big);
  EXPECT_EQ(ini.GetProfileString("S", "DviPdf", ""), "d");

  ASSERT_TRUE(ini.WriteProfileString("S", "Bib", "pbibtex"));
  std::string expected = bytes;
  expected.replace(expected.find("\xFF\xFE\x80"), 3, "pbibtex");
  EXPECT_EQ(dir.Read("Mirvan.ini"), expected);

  // Pseudo-random binary as a settings file.
  std::string noise;
  unsigned x = 12345;
  for (int i = 0; i < (1 << 20); ++i) noise += static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  dir.Write("Mirvan.ini", noise);
  EXPECT_EQ(ini.GetProfileString("Settings", "TeX", "platex"), "platex");
  EXPECT_TRUE(ini.WriteProfileString("Settings", "TeX", "uplatex"));
  EXPECT_EQ(ini.GetProfileString("Settings", "TeX", ""), "uplatex");
  EXPECT_EQ(dir.Read("Mirvan.ini").substr(0, noise.size()), noise);
}

TEST_F(IniTest, SectionNameEndingInADoubleByteCharacter) {
  Cp932Scope cp932;
  // ゾ ends in the byte ']': "[ゾ" has no closing bracket, "[S]ゾ" is [S].
  dir.Write("Mirvan.ini", "[\x83\x5D\r\nA=1\r\n[S]\x83\x5D\r\nA=2\r\n");
  EXPECT_EQ(ini.GetProfileString("\x83", "A", "-"), "-");
  EXPECT_EQ(ini.GetProfileString("S", "A", "-"), "2");
}

TEST_F(IniTest, WritesChangeOnlyWhatTheyMust) {
  struct Case {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;  // nullptr deletes
    std::string after;
  } cases[] = {
      {"replace keeps the key's spelling and the CRLF", kWindowsFile, "Settings", "TeX", "platex",
       ReplaceToEol(kWindowsFile, "\"c:\\w32tex", "platex")},
      {"replace the first duplicate", kWindowsFile, "Settings", "PdfSizeNo", "1",
       ReplaceToEol(kWindowsFile, "5 \r\n", "1")},
      {"add after the last key, before blank lines", "[A]\r\nx=1\r\n\r\n[B]\r\n", "a", "y", "2",
       "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\n"},
      {"add to a section without keys", "top\n[A]\n; about B\n[B]\n", "A", "k", "v",
       "top\n[A]\nk=v\n; about B\n[B]\n"},
      {"add to the last line without a break", "[A]\r\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
      {"add a section after a missing final newline", "[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
      {"add a section in the file's CRLF style", "[A]\r\n", "B", "k", "v", "[A]\r\n[B]\r\nk=v\r\n"},
      {"a key line without '='", "[A]\nflag\nz=1\n", "A", "FLAG", "on", "[A]\nflag=on\nz=1\n"},
      {"delete removes the line", "[A]\r\nx=1\r\ny=2\r\n", "A", "X", nullptr, "[A]\r\ny=2\r\n"},
      {"delete the last line without a break", "[A]\nx=1\ny=2", "A", "y", nullptr, "[A]\nx=1\n"},
      {"delete only the first", "[A]\nx=1\nx=2\n", "A", "x", nullptr, "[A]\nx=2\n"},
      {"delete a missing key", "[A]\nx=1\n", "A", "y", nullptr, "[A]\nx=1\n"},
      {"empty value", "[A]\nx=1\n", "A", "x", "", "[A]\nx=\n"},
      {"first write of all", "", "Settings", "PdfNShow", "0", "[Settings]" + kEol + "PdfNShow=0" + kEol},
  };
  for (const auto& c : cases) {
    dir.Write("Mirvan.ini", c.before);
    if (c.value) {
      EXPECT_TRUE(ini.WriteProfileString(c.section, c.key, std::string(c.value))) << c.name;
    } else {
      EXPECT_TRUE(ini.DeleteProfileKey(c.section, c.key)) << c.name;
    }
    EXPECT_EQ(dir.Read("Mirvan.ini"), c.after) << c.name;
  }
}

TEST_F(IniTest, WriteThenReadRoundTrips) {
  Cp932Scope cp932;
  const std::vector<std::string> values = {
      "platex", "", "c:\\w32tex\\bin\\platex.exe", "\x95\x5C\x83\x5C\x94\x5C", "-s \x83\x41 myindex",
      "/home/u/\xE8\xAB\x96\xE6\x96\x87.tex", "a=b=c", "[x]", ";not a comment"};
  for (std::size_t i = 0; i < values.size(); ++i) {
    ASSERT_TRUE(ini.WriteProfileString("RFL", "File" + std::to_string(i), values[i]));
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(ini.GetProfileString("rfl", "file" + std::to_string(i), "-"), values[i]);
  }
  for (int v : {0, 1, -5, 13, INT_MAX, INT_MIN}) {
    ASSERT_TRUE(ini.WriteProfileInt("Settings", "PdfSizeNo", v));
    EXPECT_EQ(ini.GetProfileInt("Settings", "PdfSizeNo", 99), v);
  }
  ASSERT_TRUE(ini.DeleteProfileKey("RFL", "File0"));
  EXPECT_EQ(ini.GetProfileString("RFL", "File0", "-"), "-");
  EXPECT_EQ(ini.GetProfileString("RFL", "File1", "-"), "");
}

TEST_F(IniTest, RefusesWhatOneLineCannotHold) {
  dir.Write("Mirvan.ini", "[A]\nx=1\n");
  EXPECT_FALSE(ini.WriteProfileString("A", "x", "two\nlines"));
  EXPECT_FALSE(ini.WriteProfileString("A", "x", "cr\r"));
  EXPECT_FALSE(ini.WriteProfileString("A", "x", std::string("nul\0", 4)));
  EXPECT_FALSE(ini.WriteProfileString("A", "a=b", "1"));
  EXPECT_FALSE(ini.WriteProfileString("A", ";c", "1"));
  EXPECT_FALSE(ini.WriteProfileString("", "x", "1"));
  EXPECT_FALSE(ini.WriteProfileString("A", " ", "1"));
  EXPECT_EQ(dir.Read("Mirvan.ini"), "[A]\nx=1\n");
}

TEST(IniEmptyPath, ReadsDefaultsAndDropsWrites) {
  TempDir dir;
  const std::string cwd = fs::current_path().string();
  fs::current_path(dir.Path());
  IniProfile ini("");
  EXPECT_FALSE(ini.WriteProfileString("Settings", "TeX", "x"));
  EXPECT_FALSE(ini.WriteProfileInt("Settings", "Acr", 1));
  EXPECT_EQ(ini.GetProfileString("Settings", "TeX", "platex"), "platex");
  EXPECT_EQ(ini.GetProfileInt("Settings", "Acr", 4), 4);
  EXPECT_TRUE(Entries(dir.Path()).empty());
  fs::current_path(cwd);
}

TEST_F(IniTest, DeletingFromNoFileCreatesNone) {
  EXPECT_TRUE(ini.DeleteProfileKey("Settings", "TeX"));
  EXPECT_TRUE(Entries(dir.Path()).empty());
}

TEST_F(IniTest, ReplacesAtomicallyLeavingNoTemporaryFile) {
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(ini.WriteProfileInt("Settings", "K" + std::to_string(i), i));
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Mirvan.ini"});
}

TEST_F(IniTest, FailedWritesChangeNothing) {
  // The folder is gone.
  IniProfile lost(dir.File("gone/Mirvan.ini"));
  EXPECT_FALSE(lost.WriteProfileString("Settings", "TeX", "x"));
  EXPECT_EQ(lost.GetProfileString("Settings", "TeX", "d"), "d");

  // A folder stands where the file should be.
  fs::create_directory(path);
  EXPECT_FALSE(ini.WriteProfileString("Settings", "TeX", "x"));
  EXPECT_EQ(ini.GetProfileString("Settings", "TeX", "d"), "d");
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_TRUE(fs::is_empty(path));
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Mirvan.ini"});
}
