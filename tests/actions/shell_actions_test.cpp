#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actions/texts.h"
#include "actions/tool_rig.h"

namespace {

std::string Notice(const char* text) { return std::string("notice:") + text; }

void ForgetDocument(ToolRig& rig) {
  rig.doc.SetFile("");
}

TEST(EditSource, OpensTheEditorAndReportsOnlyRealTrouble) {
  struct Case {
    const char* title;
    bool posix;
    bool document;
    bool opens;
    std::string open;
    std::vector<std::string> shown;
  };
  const std::vector<Case> cases = {
      {"document", false, true, true, "editor|ed.exe|C:\\work\\paper.tex|C:\\work\\", {}},
      {"document, editor fails", false, true, false, "editor|ed.exe|C:\\work\\paper.tex|C:\\work\\",
       {Notice(msg::kEditorFailure)}},
      {"no document: hint, then the editor anyway", false, false, true, "editor|ed.exe||",
       {Notice(msg::kEditorHint)}},
      {"no document, editor fails", false, false, false, "editor|ed.exe||",
       {Notice(msg::kEditorHint), Notice(msg::kEditorFailure)}},
      {"POSIX path with blanks and Japanese is one parameter", true, true, true,
       "editor|ed.exe|/home/u/論文 2/my paper.tex|/home/u/論文 2/", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ToolRig rig(c.posix);
    if (!c.document) ForgetDocument(rig);
    rig.config.Set(&ToolSettings::m_strEditor, "ed.exe");
    rig.platform.openResult = c.opens;
    rig.shell.EditSource();
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{c.open});
    EXPECT_EQ(rig.prompts.shown, c.shown);  // no wait cursor for the editor
    EXPECT_TRUE(rig.platform.runs.empty());
  }
}

TEST(ViewDvi, AnExistingDviOpensAsItIsUnderTheWaitCursor) {
  for (bool opens : {true, false}) {
    ToolRig rig(false);
    rig.platform.files["C:\\work\\paper.dvi"] = 1;  // however old
    rig.platform.files["C:\\work\\paper.tex"] = 99;
    rig.platform.openResult = opens;
    rig.shell.ViewDvi();
    EXPECT_TRUE(rig.platform.runs.empty());
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{"doc|C:\\work\\paper.dvi|C:\\work\\"});
    const std::vector<std::string> shown =
        opens ? std::vector<std::string>{"wait+", "wait-"}
              : std::vector<std::string>{"wait+", Notice(msg::kDviOpenFailure), "wait-"};
    EXPECT_EQ(rig.prompts.shown, shown);
  }
}

TEST(ViewDvi, NoDviAndNoCompilerOpensNothing) {
  ToolRig rig(false);  // nothing can be started; every question is declined
  rig.shell.ViewDvi();
  EXPECT_TRUE(rig.platform.opens.empty());
  EXPECT_EQ(std::count(rig.prompts.shown.begin(), rig.prompts.shown.end(), "wait+"), 0);
  EXPECT_EQ(std::count(rig.prompts.shown.begin(), rig.prompts.shown.end(), Notice(msg::kDviOpenFailure)), 0);
}

TEST(ViewPdf, AnExistingPdfOpensByItsBareNameInTheDocumentFolder) {
  struct Case {
    bool posix;
    bool opens;
    std::string pdf;
    std::string open;
  };
  const std::vector<Case> cases = {
      {false, true, "C:\\work\\paper.pdf", "doc|paper.pdf|C:\\work\\"},
      {false, false, "C:\\work\\paper.pdf", "doc|paper.pdf|C:\\work\\"},
      {true, true, "/home/u/論文 2/my paper.pdf", "doc|my paper.pdf|/home/u/論文 2/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.open);
    ToolRig rig(c.posix);
    rig.platform.files[c.pdf] = 1;
    rig.platform.files[rig.doc.Dir() + rig.doc.Name() + ".dvi"] = 50;  // newer DVI: still no conversion
    rig.platform.openResult = c.opens;
    rig.shell.ViewPdf();
    EXPECT_TRUE(rig.platform.runs.empty());
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{c.open});
    const std::vector<std::string> shown =
        c.opens ? std::vector<std::string>{"wait+", "wait-"}
                : std::vector<std::string>{"wait+", Notice(msg::kPdfOpenFailure), "wait-"};
    EXPECT_EQ(rig.prompts.shown, shown);
  }
}

TEST(ViewPdf, NoPdfAndNoConversionEndsQuietly) {
  ToolRig rig(false);  // no converter can be started, every question declined
  rig.shell.ViewPdf();
  EXPECT_TRUE(rig.platform.opens.empty());
  EXPECT_EQ(std::count(rig.prompts.shown.begin(), rig.prompts.shown.end(), Notice(msg::kPdfOpenFailure)), 0);
}

TEST(OpenCommandPrompt, StartsInTheDocumentFolderOrWhereWeAre) {
  {
    ToolRig rig(true);
    rig.shell.OpenCommandPrompt();
    EXPECT_EQ(rig.platform.chdirs, std::vector<std::string>{"/home/u/論文 2/"});
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{"prompt|/home/u/論文 2/"});
  }
  {
    ToolRig rig(false);
    ForgetDocument(rig);
    rig.shell.OpenCommandPrompt();
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{"prompt|C:\\start\\"});
    EXPECT_TRUE(rig.prompts.shown.empty());
  }
  {
    // A folder that cannot be entered: the prompt opens where we are, and
    // without a word.
    ToolRig rig(true);
    rig.platform.chdirFails = true;
    rig.shell.OpenCommandPrompt();
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{"prompt|C:\\start\\"});
    EXPECT_TRUE(rig.prompts.shown.empty());
  }
}

TEST(CompileAndMakePdf, AFailedCompileConvertsNothing) {
  ToolRig rig(false);  // the compiler cannot be found and the user declines
  rig.shell.CompileAndMakePdf();
  for (const std::string& program : rig.platform.Programs())
    EXPECT_EQ(program.find("dvipdfmx"), std::string::npos) << program;
  EXPECT_EQ(std::count(rig.prompts.shown.begin(), rig.prompts.shown.end(), "pdfsize"), 0);
  EXPECT_TRUE(rig.platform.opens.empty());
}

// The compile or conversion reports success but leaves no file: the open is
// still tried, and its failure is what the user hears about.
TEST(ShellActions, SuccessWithoutTheFileStillTriesTheOpen) {
  {
    ToolRig rig(false);
    rig.config.Set(&ToolSettings::m_strTeX, "ptex");  // plain mode: success as soon as it starts
    rig.starts["ptex"] = 0;
    rig.platform.openResult = false;
    rig.shell.ViewDvi();
    EXPECT_EQ(rig.platform.Programs(), std::vector<std::string>{"ptex"});
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{"doc|C:\\work\\paper.dvi|C:\\work\\"});
    EXPECT_EQ(rig.prompts.shown, (std::vector<std::string>{"wait+", Notice(msg::kDviOpenFailure), "wait-"}));
  }
  {
    ToolRig rig(false);
    rig.platform.files["C:\\work\\paper.dvi"] = 5;
    rig.config.Set(&ToolSettings::m_nPdfNShow, 1);
    rig.starts["dvipdfmx"] = 0;  // says it converted, writes nothing
    rig.platform.openResult = false;
    rig.shell.ViewPdf();
    EXPECT_EQ(rig.platform.Programs(), std::vector<std::string>{"dvipdfmx"});
    EXPECT_EQ(rig.platform.opens, std::vector<std::string>{"doc|paper.pdf|C:\\work\\"});
    EXPECT_EQ(rig.prompts.shown, (std::vector<std::string>{"wait+", Notice(msg::kPdfOpenFailure), "wait-"}));
  }
}

TEST(CompileAndMakePdf, ASuccessfulCompileConvertsWithoutOpening) {
  ToolRig rig(false);
  rig.config.Set(&ToolSettings::m_strTeX, "ptex");
  rig.config.Set(&ToolSettings::m_nPdfNShow, 1);
  rig.config.Set(&ToolSettings::m_nPdfSizeNo, 0);
  rig.starts["ptex"] = 0;
  rig.starts["dvipdfmx"] = 0;
  rig.platform.files["C:\\work\\paper.dvi"] = 5;  // so the conversion does not compile again
  rig.shell.CompileAndMakePdf();
  ASSERT_EQ(rig.platform.runs.size(), 2u);
  EXPECT_EQ(rig.platform.runs[1].program, "dvipdfmx");
  EXPECT_EQ(rig.platform.runs[1].args, (std::vector<std::string>{"-p", "a3", "paper"}));
  EXPECT_TRUE(rig.platform.opens.empty());
}

}  // namespace
