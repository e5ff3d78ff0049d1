// The user stops one of an action's tools (Stop, Ctrl+C, closing the
// console): the action ends there. No later tool starts, nothing is shown or
// asked about runs that did not happen, Mirvan.ini keeps what it held, and
// the action's verdict says it was stopped.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "config/resource_ids.h"
#include "support/bar.h"
#include "support/doc_platform.h"

namespace {

using Words = std::vector<std::string>;

const std::string kLog = "This is e-pTeX\nOutput written on paper.dvi (1 page).\n";
// What makes a compile go on to BibTeX.
const std::string kNoBbl = "No file paper.bbl.\n";

struct StopCase {
  const char* name;
  int button;
  std::string log;      // what every TeX run writes, with a new .dvi
  bool idx;             // the TeX run also writes an index file
  bool dviBefore;       // the document has a .dvi already
  std::string stopAt;   // the program whose run the user stops ("#0": the first probe folder's converter)
  Words runs;           // every run, in order
};

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class StopTable : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopTable, NothingFollowsTheStoppedRun) {
  const StopCase& c = GetParam();
  BarOn<DocPlatform> e;
  // With Acr=0 a failed conversion would ask for another converter, and
  // cancelling that question would delete DviPdf.
  e.profile.Set("Settings", "Acr", "0");
  e.profile.Set("Settings", "PdfNeShow", "1");
  e.profile.Set("Settings", "MkIdxNvr", "0");
  e.Open(e.platform.Dir() + "paper.tex");
  if (c.dviBefore) e.platform.Put("paper.dvi", "old");
  const std::string probe = e.platform.Values().probeFolders.at(0) + "dvipdfmx";
  const std::string stopAt = c.stopAt == "#0" ? probe : c.stopAt;
  const MemoryProfile before = e.profile;

  std::vector<std::string> shownAtStop;
  e.platform.onRun = [&](const ToolCall& call) {
    if (call.program == "platex") {
      // A stopped TeX run may have written a newer .dvi already.
      e.platform.Put("paper.dvi", "dvi");
      e.platform.Put("paper.log", c.log);
      if (c.idx) e.platform.Put("paper.idx", "idx");
    }
    if (call.program == stopAt) {
      e.platform.stopped = true;
      shownAtStop = e.prompts.shown;
      return 143;
    }
    return call.program == "platex" ? 0 : -1;
  };

  const ActionVerdict verdict = e.dlg.RunAction(e.dlg.ActionFor(c.button));

  Words runs = c.runs;
  for (std::string& r : runs)
    if (r == "#0") r = probe;
  EXPECT_EQ(e.platform.Programs(), runs);
  EXPECT_EQ(e.prompts.shown, shownAtStop) << "shown after the stop";
  EXPECT_TRUE(e.profile.log.empty());
  EXPECT_EQ(e.profile.values, before.values);
  EXPECT_TRUE(e.platform.opens.empty());
  EXPECT_EQ(verdict.kind, ActionVerdict::Kind::Stopped);
  ASSERT_EQ(e.platform.verdicts.size(), 1u);
  EXPECT_EQ(e.platform.verdicts[0].kind, ActionVerdict::Kind::Stopped);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, StopTable,
    ::testing::Values(
        StopCase{"CompileAtTheFirstTeXRun", control::kCompile, kLog + kNoBbl, false, false, "platex", {"platex"}},
        StopCase{"CompileAtBibTeX", control::kCompile, kLog + kNoBbl, false, false, "jbibtex",
                 {"platex", "jbibtex"}},
        StopCase{"CompileAtTheIndexProgram", control::kCompile, kLog, true, false, "mendex", {"platex", "mendex"}},
        StopCase{"PdfAtTheConverter", control::kMakePdf, kLog, false, true, "dvipdfmx", {"dvipdfmx"}},
        StopCase{"PdfAtAProbedConverter", control::kMakePdf, kLog, false, true, "#0", {"dvipdfmx", "#0"}},
        StopCase{"CompileAndPdfDuringTheCompile", control::kCompileAndMakePdf, kLog, false, false, "platex",
                 {"platex"}}),
    [](const ::testing::TestParamInfo<StopCase>& i) { return std::string(i.param.name); });

}  // namespace
