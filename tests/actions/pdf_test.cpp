// PDF creation with a scripted converter and scripted prompts: the option
// words, the compile when the .dvi is missing, the paper size question, the
// folder search, the one retry, the converter chooser and the Acr key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/errors.h"
#include "actions/settings_dlg.h"
#include "actions/texts.h"
#include "config/option_dialogs.h"
#include "support/actions_rig.h"
#include "support/doc_platform.h"

namespace {

using Words = std::vector<std::string>;

TEST(PdfSizeOption, TableAndWords) {
  struct Row {
    int no;
    const char* option;
    Words words;
  };
  const Row rows[] = {
      {0, " -p a3 ", {"-p", "a3"}},         {1, "", {}},
      {2, " -p a5 ", {"-p", "a5"}},         {3, " -p a6 ", {"-p", "a6"}},
      {4, " -l ", {"-l"}},                  {5, " -p b3 ", {"-p", "b3"}},
      {6, " -p b4 ", {"-p", "b4"}},         {7, " -p  b5", {"-p", "b5"}},
      {8, " -p b6 ", {"-p", "b6"}},         {9, " -p b5var ", {"-p", "b5var"}},
      {10, " -p letter ", {"-p", "letter"}}, {11, " -p legal ", {"-p", "legal"}},
      {12, " -p ledger ", {"-p", "ledger"}}, {13, " -p tabloid ", {"-p", "tabloid"}},
      {-1, "", {}},                         {14, "", {}},
      {-1000, "", {}},                      {1000, "", {}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(PdfMaker::PdfSizeOption(r.no), r.option) << r.no;
    // What the converter receives: the option words, then the document.
    ActionsOn<DocPlatform> e;
    e.doc.SetFile(e.platform.Dir() + "ﾃｽﾄ paper.tex");
    e.config.Set(&ToolSettings::m_strDviPdf, "dvipdfmx");
    e.config.Set(&ToolSettings::m_nPdfNShow, 1);
    e.config.Set(&ToolSettings::m_nAcr, 1);
    e.config.Set(&ToolSettings::m_nPdfSizeNo, r.no);
    e.platform.Put("ﾃｽﾄ paper.dvi", "dvi");
    e.platform.onRun = [](const ToolCall&) { return 0; };
    EXPECT_EQ(e.pdf.MakePdf(), 1);
    Words expected = r.words;
    expected.push_back("ﾃｽﾄ paper");
    ASSERT_EQ(e.platform.runs.size(), 1u);
    EXPECT_EQ(e.platform.runs[0].program, "dvipdfmx");
    EXPECT_EQ(e.platform.runs[0].args, expected) << r.no;
    EXPECT_EQ(e.platform.runs[0].cwd, e.platform.Dir());
  }
}

// A document whose .dvi exists; the converter and the compiler are scripted.
struct Pdf : ActionsOn<DocPlatform> {
  // Statuses of the converter runs, in order; past the end it cannot start.
  std::vector<int> converter;
  size_t nextConverter = 0;

  Pdf() {
    config.Set(&ToolSettings::m_strTeX, "platex");
    config.Set(&ToolSettings::m_strDviPdf, "dvipdfmx");
    doc.SetFile(platform.Dir() + "paper.tex");
    config.Set(&ToolSettings::m_nPdfSizeNo, 0);
    config.Set(&ToolSettings::m_nPdfNShow, 1);
    platform.Put("paper.dvi", "dvi");
    platform.onRun = [this](const ToolCall& c) {
      if (c.program.find("dvipdfmx") == std::string::npos) return -1;
      return nextConverter < converter.size() ? converter[nextConverter++] : -1;
    };
  }
  // A dialog answer: OK with these choices, clicked from what it showed.
  void DialogOk(int sizeNo, int nShow, int neShow) {
    prompts.pdfSize.push_back([=](CPdfSizeDlg& d) {
      d.OnInitDialog();
      if ((d.NShow() != 0) != (nShow != 0)) d.OnCheckNShow(!d.NShowBox());
      if ((d.NeShow() != 0) != (neShow != 0)) d.OnCheckNeShow(!d.NeShowBox());
      d.SelectRadio(sizeNo);
      d.SaveExchange();
      return true;
    });
  }
};

const std::string kRetry =
    "ask:PDF file が作れません！\n もし Acrobat (Adobe Reader) が起動中なら \n閉じてから、「OK」ボタンを下さい。";
const std::string kFailure = "notice:PDF file が作れません！";
const std::string kChooser = std::string("ask:") + msg::posix::kChooseDviPdfQuestion;

TEST(MakePdf, DialogSkippedWhenSwitchedOffFirstSuccessWritesAcrOnce) {
  Pdf p;
  p.config.Set(&ToolSettings::m_nPdfSizeNo, 7);
  p.converter = {0, 0};
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_TRUE(p.prompts.shown.empty());
  EXPECT_EQ(p.platform.runs[0].args, (Words{"-p", "b5", "paper"}));
  EXPECT_EQ(p.config.Get().m_nAcr, 1);
  EXPECT_EQ(p.profile.log, Words{"W Settings/Acr=1"});
}

TEST(MakePdf, DialogOkWritesThreeKeysThenConverts) {
  Pdf p;
  p.config.Set(&ToolSettings::m_nPdfNShow, 0);
  p.config.Set(&ToolSettings::m_nAcr, 1);
  p.DialogOk(4, 0, 1);
  p.converter = {0};
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_EQ(p.prompts.shown, Words{"pdfsize"});
  EXPECT_EQ(p.profile.log, (Words{"W Settings/PdfNShow=0", "W Settings/PdfNeShow=1", "W Settings/PdfSizeNo=4"}));
  EXPECT_EQ(p.config.Get().m_nPdfNShow, 1);
  EXPECT_EQ(p.platform.runs[0].args, (Words{"-l", "paper"}));
}

TEST(MakePdf, DialogCancelledConvertsNothing) {
  Pdf p;
  p.config.Set(&ToolSettings::m_nPdfNShow, 0);
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  EXPECT_EQ(p.prompts.shown, Words{"pdfsize"});
  EXPECT_TRUE(p.platform.runs.empty());
  EXPECT_TRUE(p.profile.log.empty());
}

TEST(MakePdf, CancelAfterOwnSuccessfulCompileStillReportsSuccess) {
  Pdf p;
  p.platform.Remove("paper.dvi");
  p.config.Set(&ToolSettings::m_nPdfNShow, 0);
  p.platform.onRun = [&p](const ToolCall& c) {
    if (c.program != "platex") return -1;
    p.platform.Put("paper.dvi", "dvi");
    p.platform.Put("paper.log", "fine\n");
    return 0;
  };
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_EQ(p.platform.Programs(), Words{"platex"});
  EXPECT_EQ(p.prompts.shown, Words{"pdfsize"});
  EXPECT_EQ(p.profile.log, Words{"W Settings/Acr=1"});
}

TEST(MakePdf, FailedCompileConvertsNothingAndAsksNothing) {
  Pdf p;
  p.platform.Remove("paper.dvi");
  p.config.Set(&ToolSettings::m_nPdfNShow, 0);
  p.platform.onRun = [](const ToolCall&) { return 1; };  // no .dvi written
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  EXPECT_EQ(p.platform.Programs(), Words{"platex"});
  EXPECT_TRUE(p.prompts.shown.empty());
  EXPECT_TRUE(p.profile.log.empty());
}

TEST(MakePdf, CompileReportingSuccessWithoutDviStillConverts) {
  // Plain mode reports success on any start; the converter then tells.
  Pdf p;
  p.platform.Remove("paper.dvi");
  p.config.Set(&ToolSettings::m_strTeX, "ptex");
  p.config.Set(&ToolSettings::m_nAcr, 1);
  p.platform.onRun = [](const ToolCall& c) { return c.program == "ptex" ? 0 : 1; };
  p.prompts.askAnswers = {false};
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_EQ(p.platform.Programs(), (Words{"ptex", "dvipdfmx"}));
  EXPECT_EQ(p.prompts.shown, (Words{kRetry, kFailure}));
}

TEST(MakePdf, NoDocumentEndsInTheCompileNotice) {
  Pdf p;
  p.doc.SetFile("");
  p.config.Set(&ToolSettings::m_nPdfNShow, 0);
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  EXPECT_EQ(p.prompts.shown, Words{std::string("notice:") + compile_text::kNoDocumentText});
  EXPECT_TRUE(p.platform.runs.empty());
}

TEST(MakePdf, ErrorInsideCompileEndsTheAction) {
  Pdf p;
  p.platform.Remove("paper.dvi");
  p.config.Set(&ToolSettings::m_nPdfNShow, 0);
  p.platform.onRun = [&p](const ToolCall&) {
    p.platform.Put("paper.dvi", "dvi");  // and no log
    return 0;
  };
  EXPECT_THROW(p.pdf.MakePdf(), FileError);
  EXPECT_TRUE(p.prompts.shown.empty());
  EXPECT_TRUE(p.profile.log.empty());
}

TEST(MakePdf, ConverterFoundInSecondProbeFolderIsStored) {
  Pdf p;
  const auto& folders = p.platform.Values().probeFolders;
  const std::string found = folders.at(1) + "dvipdfmx";
  p.platform.onRun = [found](const ToolCall& c) { return c.program == found ? 0 : -1; };
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_EQ(p.platform.Programs(), (Words{"dvipdfmx", folders.at(0) + "dvipdfmx", found}));
  for (const auto& r : p.platform.runs) EXPECT_EQ(r.args, (Words{"-p", "a3", "paper"}));
  EXPECT_EQ(p.config.Get().m_strDviPdf, found);
  EXPECT_EQ(p.profile.log, (Words{"W Settings/DviPdf=" + found, "W Settings/Acr=1"}));
  EXPECT_TRUE(p.prompts.shown.empty());
}

TEST(MakePdf, FoundCandidateThatFailsIsStoredAndGetsTheRetry) {
  Pdf p;
  p.config.Set(&ToolSettings::m_nAcr, 1);
  const std::string found = p.platform.Values().probeFolders.at(0) + "dvipdfmx";
  int n = 0;
  p.platform.onRun = [found, &n](const ToolCall& c) { return c.program == found ? (n++ == 0 ? 1 : 0) : -1; };
  p.prompts.askAnswers = {true};
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_EQ(p.platform.Programs(), (Words{"dvipdfmx", found, found}));
  EXPECT_EQ(p.prompts.shown, Words{kRetry});
  EXPECT_EQ(p.profile.log, Words{"W Settings/DviPdf=" + found});
}

TEST(MakePdf, ExitNonZeroThenOkAndGoodRerun) {
  Pdf p;
  p.converter = {1, 0};
  p.prompts.askAnswers = {true};
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  EXPECT_EQ(p.prompts.shown, Words{kRetry});
  EXPECT_EQ(p.platform.runs.size(), 2u);
  EXPECT_EQ(p.platform.runs[1].args, p.platform.runs[0].args);
  EXPECT_EQ(p.platform.runs[1].cwd, p.platform.Dir());
  EXPECT_EQ(p.profile.log, Words{"W Settings/Acr=1"});
  // The failed first run is forgotten: the PDF was made.
  EXPECT_EQ(p.verdict.Verdict().kind, ActionVerdict::Kind::Success);
}

TEST(MakePdf, RerunFailingShowsNoticeThenChooserWhileAcrIsZero) {
  Pdf p;
  p.converter = {1, 1};
  p.prompts.askAnswers = {true, false};  // retry OK, chooser Cancel
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  EXPECT_EQ(p.prompts.shown, (Words{kRetry, kFailure, kChooser}));
  EXPECT_EQ(p.platform.runs.size(), 2u) << "one re-run only";
  EXPECT_EQ(p.config.Get().m_nAcr, 0);
  EXPECT_EQ(p.profile.log, Words{"D Settings/DviPdf"}) << "the chooser's reset, no Acr";
  const ActionVerdict& verdict = p.verdict.Verdict();
  EXPECT_EQ(verdict.kind, ActionVerdict::Kind::Failure);
  EXPECT_EQ(verdict.text, "PDF file が作れません！");
  EXPECT_TRUE(verdict.shownInBox);
}

TEST(MakePdf, RetryCancelledWithAcrSetShowsOnlyTheNotice) {
  Pdf p;
  p.config.Set(&ToolSettings::m_nAcr, 1);
  p.converter = {2};
  p.prompts.askAnswers = {false};
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  EXPECT_EQ(p.prompts.shown, (Words{kRetry, kFailure}));
  EXPECT_EQ(p.platform.runs.size(), 1u);
  EXPECT_TRUE(p.profile.log.empty());
}

TEST(MakePdf, ProgramFileThatWillNotStartIsReportedWithoutSearch) {
  Pdf p;
  p.config.Set(&ToolSettings::m_strDviPdf, "/opt/tex/dvipdfmx");
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  EXPECT_EQ(p.platform.Programs(), Words{"/opt/tex/dvipdfmx"});
  EXPECT_EQ(p.prompts.shown, Words{kFailure});
  EXPECT_EQ(p.config.Get().m_strDviPdf, "/opt/tex/dvipdfmx");
  EXPECT_TRUE(p.profile.log.empty());
}

TEST(MakePdf, NothingStartsThenPickedConverterRunsOnce) {
  Pdf p;
  p.prompts.askAnswers = {true};
  p.prompts.picks = {std::string("/home/u/bin/my-dvipdfmx")};
  p.platform.onRun = [&p](const ToolCall& c) {
    if (c.program != "/home/u/bin/my-dvipdfmx") return -1;
    p.platform.cwd = "/elsewhere/";  // what the picker may have done
    return 0;
  };
  p.platform.chdirs.clear();
  EXPECT_EQ(p.pdf.MakePdf(), 1);
  const auto& f = p.platform.Values().probeFolders;
  EXPECT_EQ(p.platform.Programs(), (Words{"dvipdfmx", f[0] + "dvipdfmx", f[1] + "dvipdfmx", f[2] + "dvipdfmx",
                                          "/home/u/bin/my-dvipdfmx"}));
  EXPECT_EQ(p.platform.runs.back().args, (Words{"-p", "a3", "paper"}));
  EXPECT_EQ(p.platform.chdirs, (Words{p.platform.Dir(), p.platform.Dir()}));
  EXPECT_EQ(p.profile.log, (Words{"W Settings/DviPdf=/home/u/bin/my-dvipdfmx", "W Settings/Acr=1"}));
}

TEST(MakePdf, PickedConverterFailingShowsTheNotice) {
  Pdf p;
  p.config.Set(&ToolSettings::m_nAcr, 1);
  p.prompts.askAnswers = {true};
  p.prompts.picks = {std::string("/x/dvipdfmx")};
  p.platform.onRun = [](const ToolCall& c) { return c.program == "/x/dvipdfmx" ? 1 : -1; };
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  ASSERT_EQ(p.prompts.shown.size(), 3u);
  EXPECT_EQ(p.prompts.shown[0], kChooser);
  EXPECT_EQ(p.prompts.shown[2], kFailure);
  EXPECT_EQ(p.platform.Programs().back(), "/x/dvipdfmx");
}

TEST(MakePdf, NothingStartsAndChooserDeclined) {
  Pdf p;
  p.config.Set(&ToolSettings::m_nAcr, 1);
  EXPECT_EQ(p.pdf.MakePdf(), 0);
  EXPECT_EQ(p.platform.runs.size(), 4u);
  EXPECT_EQ(p.prompts.shown, Words{kChooser});
  EXPECT_EQ(p.config.Get().m_strDviPdf, "dvipdfmx");
}

}  // namespace
