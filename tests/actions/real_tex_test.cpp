// The compile driver and PDF creation against the real TeX chain: platex,
// pbibtex, mendex and dvipdfmx, started by the real platform in a headless
// console. A recording decorator counts the tool runs. Documents are tiny so
// that a run takes a fraction of a second.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "actions/errors.h"
#include "actions/problems.h"
#include "actions/settings_dlg.h"
#include "actions/texts.h"
#include "config/option_dialogs.h"
#include "platform/posix/headless_console.h"
#include "platform/posix/posix_platform.h"
#include "support/actions_rig.h"
#include "support/temp_dir.h"
#include "text/mbcs.h"

namespace {

// Forwards to the real platform and keeps the program of every run.
class RecordingPlatform : public IPlatform {
 public:
  explicit RecordingPlatform(PosixPlatform& inner) : m_inner(inner) {}
  std::vector<std::string> programs;

  const PlatformValues& Values() const override { return m_inner.Values(); }
  int RunTool(const std::string& program, const std::vector<std::string>& args) override {
    programs.push_back(program);
    return m_inner.RunTool(program, args);
  }
  bool ChangeDir(const std::string& dir) override { return m_inner.ChangeDir(dir); }
  bool GetCwd(std::string& out) override { return m_inner.GetCwd(out); }
  FileStatus Stat(const std::string& path) override { return m_inner.Stat(path); }
  bool OpenDocument(const std::string& file, const std::string& dir) override {
    return m_inner.OpenDocument(file, dir);
  }
  bool OpenEditor(const std::string& editor, const std::string& documentPath, const std::string& dir) override {
    return m_inner.OpenEditor(editor, documentPath, dir);
  }
  void StartCommandPrompt() override {}

 private:
  PosixPlatform& m_inner;
};

bool OnPath(const char* program) {
  const std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string Command(const std::string& cmd) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
  if (!p) return out;
  std::array<char, 4096> buf{};
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p.get())) > 0) out.append(buf.data(), n);
  return out;
}

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The real platform, made before the parts that use it.
struct RealPosix {
  PosixPlatform m_posix;
};

// One document in a fresh folder, and the parts set up for the Japanese chain.
class RealTeX : public ::testing::Test, protected RealPosix, public ActionsOn<RecordingPlatform> {
 protected:
  RealTeX() : ActionsOn(m_posix) {}

  void SetUp() override {
    for (const char* tool : {"platex", "pbibtex", "mendex", "dvipdfmx"})
      if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
    char buf[PATH_MAX];
    if (::getcwd(buf, sizeof buf)) m_startDir = buf;
    m_console = std::make_shared<HeadlessConsole>();
    m_console->SetSink([this](const char* data, std::size_t size) { m_output.append(data, size); });
    m_posix.SetToolConsole(m_console);
    config.Set(&ToolSettings::m_strTeX, "platex");
    config.Set(&ToolSettings::m_strBib, "pbibtex");
    config.Set(&ToolSettings::m_strMkIdx, "mendex");
    config.Set(&ToolSettings::m_strMkIdxOpt, "");
    config.Set(&ToolSettings::m_nMkIdxNvr, 1);
    config.Set(&ToolSettings::m_strDviPdf, "dvipdfmx");
    config.Set(&ToolSettings::m_nPdfNShow, 1);
    config.Set(&ToolSettings::m_nAcr, 1);
    UseDocument("", "doc");
  }
  void TearDown() override {
    if (!m_startDir.empty() && ::chdir(m_startDir.c_str()) != 0) std::perror("chdir");
  }

  // Puts the document into `folder` (created under the temporary folder).
  void UseDocument(const std::string& folder, const std::string& name) {
    doc.SetFile(m_dir.Path() + folder + name + ".tex");
    if (!folder.empty()) std::system(("mkdir -p " + ShellQuote(doc.Dir())).c_str());
  }
  void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream f(doc.Dir() + name, std::ios::binary | std::ios::trunc);
    f << text;
  }
  void WriteTeX(const std::string& body, const std::string& preamble = "") {
    WriteFile(doc.Name() + ".tex",
              "\\documentclass{jarticle}\n" + preamble + "\\begin{document}\n" + body + "\n\\end{document}\n");
  }
  std::string Out(const std::string& ext) const { return doc.Dir() + doc.Name() + ext; }
  bool Exists(const std::string& ext) { return platform.Stat(Out(ext)).exists; }
  int Count(const std::string& program) const {
    int n = 0;
    for (const auto& p : platform.programs) n += p == program;
    return n;
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& s : prompts.shown)
      if (s.rfind("box:", 0) == 0) out.push_back(s);
    return out;
  }
  // Runs the compile as the TeX button does: -1 when a file it must read
  // is missing, which ends the button's action (the path in m_missing).
  int PressTeX() {
    try {
      return compiler.Compile();
    } catch (const FileError& e) {
      m_missing = e.Path();
      return -1;
    }
  }
  std::string PageSize() {
    return Command("pdfinfo " + ShellQuote(Out(".pdf")) + " 2>/dev/null | grep '^Page size:'");
  }

  TempDir m_dir;
  std::string m_startDir;
  std::string m_output;
  std::shared_ptr<HeadlessConsole> m_console;
  std::string m_missing;
};

const std::string kWarningBox = std::string("box:") + compile_text::kWarningCaption + "|exclamation|" +
                                compile_text::kWarningText;

// What the real platex reports, as the bar lists it after the compile: the
// kind, the file inside the document's folder and the line of each warning,
// and no error where the compile had none.
TEST_F(RealTeX, WarningsAreListedWithTheirFileAndLine) {
  ::mkdir((doc.Dir() + "chap").c_str(), 0755);
  WriteFile("chap/one.tex",
            "第一章\n"
            "\n"
            "\\ref{nowhere} を見よ。\n"
            "文献 \\cite{nobody} を見よ。\n"
            "\\section{a}\\label{twice}\n"
            "\\section{b}\\label{twice}\n"
            "\\hbox to 10pt{この行ははみ出します。この行ははみ出します。}\n");
  WriteTeX("\\input{chap/one}");
  ProblemList problems(env);
  problems.Begin(doc);
  EXPECT_EQ(PressTeX(), 1) << m_output;
  ASSERT_TRUE(problems.End(doc));
  EXPECT_FALSE(problems.HasErrors());
  struct Want {
    texlog::Kind kind;
    int line;
    const char* words;
  };
  const Want wants[] = {
      {texlog::Kind::Warning, 3, "Reference `nowhere'"},
      {texlog::Kind::Warning, 4, "Citation `nobody'"},
      {texlog::Kind::Warning, 6, "Label `twice' multiply defined"},
      {texlog::Kind::BadBox, 7, "Overfull \\hbox"},
  };
  for (const Want& w : wants) {
    SCOPED_TRACE(w.words);
    const auto found = std::find_if(problems.Entries().begin(), problems.Entries().end(),
                                    [&](const texlog::Entry& e) { return e.message.find(w.words) != std::string::npos; });
    ASSERT_NE(found, problems.Entries().end()) << m_output;
    EXPECT_EQ(found->kind, w.kind);
    EXPECT_EQ(found->file, "chap/one.tex");
    EXPECT_EQ(found->line, w.line);
  }
  // What a save can change: the document and what it read from its folder.
  EXPECT_EQ(problems.Sources(), (std::vector<std::string>{doc.File(), doc.Dir() + "chap/one.tex"}));
}

TEST_F(RealTeX, PlainDocumentOneRun) {
  WriteTeX("日本語の一文。");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(platform.programs, std::vector<std::string>{"platex"});
  EXPECT_TRUE(Exists(".dvi"));
  EXPECT_TRUE(prompts.shown.empty()) << m_output;
}

// A desktop launcher's PATH may lack TeX: the compiler is found in a probe
// folder, stored, and the compile goes on without a word to the user.
TEST_F(RealTeX, CompilerOffThePathIsFoundInAProbeFolder) {
  std::string found;
  for (const auto& folder : m_posix.Values().probeFolders)
    if (found.empty() && ::access((folder + "platex").c_str(), X_OK) == 0) found = folder + "platex";
  if (found.empty()) GTEST_SKIP() << "platex is in none of the probe folders";
  const char* old = std::getenv("PATH");
  const std::string saved = old ? old : "";
  ::setenv("PATH", m_dir.Path().c_str(), 1);  // holds no programs
  WriteTeX("日本語の一文。");
  const int result = PressTeX();
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(result, 1) << m_output;
  EXPECT_EQ(config.Get().m_strTeX, found);
  EXPECT_EQ(profile.Get("Settings", "TeX"), found);
  EXPECT_EQ(platform.programs.front(), "platex");
  EXPECT_EQ(platform.programs.back(), found);
  EXPECT_TRUE(Exists(".dvi"));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RealTeX, NewTableOfContentsTakesExactlyOneExtraRun) {
  WriteTeX("\\tableofcontents\n\\section{序論}本文。\n\\section{結論}終わり。");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(Count("platex"), 2);
  EXPECT_NE(Slurp(Out(".toc")).find("結論"), std::string::npos);
  EXPECT_TRUE(prompts.shown.empty());
  // Nothing changed since: one run.
  platform.programs.clear();
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(Count("platex"), 1);
}

TEST_F(RealTeX, LabelsAndReferencesSettle) {
  WriteTeX("\\section{前}\\label{a}第~\\ref{b}~節を見よ。\n\\section{後}\\label{b}第~\\ref{a}~節より。");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(Count("platex"), 2);
  EXPECT_EQ(Slurp(Out(".log")).find("LaTeX Warning"), std::string::npos);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(RealTeX, BibliographyWithPbibtex) {
  WriteFile("refs.bib", "@book{k, author={奥村 晴彦}, yomi={Okumura, Haruhiko}, title={入門}, "
                        "publisher={技術評論社}, year={2020}}\n");
  WriteTeX("文献~\\cite{k}。\n\\bibliographystyle{jplain}\n\\bibliography{refs}");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(platform.programs, (std::vector<std::string>{"platex", "pbibtex", "platex", "platex"}));
  EXPECT_NE(Slurp(Out(".bbl")).find("奥村"), std::string::npos);
  EXPECT_TRUE(Boxes().empty()) << Slurp(Out(".log"));
  // The .bbl exists now and the .aux names the database: BibTeX runs on
  // every press.
  platform.programs.clear();
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(platform.programs, (std::vector<std::string>{"platex", "pbibtex", "platex"}));
}

TEST_F(RealTeX, IndexWithMendexAndStyleFile) {
  WriteFile("myindex.ist", "delim_0 \"\\\\dotfill \"\n");
  config.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex.ist");
  WriteTeX("索引\\index{さくいん@索引}のある文。\n\\printindex", "\\usepackage{makeidx}\n\\makeindex\n");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(platform.programs, (std::vector<std::string>{"platex", "mendex", "platex"}));
  EXPECT_NE(Slurp(Out(".ind")).find("索引\\dotfill 1"), std::string::npos) << Slurp(Out(".ind"));
  EXPECT_TRUE(Boxes().empty());
  // The .idx is rewritten by every run, so every press runs the index again.
  platform.programs.clear();
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(Count("mendex"), 1);
}

TEST_F(RealTeX, UndefinedControlSequenceAnsweredXFails) {
  WriteTeX("前\n\\undefinedcommand\n後");
  m_console->AddAnswer("? ", "x");
  EXPECT_EQ(PressTeX(), 0);
  EXPECT_EQ(Count("platex"), 1);
  EXPECT_NE(Slurp(Out(".log")).find("\n? x"), std::string::npos);
  EXPECT_FALSE(Exists(".dvi"));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RealTeX, UndefinedReferenceShowsTheWarningBox) {
  WriteTeX("第~\\ref{nowhere}~節。");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(Count("platex"), 1);
  EXPECT_EQ(prompts.shown, std::vector<std::string>{kWarningBox});
}

TEST_F(RealTeX, SlantedJapaneseFontWarningOnlyShowsNoBox) {
  WriteTeX("\\textsl{\\kanjishape{sl}\\selectfont 日本語の斜体}です。");
  EXPECT_EQ(PressTeX(), 1);
  const std::string log = Slurp(Out(".log"));
  EXPECT_NE(log.find("LaTeX Font Warning"), std::string::npos) << "the case needs a font warning";
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RealTeX, ShiftJisSource) {
  // TeX Live's platex reads UTF-8 unless told otherwise; a Shift-JIS user
  // sets PTEX_KANJI_ENC, and the bar's code page is CP932 then.
  const char* old = std::getenv("PTEX_KANJI_ENC");
  const std::string saved = old ? old : "";
  setenv("PTEX_KANJI_ENC", "sjis", 1);
  mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  const std::string utf8 =
      "\\documentclass{jarticle}\n\\begin{document}\n\\section{表示}\\label{s}第~\\ref{s}~節の"
      "「ソ」と「能」と「表」は第二バイトが 5C の文字。\n\\end{document}\n";
  WriteFile("sjis.tex", Command("printf %s " + ShellQuote(utf8) + " | iconv -f UTF-8 -t CP932"));
  doc.SetFile(doc.Dir() + "sjis.tex");
  const int result = PressTeX();
  mbcs::SetSystemCodePage(mbcs::CodePage::Utf8);
  if (old)
    setenv("PTEX_KANJI_ENC", saved.c_str(), 1);
  else
    unsetenv("PTEX_KANJI_ENC");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Count("platex"), 2);
  EXPECT_EQ(Slurp(Out(".log")).find("Error"), std::string::npos);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RealTeX, NameWithBlanksAndJapanese) {
  UseDocument("作業 フォルダ/", "論文 の 下書き");
  WriteTeX("\\section{序}\\label{x}第~\\ref{x}~節。");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(Count("platex"), 2);
  EXPECT_TRUE(Exists(".dvi"));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(pdf.MakePdf(), 1);
  EXPECT_TRUE(Exists(".pdf"));
}

TEST_F(RealTeX, TwoCompilesWithinOneSecondBothSucceed) {
  WriteTeX("短い。");
  EXPECT_EQ(PressTeX(), 1);
  const FileStatus first = platform.Stat(Out(".dvi"));
  EXPECT_EQ(PressTeX(), 1);
  const FileStatus second = platform.Stat(Out(".dvi"));
  EXPECT_GT(second.mtimeNs, first.mtimeNs);
  EXPECT_EQ(Count("platex"), 2);
}

TEST_F(RealTeX, MissingLogReportedByItsBareName) {
  // A "compiler" that writes a .dvi and nothing else.
  WriteFile("fake-latex", "#!/bin/sh\n: > \"$1.dvi\"\n");
  std::system(("chmod +x " + ShellQuote(doc.Dir() + "fake-latex")).c_str());
  config.Set(&ToolSettings::m_strTeX, doc.Dir() + "fake-latex");
  WriteTeX("x");
  EXPECT_EQ(PressTeX(), -1);
  EXPECT_EQ(m_missing, "doc.log");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RealTeX, SampleDocumentFromACleanFolder) {
  // ctest names the source folder; run by hand, this file's place tells it.
  const char* sourceDir = std::getenv("MIRVAN_SOURCE_DIR");
  std::string src = sourceDir ? sourceDir : __FILE__;
  if (!sourceDir) src.erase(src.rfind("/tests/"));
  for (const char* f : {"paper.tex", "paper.bib", "myindex.ist"}) {
    const std::string text = Slurp(src + "/examples/" + f);
    ASSERT_FALSE(text.empty()) << src << "/examples/" << f;
    WriteFile(f, text);
  }
  doc.SetFile(doc.Dir() + "paper.tex");
  config.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex.ist");
  EXPECT_EQ(PressTeX(), 1);
  EXPECT_EQ(platform.programs,
            (std::vector<std::string>{"platex", "pbibtex", "platex", "mendex", "platex", "platex"}));
  const std::string log = Slurp(Out(".log"));
  EXPECT_EQ(log.find("LaTeX Warning"), std::string::npos) << log;
  const std::string bbl = Slurp(Out(".bbl"));
  EXPECT_NE(bbl.find("\\bibitem{okumura}"), std::string::npos) << bbl;
  EXPECT_NE(bbl.find("\\bibitem{mittelbach}"), std::string::npos) << bbl;
  EXPECT_NE(Slurp(Out(".ind")).find("\\dotfill"), std::string::npos);
  EXPECT_TRUE(prompts.shown.empty());
}

// The paper size dialog answers OK with this number, boxes clear.
void AnswerPaperSize(ScriptedPrompts& prompts, int sizeNo) {
  prompts.pdfSize.push_back([sizeNo](CPdfSizeDlg& d) {
    d.OnInitDialog();
    d.SelectRadio(sizeNo);
    d.SaveExchange();
    return true;
  });
}

TEST_F(RealTeX, PaperSizesReachDvipdfmx) {
  struct Row {
    int no;
    const char* size;
  };
  const Row rows[] = {{0, "841.89 x 1190.55 pts"}, {4, "841.89 x 595.28 pts"}, {7, "498.9 x 708.66 pts"}};
  WriteTeX("紙の大きさ。");
  config.Set(&ToolSettings::m_nPdfNShow, 0);
  for (const Row& r : rows) {
    std::remove(Out(".pdf").c_str());
    AnswerPaperSize(prompts, r.no);
    EXPECT_EQ(pdf.MakePdf(), 1) << r.no;  // compiles first when the .dvi is missing
    EXPECT_NE(PageSize().find(r.size), std::string::npos) << r.no << ": " << PageSize();
  }
  EXPECT_EQ(Count("platex"), 1);
  EXPECT_EQ(Count("dvipdfmx"), 3);
}

TEST_F(RealTeX, RejectedPaperSizeLeadsToTheRetryQuestion) {
  WriteTeX("b5var は受け付けられない。");
  ASSERT_EQ(PressTeX(), 1);
  config.Set(&ToolSettings::m_nPdfSizeNo, 9);
  prompts.askAnswers = {true};  // retry: OK; it fails the same way
  EXPECT_EQ(pdf.MakePdf(), 0);
  EXPECT_EQ(Count("dvipdfmx"), 2);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].rfind("ask:PDF file", 0), 0u);
  EXPECT_EQ(prompts.shown[1].rfind("notice:PDF file", 0), 0u);
  EXPECT_FALSE(Exists(".pdf"));
}

}  // namespace
