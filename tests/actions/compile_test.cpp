// The compile driver against a scripted compiler: each compiler run leaves
// the files a case prescribes and exits with a prescribed status; BibTeX and
// the index program just exit. Every case checks the exact order of tool
// runs, the result and the closing box.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "actions/errors.h"
#include "actions/texts.h"
#include "support/actions_rig.h"
#include "support/doc_platform.h"
#include "text/mbcs.h"

namespace {

using Files = std::map<std::string, std::optional<std::string>>;  // ext -> text, nullopt = removed

enum class Dvi { New, None, SameTime };

// What one compiler run leaves behind.
struct TexRun {
  std::optional<std::string> log;  // nullopt: no log written
  Files other;
  int status = 0;
  Dvi dvi = Dvi::New;
};

TexRun Tex(std::string log, Files other = {}, int status = 0, Dvi dvi = Dvi::New) {
  return TexRun{std::move(log), std::move(other), status, dvi};
}

const std::string kBoxWarning = std::string("box:") + compile_text::kWarningCaption + "|exclamation|" +
                                compile_text::kWarningText;

struct Harness : ActionsOn<DocPlatform> {
  std::vector<TexRun> texRuns;
  size_t next = 0;
  int bibStatus = 0;
  int idxStatus = 0;

  Harness() {
    Configure(platform.Dir() + "paper.tex");
    config.Set(&ToolSettings::m_strBib, "pbibtex");
    platform.onRun = [this](const ToolCall& call) { return OnRun(call); };
  }

  void Before(const Files& files) {
    for (const auto& [ext, text] : files)
      if (text) platform.Put("paper" + ext, *text);
  }

  int OnRun(const ToolCall& call) {
    if (call.program == "pbibtex") return bibStatus;
    if (call.program == "mendex") return idxStatus;
    if (next >= texRuns.size()) {
      ADD_FAILURE() << "unexpected compiler run " << next + 1 << " of " << call.program;
      return 0;
    }
    const TexRun& run = texRuns[next++];
    if (run.dvi == Dvi::New) platform.Put("paper.dvi", "dvi " + std::to_string(next));
    if (run.dvi == Dvi::SameTime) platform.Rewrite("paper.dvi", "dvi " + std::to_string(next));
    if (run.log) platform.Put("paper.log", *run.log);
    for (const auto& [ext, text] : run.other) {
      if (text)
        platform.Put("paper" + ext, *text);
      else
        platform.Remove("paper" + ext);
    }
    return run.status;
  }

  // T = compiler, B = BibTeX, I = index program, others by name.
  std::string Letters() const {
    std::string out;
    for (const auto& p : platform.Programs()) {
      if (!out.empty()) out += ' ';
      out += p == "platex" ? "T" : p == "pbibtex" ? "B" : p == "mendex" ? "I" : p;
    }
    return out;
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& s : prompts.shown)
      if (s.rfind("box:", 0) == 0) out.push_back(s);
    return out;
  }
};

const std::string kLog = "This is e-pTeX\nOutput written on paper.dvi (1 page).\n";
const std::string kLabels = "LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right.\n";
const std::string kWarn = "LaTeX Warning: Reference `x' on page 1 undefined on input line 5.\n";
const std::string kFontWarn = "LaTeX Font Warning: Font shape `JY1/mc/m/sl' undefined\n";
const std::string kAbortX = "! Undefined control sequence.\nl.3 \\foo\n\n? x\nNo pages of output.\n";
const std::string kAbortBigX = "! Undefined control sequence.\nl.3 \\foo\n\n? X\nNo pages of output.\n";
const std::string kNoBbl = "No file paper.bbl.\n";

struct Case {
  const char* name;
  Files before;
  std::vector<TexRun> runs;
  int bibStatus;
  int idxStatus;
  const char* runsSeen;
  int result;
  bool warningBox;
};

class CompileTable : public ::testing::TestWithParam<Case> {};

std::string CaseName(const ::testing::TestParamInfo<Case>& c) { return c.param.name; }

TEST_P(CompileTable, RunsAndResult) {
  const Case& c = GetParam();
  Harness h;
  h.Before(c.before);
  h.texRuns = c.runs;
  h.bibStatus = c.bibStatus;
  h.idxStatus = c.idxStatus;

  EXPECT_EQ(h.compiler.Compile(), c.result);
  EXPECT_EQ(h.Letters(), c.runsSeen);
  EXPECT_EQ(h.next, c.runs.size()) << "every scripted compiler run takes place";
  EXPECT_EQ(h.Boxes(), c.warningBox ? std::vector<std::string>{kBoxWarning} : std::vector<std::string>{});
  // The action's verdict: a compile that made its DVI succeeded, in the words
  // of the warning box where one was shown, whatever the statuses on the
  // way; one that failed after the compiler ran says why, for the console.
  const ActionVerdict& verdict = h.verdict.Verdict();
  if (c.result == 1) {
    EXPECT_EQ(verdict.kind, ActionVerdict::Kind::Success);
    EXPECT_EQ(verdict.text, c.warningBox ? compile_text::kWarningText : compile_text::CompiledText());
    EXPECT_EQ(verdict.shownInBox, c.warningBox);
  } else {
    EXPECT_EQ(verdict.kind, ActionVerdict::Kind::Failure);
    EXPECT_FALSE(verdict.text.empty());
    EXPECT_FALSE(verdict.shownInBox);
  }
  for (const auto& r : h.platform.runs) {
    EXPECT_EQ(r.cwd, h.platform.Dir()) << r.program;
    if (r.program == "platex" || r.program == "pbibtex") {
      EXPECT_EQ(r.args, std::vector<std::string>{"paper"});
    }
  }
}

const Files kOldToc = {{".toc", "toc A"}, {".aux", "aux"}, {".dvi", "old"}};

// The final decision: .toc before, .toc now, labels, changed.
const Case kFinalBranch[] = {
    {"TocBeforeLabelsTocSameAfterCompareRun", kOldToc,
     {Tex(kLog + kLabels, {{".toc", "toc A"}}), Tex(kLog, {{".toc", "toc A"}})}, 0, 0, "T T", 1, false},
    {"TocBeforeLabelsTocChangesInCompareRun", kOldToc,
     {Tex(kLog + kLabels, {{".toc", "toc A"}}), Tex(kLog, {{".toc", "toc B"}}), Tex(kLog)}, 0, 0, "T T T", 1,
     false},
    {"TocBeforeLabelsTocUnchangedYetCompared", kOldToc,
     {Tex(kLog + kLabels), Tex(kLog)}, 0, 0, "T T", 1, false},
    {"TocBeforeNoLabelsChanged", kOldToc, {Tex(kLog, {{".toc", "toc B"}}), Tex(kLog)}, 0, 0, "T T", 1, false},
    {"TocBeforeNoLabelsTocGone", kOldToc, {Tex(kLog, {{".toc", std::nullopt}}), Tex(kLog)}, 0, 0, "T T", 1, false},
    {"TocBeforeNoLabelsUnchanged", kOldToc, {Tex(kLog, {{".toc", "toc A"}})}, 0, 0, "T", 1, false},
    {"NoTocBeforeTocNowLabels", {},
     {Tex(kLog + kLabels, {{".toc", "toc A"}}), Tex(kLog, {{".toc", "toc A"}})}, 0, 0, "T T", 1, false},
    {"NoTocBeforeTocCreatedOneExtraRun", {}, {Tex(kLog, {{".toc", "toc A"}}), Tex(kLog)}, 0, 0, "T T", 1, false},
    {"NoTocAtAllLabelsOneExtraRunNeverCompare", {}, {Tex(kLog + kLabels), Tex(kLog + kLabels)}, 0, 0, "T T", 1,
     true},
    {"NoTocAtAllNoLabelsDone", {}, {Tex(kLog)}, 0, 0, "T", 1, false},
};
INSTANTIATE_TEST_SUITE_P(FinalBranch, CompileTable, ::testing::ValuesIn(kFinalBranch),
                         CaseName);

const Case kFailures[] = {
    {"NoDviAfterFirstRun", {}, {Tex(kLog, {}, 1, Dvi::None)}, 0, 0, "T", 0, false},
    {"DviSameTimeAsBefore", {{".dvi", "old"}}, {Tex(kLog, {}, 0, Dvi::SameTime)}, 0, 0, "T", 0, false},
    {"DviOneNanosecondNewerPasses", {{".dvi", "old"}}, {Tex(kLog)}, 0, 0, "T", 1, false},
    {"AbortLowerX", {}, {Tex(kAbortX)}, 0, 0, "T", 0, false},
    {"AbortCapitalX", {}, {Tex(kAbortBigX)}, 0, 0, "T", 0, false},
    {"QuestionMarkWithoutLineBreakIsNoAbort", {}, {Tex(kLog + "Is this ok? x\n")}, 0, 0, "T", 1, false},
    {"AbortInBibTeXRerun", {}, {Tex(kNoBbl), Tex(kAbortX)}, 0, 0, "T B T", 0, false},
    {"BibTeXRerunNonZeroSkipsCheckButFinalReadCatches", {}, {Tex(kNoBbl), Tex(kAbortX, {}, 1)}, 0, 0, "T B T",
     0, false},
    {"AbortInIndexRerun", {}, {Tex(kLog, {{".idx", "idx"}}), Tex(kAbortX)}, 0, 0, "T I T", 0, false},
    {"IndexRerunNonZeroCaughtByFinalRead", {}, {Tex(kLog, {{".idx", "idx"}}), Tex(kAbortX, {}, 2)}, 0, 0,
     "T I T", 0, false},
    {"CompareRunExitsNonZero", kOldToc, {Tex(kLog + kLabels), Tex(kWarn, {}, 1)}, 0, 0, "T T", 0, false},
    {"OneMoreRunExitsNonZero", {}, {Tex(kLog, {{".toc", "t"}}), Tex(kWarn, {}, 1)}, 0, 0, "T T", 0, false},
    {"FirstRunNonZeroGoesOn", {}, {Tex(kLog, {}, 1)}, 0, 0, "T", 1, false},
    {"BibTeXRerunNonZeroGoesOn", {}, {Tex(kNoBbl), Tex(kLog, {}, 1)}, 0, 0, "T B T", 1, false},
    {"IndexRerunNonZeroGoesOn", {}, {Tex(kLog, {{".idx", "i"}}), Tex(kLog, {}, 1)}, 0, 0, "T I T", 1, false},
    {"BibTeXFailsNoRerunGoesOnToIndex", {}, {Tex(kNoBbl, {{".idx", "i"}}), Tex(kLog)}, 1, 0, "T B I T", 1,
     false},
    {"IndexFailsNoRerun", {}, {Tex(kLog, {{".idx", "i"}})}, 0, 1, "T I", 1, false},
};
INSTANTIATE_TEST_SUITE_P(Failures, CompileTable, ::testing::ValuesIn(kFailures),
                         CaseName);

const Files kBibDoc = {{".aux", "\\bibdata{paper}\n"}, {".dvi", "old"}, {".bbl", "bbl"}};

const Case kStages[] = {
    {"BblPresentBibdataRunsBibTeX", kBibDoc, {Tex(kLog, {{".aux", "\\bibdata{paper}\n"}}), Tex(kLog)}, 0, 0,
     "T B T", 1, false},
    {"NoFileBblRunsBibTeX", {}, {Tex(kLog + kNoBbl), Tex(kLog)}, 0, 0, "T B T", 1, false},
    {"NoFileBblOfOtherDocumentIgnored", {}, {Tex(kLog + "No file other.bbl.\n")}, 0, 0, "T", 1, false},
    // A Shift-JIS section title 表bibdata read under UTF-8: its bytes hold
    // "\bibdata", but not at the start of a line, where TeX writes its own.
    {"BibdataInsideADocumentLineIsText", {},
     {Tex(kLog, {{".aux", "\\relax\n\\@writefile{toc}{\\contentsline {section}{\x95\\bibdata}{1}}\n"}})}, 0, 0,
     "T", 1, false},
    {"AuxChangedWithoutBibdataReruns", {{".aux", "aux 1"}}, {Tex(kLog, {{".aux", "aux 2"}}), Tex(kLog)}, 0, 0,
     "T T", 1, false},
    {"AuxUnchangedNoRerun", {{".aux", "aux 1"}}, {Tex(kLog, {{".aux", "aux 1"}})}, 0, 0, "T", 1, false},
    {"NoAuxBeforeNoComparisonRerun", {}, {Tex(kLog, {{".aux", "aux 1"}})}, 0, 0, "T", 1, false},
    {"NoFilesDocumentWritesNoAux", {}, {Tex(kLog)}, 0, 0, "T", 1, false},
    {"NewIdxRunsIndex", {}, {Tex(kLog, {{".idx", "i"}}), Tex(kLog)}, 0, 0, "T I T", 1, false},
    {"IdxNotRewrittenNoIndexRun", {{".idx", "i"}}, {Tex(kLog)}, 0, 0, "T", 1, false},
    {"IdxRewrittenRunsIndex", {{".idx", "i"}}, {Tex(kLog, {{".idx", "i"}}), Tex(kLog)}, 0, 0, "T I T", 1,
     false},
    {"TocVanishesInCompareRunWithLabels", kOldToc,
     {Tex(kLog + kLabels), Tex(kLog + kLabels, {{".toc", std::nullopt}}), Tex(kLog)}, 0, 0, "T T T", 1, false},
    {"FiveRunsAtMost", {{".toc", "t"}},
     {Tex(kNoBbl, {{".idx", "i"}}), Tex(kLog), Tex(kLog + kLabels), Tex(kLog, {{".toc", "t2"}}), Tex(kLog)}, 0, 0,
     "T B T I T T T", 1, false},
};
INSTANTIATE_TEST_SUITE_P(Stages, CompileTable, ::testing::ValuesIn(kStages),
                         CaseName);

const Case kWarnings[] = {
    {"WarningInLastLogShowsBox", {}, {Tex(kLog + kWarn)}, 0, 0, "T", 1, true},
    {"FontWarningOnlyNoBox", {}, {Tex(kLog + kFontWarn)}, 0, 0, "T", 1, false},
    {"WarningGoneInExtraRunNoBox", {}, {Tex(kWarn + kLabels), Tex(kLog)}, 0, 0, "T T", 1, false},
    {"WarningAppearsInExtraRunBox", {}, {Tex(kLog, {{".toc", "t"}}), Tex(kWarn)}, 0, 0, "T T", 1, true},
    {"WarningButFailedFinalRunNoBox", {}, {Tex(kLog, {{".toc", "t"}}), Tex(kWarn, {}, 1)}, 0, 0, "T T", 0,
     false},
    {"WarningOnlyInEarlierLogNoBox", {}, {Tex(kNoBbl + kWarn), Tex(kLog)}, 0, 0, "T B T", 1, false},
};
INSTANTIATE_TEST_SUITE_P(Warnings, CompileTable, ::testing::ValuesIn(kWarnings),
                         CaseName);

TEST(Compile, NoDocumentShowsNoticeAndRunsNothing) {
  Harness h;
  h.doc.SetFile("");
  EXPECT_EQ(h.compiler.Compile(), 0);
  EXPECT_EQ(h.prompts.shown, std::vector<std::string>{std::string("notice:") + compile_text::kNoDocumentText});
  EXPECT_TRUE(h.platform.runs.empty());
  EXPECT_TRUE(h.platform.chdirs.empty());
}

TEST(Compile, PlainModeRunsOnceAndReadsNothing) {
  for (const char* tex : {"PLATEX", "tex", "/opt/LaTeX/bin/ptex"}) {
    Harness h;
    h.config.Set(&ToolSettings::m_strTeX, tex);
    h.platform.onRun = [](const ToolCall&) { return 3; };  // writes nothing at all, not even a log
    EXPECT_EQ(h.compiler.Compile(), 1) << tex;
    EXPECT_EQ(h.platform.Programs(), std::vector<std::string>{tex});
    EXPECT_TRUE(h.prompts.shown.empty());
  }
}

TEST(Compile, FullModeWhenLatexAnywhereInTheName) {
  for (const char* tex : {"/usr/local/texlive/latex/bin/ptex", "uplatex", "/usr/bin/platex"}) {
    Harness h;
    h.config.Set(&ToolSettings::m_strTeX, tex);
    h.texRuns = {Tex(kLog + kWarn)};
    h.platform.onRun = [&h](const ToolCall& call) {
      ToolCall c = call;
      c.program = "platex";
      return h.OnRun(c);
    };
    EXPECT_EQ(h.compiler.Compile(), 1) << tex;
    EXPECT_EQ(h.Boxes(), std::vector<std::string>{kBoxWarning}) << tex;
  }
}

TEST(Compile, WarningBoxDetailsAreTheLogsWarnings) {
  Harness h;
  const std::string citation =
      "LaTeX Warning: Citation `knuth84' on page 1 undefined on input line 12.\n";
  // TeX breaks log lines at 79 bytes; the rest belongs to the warning.
  const std::string wrapped =
      "LaTeX Warning: Reference `sec:a-rather-long-label-names' on page 2 undefined on\n"
      " input line 40.\n";
  const std::string font = "LaTeX Font Warning: Font shape `JY1/mc/m/sl' undefined\n(Font)              using `JY1/mc/m/n' instead on input line 7.\n";
  const std::string box =
      "Overfull \\hbox (12.0pt too wide) in paragraph at lines 5--6\n[]\\JY1/mc/m/n/10 long line\n\n";
  h.texRuns = {Tex(kLog + citation + box + wrapped + citation + font)};
  EXPECT_EQ(h.compiler.Compile(), 1);
  ASSERT_EQ(h.prompts.details.size(), 1u);
  // One line each, the wrapped ones joined, the repeat and the box left out.
  EXPECT_EQ(h.prompts.details[0],
            citation +
                "LaTeX Warning: Reference `sec:a-rather-long-label-names' on page 2 undefined on input line 40.\n"
                "LaTeX Font Warning: Font shape `JY1/mc/m/sl' undefined using `JY1/mc/m/n' instead on input line 7.\n");
}

TEST(Compile, SnapshotsTakenBeforeTheFirstRun) {
  // The first run rewrites the .toc and leaves no labels; the comparison must
  // be against the text from before that run.
  Harness h;
  h.Before({{".toc", "before"}});
  h.texRuns = {Tex(kLog, {{".toc", "after"}}), Tex(kLog)};
  EXPECT_EQ(h.compiler.Compile(), 1);
  EXPECT_EQ(h.Letters(), "T T");
}

TEST(Compile, BblPresentRunsBibTeXOnEveryCall) {
  Harness h;
  h.Before(kBibDoc);
  for (int call = 0; call < 3; ++call) {
    h.texRuns.push_back(Tex(kLog, {{".aux", "\\bibdata{paper}\n"}}));
    h.texRuns.push_back(Tex(kLog));
    EXPECT_EQ(h.compiler.Compile(), 1);
  }
  EXPECT_EQ(h.Letters(), "T B T T B T T B T");
}

TEST(Compile, SecondCallWithinTheSameSecondSucceeds) {
  Harness h;
  h.texRuns = {Tex(kLog), Tex(kLog)};
  EXPECT_EQ(h.compiler.Compile(), 1);
  EXPECT_EQ(h.compiler.Compile(), 1);
  EXPECT_EQ(h.Letters(), "T T");
}

TEST(Compile, CompilerFoundByProbeIsUsedForLaterRuns) {
  Harness h;
  const std::string probe = h.platform.Values().probeFolders.at(1) + "platex";
  h.texRuns = {Tex(kLog, {{".toc", "t"}}), Tex(kLog)};
  h.platform.onRun = [&h, probe](const ToolCall& call) {
    if (call.program != probe) return -1;
    ToolCall c = call;
    c.program = "platex";
    return h.OnRun(c);
  };
  EXPECT_EQ(h.compiler.Compile(), 1);
  const std::string first = h.platform.Values().probeFolders.at(0) + "platex";
  EXPECT_EQ(h.platform.Programs(), (std::vector<std::string>{"platex", first, probe, probe}));
  EXPECT_EQ(h.config.Get().m_strTeX, probe);
}

TEST(Compile, CompilerNotFoundAnywhereFails) {
  Harness h;
  h.platform.onRun = [](const ToolCall&) { return -1; };
  EXPECT_EQ(h.compiler.Compile(), 0);
  ASSERT_FALSE(h.platform.runs.empty());
  EXPECT_EQ(h.platform.runs.front().program, "platex");
  EXPECT_TRUE(h.Boxes().empty());
}

TEST(Compile, Cp932LabelsMarkerBehindLeadByteIsNoMarker) {
  mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  Harness h;
  // 0x83 is a lead byte: the 'L' after it is the second half of one character.
  h.texRuns = {Tex(kLog + "\x83Label(s) \x83LaTeX Warning\n")};
  const int result = h.compiler.Compile();
  mbcs::SetSystemCodePage(mbcs::CodePage::Utf8);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(h.Letters(), "T");
  EXPECT_TRUE(h.Boxes().empty());
}

TEST(Compile, MissingLogEndsTheActionWithTheBareName) {
  Harness h;
  h.texRuns = {Tex("", {{".toc", "t"}})};
  h.texRuns[0].log.reset();
  try {
    h.compiler.Compile();
    ADD_FAILURE() << "the compile went on without its log";
  } catch (const FileError& e) {
    EXPECT_EQ(e.Path(), "paper.log");
  }
  EXPECT_EQ(h.Letters(), "T");
  EXPECT_TRUE(h.prompts.shown.empty());
}

TEST(Compile, LeavesTheWorkingDirectoryAtTheDocument) {
  Harness h;
  h.texRuns = {Tex(kLog)};
  EXPECT_EQ(h.compiler.Compile(), 1);
  EXPECT_EQ(h.platform.chdirs, std::vector<std::string>{h.platform.Dir()});
}

}  // namespace
