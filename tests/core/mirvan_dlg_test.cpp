// The bar's document operations across its parts: the start, which loads
// the settings and the history around the command line's document, and the
// Settings dialog, whose working copy reaches the bar only through the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/settings_dlg.h"
#include "config/option_dialogs.h"
#include "config/resource_ids.h"
#include "support/bar.h"

namespace {

using Items = std::vector<std::string>;

TEST(InitDialogCore, TheCommandLineDocumentGoesOnTopAndTheFilesToolsRunOnIt) {
  BarOn<> e;
  e.profile.Set("RFL", "File0", "/w/a.tex");
  e.profile.Set("Settings", "TeX", "ptex");
  e.dlg.SetDocument("/w/b.tex");
  e.dlg.InitDialogCore();
  EXPECT_EQ(e.dlg.History().Items(), (Items{"/w/b.tex", "/w/a.tex"}));
  EXPECT_EQ(e.dlg.History().GetCurSel(), 0);
  EXPECT_EQ(e.dlg.DocumentFile(), "/w/b.tex");
  e.platform.onRun = [](const ToolCall&) { return 0; };
  e.dlg.Compile();
  ASSERT_EQ(e.platform.runs.size(), 1u);
  EXPECT_EQ(e.platform.runs[0].program, "ptex");
  EXPECT_EQ(e.platform.runs[0].cwd, "/w/");
}

TEST(OpenSettings, ClosingAtOnceWritesNothingAndKeepsTheDocument) {
  BarOn<> e;
  e.Open("C:\\work\\paper.tex");
  e.dlg.OpenSettings();
  EXPECT_EQ(e.prompts.shown, std::vector<std::string>{"settings"});
  EXPECT_TRUE(e.profile.log.empty());
  EXPECT_EQ(e.dlg.DocumentFile(), "C:\\work\\paper.tex");
  EXPECT_EQ(e.dlg.History().Items(), Items{"C:\\work\\paper.tex"});
}

TEST(OpenSettings, WhatItsButtonsStoredIsWhatTheBarRunsNext) {
  BarOn<> e;
  e.Open("C:\\work\\paper.tex");
  e.prompts.askAnswers = {true};
  e.prompts.picks = {std::string("C:\\tools\\ptex.exe")};
  e.prompts.settings.push_back([](CSettingsDlg& s) { s.OnButton(control::kChangeTeX); });
  e.dlg.OpenSettings();
  e.platform.onRun = [](const ToolCall&) { return 0; };
  e.dlg.Compile();
  EXPECT_EQ(e.platform.Programs(), std::vector<std::string>{"C:\\tools\\ptex.exe"});
}

// The paper size question's switch is no key the bar reads back: it comes
// from the last OK of the paper size dialog within the Settings dialog, and
// decides whether the next PDF asks for the size.
TEST(OpenSettings, TheLastPaperSizeOkDecidesWhetherTheNextPdfAsks) {
  struct Answer {
    bool ok;
    int sizeNo;
    bool click1012, click1013;
  };
  struct Case {
    const char* title;
    const char* lasting;  // PdfNeShow at the start: "1" stops the question from the start
    const char* sizeNo;   // PdfSizeNo at the start
    std::vector<Answer> answers;
    bool asks;                       // the next PDF asks for the size
    std::vector<std::string> words;  // else the converter's words
  };
  const Case cases[] = {
      {"the one-run box ticked", "0", "1", {{true, 7, true, false}}, false, {"-p", "b5", "paper"}},
      {"both boxes cleared", "1", "1", {{true, 1, false, true}}, true, {}},
      {"cancelled", "1", "4", {{false, 0, true, false}}, false, {"-l", "paper"}},
      {"the last of three", "0", "1", {{true, 0, true, false}, {true, 1, true, false}, {false, 5, true, false}},
       true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    BarOn<> e;
    e.profile.Set("Settings", "PdfNeShow", c.lasting);
    e.profile.Set("Settings", "PdfSizeNo", c.sizeNo);
    e.profile.Set("Settings", "Acr", "1");
    e.Open("C:\\work\\paper.tex");
    for (const Answer& a : c.answers) {
      e.prompts.pdfSize.push_back([a](CPdfSizeDlg& d) {
        d.OnInitDialog();
        if (a.click1012) d.OnCheckNShow(!d.NShowBox());
        if (a.click1013) d.OnCheckNeShow(!d.NeShowBox());
        d.SelectRadio(a.sizeNo);
        if (a.ok) d.SaveExchange();
        return a.ok;
      });
    }
    const size_t presses = c.answers.size();
    e.prompts.settings.push_back([presses](CSettingsDlg& s) {
      for (size_t i = 0; i < presses; ++i) s.OnButton(control::kPdfSize);
    });
    e.dlg.OpenSettings();

    e.prompts.shown.clear();
    e.platform.files["C:\\work\\paper.dvi"] = 1;
    e.platform.onRun = [](const ToolCall&) { return 0; };
    e.dlg.MakePdf();  // a question now is cancelled
    EXPECT_EQ(e.prompts.shown, c.asks ? std::vector<std::string>{"pdfsize"} : std::vector<std::string>{});
    if (!c.asks) {
      ASSERT_EQ(e.platform.runs.size(), 1u);
      EXPECT_EQ(e.platform.runs[0].args, c.words);
    }
  }
}

}  // namespace
