// Document names that TeX would read as code or as another name: which are
// refused (found by running TeX Live's platex on files of such names), and
// that every action refuses one before its first tool, question or write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/tex_name.h"
#include "actions/texts.h"
#include "support/actions_rig.h"

namespace {

using mbcs::CodePage;

TEST(TeXNameHazard, WhatTeXReadsAsCodeOrAsAnotherName) {
  struct Case {
    std::string arg;
    CodePage cp;
    const char* hazard;  // nullptr: platex compiles arg.tex
  };
  const Case cases[] = {
      // Empties thesis.tex; compiles other.tex.
      {"\\immediate\\openout1=thesis.tex\\immediate\\closeout1", CodePage::Utf8, msg::kNameBackslash},
      {"\\input{other}", CodePage::Utf8, msg::kNameBackslash},
      {"a\\b", CodePage::Utf8, msg::kNameBackslash},
      {"p%PATH%", CodePage::Utf8, msg::kNamePercent},
      {"&platex", CodePage::Utf8, msg::kNameLeadingAmpersand},
      {"{other}", CodePage::Utf8, msg::kNameLeadingBrace},
      {"a~b", CodePage::Utf8, msg::kNameTilde},
      {"a\"b\"c", CodePage::Utf8, msg::kNameQuote},
      {"a^^5cinput", CodePage::Utf8, msg::kNameCarets},
      {"a  b", CodePage::Utf8, msg::kNameBlanks},
      {"a\tb", CodePage::Utf8, msg::kNameTab},
      {"a\fb", CodePage::Utf8, msg::kNameFormFeed},
      {"a\rb", CodePage::Utf8, msg::kNameReturn},
      {"a\x7f", CodePage::Utf8, msg::kNameDelete},
      // Harmless: TeX takes each of these as part of the name.
      {"paper", CodePage::Utf8, nullptr},
      {"論文 第2版", CodePage::Utf8, nullptr},
      {" a b c ", CodePage::Utf8, nullptr},
      {"a&b", CodePage::Utf8, nullptr},
      {"a{b}", CodePage::Utf8, nullptr},
      {"}a", CodePage::Utf8, nullptr},
      {"#$'@!;*=,", CodePage::Utf8, nullptr},
      {"^a^", CodePage::Utf8, nullptr},
      {"a\nb\x01", CodePage::Utf8, nullptr},
      {"./-ini", CodePage::Utf8, nullptr},
      {"./&x", CodePage::Utf8, nullptr},
      {"", CodePage::Utf8, nullptr},
      // 表 is 0x95 0x5C in CP932 and タ 0x83 0x5E, × 0x81 0x7E: trail bytes
      // that are no backslash, caret or tilde. The same bytes on a UTF-8
      // system are a backslash to TeX.
      {"\x95\x5C", CodePage::Cp932, nullptr},
      {"\x95\x5C", CodePage::Utf8, msg::kNameBackslash},
      {"\x83\x5E^x\x81\x7E", CodePage::Cp932, nullptr},
      {"\x83\x5E^^x", CodePage::Cp932, msg::kNameCarets},
      {"\x95\x5C\\", CodePage::Cp932, msg::kNameBackslash},
      {"\x95\x5C%", CodePage::Cp932, msg::kNamePercent},
  };
  for (const Case& c : cases) {
    const char* got = TeXNameHazard(c.arg, c.cp);
    EXPECT_EQ(got ? std::string(got) : "(none)", c.hazard ? std::string(c.hazard) : "(none)") << c.arg;
  }
}

// The parts of the bar an action needs, over a platform where every tool
// starts and succeeds, so that any run would show.
struct Parts : ActionsOn<> {
  Parts(const PlatformValues& values, const std::string& file) : ActionsOn<>(values) {
    platform.onRun = [](const ToolCall&) { return 0; };
    for (TextSetting t : {&ToolSettings::m_strTeX, &ToolSettings::m_strBib, &ToolSettings::m_strMkIdx,
                          &ToolSettings::m_strDviPdf})
      config.Set(t, "tool");
    // Every question on: the paper size and index options would be asked,
    // and a made PDF would write Acr.
    config.Set(&ToolSettings::m_nPdfNShow, 0);
    config.Set(&ToolSettings::m_nMkIdxNvr, 0);
    config.Set(&ToolSettings::m_nAcr, 0);
    doc.SetFile(file);
  }
};

std::string Refusal(const char* hazard, const std::string& fileName) {
  std::string text = msg::kNameRefused;
  text.replace(text.find("%1"), 2, hazard);
  text.replace(text.find("%2"), 2, fileName);
  return "box:|stop|" + text;
}

TEST(TeXNameHazard, EveryActionRefusesBeforeAnythingRunsOrIsWritten) {
  struct Action {
    const char* what;
    void (*press)(Parts&);
    const char* existing;  // an output file already there, or nullptr
  };
  const Action actions[] = {
      {"TeX", [](Parts& p) { p.compiler.Compile(); }, nullptr},
      {"PDF, no .dvi", [](Parts& p) { p.pdf.MakePdf(); }, nullptr},
      {"PDF, .dvi there", [](Parts& p) { p.pdf.MakePdf(); }, ".dvi"},
      {"TeX+PDF", [](Parts& p) { p.shell.CompileAndMakePdf(); }, nullptr},
      {"Dvi, no .dvi", [](Parts& p) { p.shell.ViewDvi(); }, nullptr},
      {"PDF Read, no .pdf", [](Parts& p) { p.shell.ViewPdf(); }, nullptr},
  };
  struct DocCase {
    bool posix;
    std::string dir, name;
    const char* hazard;
  };
  const DocCase documents[] = {
      {true, "/home/u/", "\\input{other}", msg::kNameBackslash},
      {true, "/home/u/", "p%PATH%", msg::kNamePercent},
      {false, "C:\\work\\", "&platex", msg::kNameLeadingAmpersand},
  };
  for (const DocCase& d : documents) {
    for (const Action& a : actions) {
      SCOPED_TRACE(std::string(a.what) + " on " + d.name);
      Parts p(d.posix ? PosixPlatformValues() : WindowsPlatformValues(), d.dir + d.name + ".tex");
      if (a.existing) p.platform.files[d.dir + d.name + a.existing] = 1;
      a.press(p);
      EXPECT_EQ(p.prompts.shown, std::vector<std::string>{Refusal(d.hazard, d.name + ".tex")});
      EXPECT_TRUE(p.platform.runs.empty());
      EXPECT_TRUE(p.platform.chdirs.empty());
      EXPECT_TRUE(p.platform.opens.empty());
      EXPECT_TRUE(p.profile.log.empty());
      EXPECT_EQ(p.verdict.Verdict().kind, ActionVerdict::Kind::Failure);
    }
  }
  // The same rig runs the compiler on a harmless name, so a refusal is not
  // the rig's doing.
  Parts p(PosixPlatformValues(), "/home/u/a&b {c}.tex");
  p.compiler.Compile();
  ASSERT_FALSE(p.platform.runs.empty());
  EXPECT_EQ(p.platform.runs[0].args, std::vector<std::string>{"a&b {c}"});
}

}  // namespace
