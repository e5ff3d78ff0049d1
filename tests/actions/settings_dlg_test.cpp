// The Settings dialog's model: its buttons act on a working copy of the
// configuration, and what they decide is written to the settings file,
// where the bar reads it when the dialog closes.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "actions/settings_dlg.h"
#include "config/option_dialogs.h"
#include "support/actions_rig.h"

namespace {

using Log = std::vector<std::string>;

class SettingsDialogTest : public ::testing::Test, public WorldOn<> {
 protected:
  explicit SettingsDialogTest(PlatformValues values = WindowsPlatformValues()) : WorldOn(std::move(values)) {}

  // One opening of the dialog: a fresh working copy, these buttons pressed.
  const ToolConfig& Open(const std::vector<int>& buttons) {
    opening = std::make_unique<CSettingsDlg>(env);
    for (int id : buttons) opening->OnButton(id);
    return opening->Work();
  }
  // The next paper size dialog: OK with the given clicks, or Cancel.
  void PaperAnswer(bool ok, int sizeNo, bool tick1012, bool tick1013) {
    prompts.pdfSize.push_back([=](CPdfSizeDlg& d) {
      d.OnInitDialog();
      if (tick1012) {
        d.OnCheckNShow(!d.NShowBox());
      }
      if (tick1013) {
        d.OnCheckNeShow(!d.NeShowBox());
      }
      d.SelectRadio(sizeNo);
      if (ok) d.SaveExchange();
      return ok;
    });
  }

  std::unique_ptr<CSettingsDlg> opening;
};

TEST_F(SettingsDialogTest, WorkingInstanceStartsEmpty) {
  profile.Set("Settings", "TeX", "uplatex");
  profile.Set("Settings", "DviPdf", "D:\\x\\dvipdfmx.exe");
  const ToolConfig& work = Open({});
  const ToolSettings& w = work.Get();
  EXPECT_EQ(w.m_strEditor, "");
  EXPECT_EQ(w.m_strTeX, "");
  EXPECT_EQ(w.m_strDviPdf, "");
  EXPECT_EQ(w.m_strMkIdxOpt, "");
  EXPECT_FALSE(work.PdfSizeOkShow().has_value());
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(profile.log.empty());
}

TEST_F(SettingsDialogTest, ChangeTeXAnsweredCancelGoesBackToPlatex) {
  profile.Set("Settings", "TeX", "C:\\tex\\bin\\platex.exe");
  prompts.askAnswers = {false};
  EXPECT_EQ(Open({32772}).Get().m_strTeX, "platex");
  EXPECT_FALSE(profile.Has("Settings", "TeX"));
  EXPECT_TRUE(prompts.pickRequests.empty());
}

TEST_F(SettingsDialogTest, ChangeTeXWithTheFileDialogCancelledChangesNothing) {
  profile.Set("Settings", "TeX", "C:\\tex\\bin\\platex.exe");
  prompts.askAnswers = {true};
  Open({32772});
  ASSERT_EQ(prompts.pickRequests.size(), 1u);
  EXPECT_TRUE(profile.log.empty());
  EXPECT_EQ(profile.Get("Settings", "TeX"), "C:\\tex\\bin\\platex.exe");
}

TEST_F(SettingsDialogTest, NewCompilerReplacesTheWindowsConverter) {
  // The working instance has no converter, so it derives one from the
  // compiler's folder even though the file names a full path.
  profile.Set("Settings", "DviPdf", "D:\\x\\dvipdfmx.exe");
  prompts.askAnswers = {true};
  prompts.picks = {std::string("C:\\w32tex\\bin\\platex.exe")};
  Open({32772});
  EXPECT_EQ(profile.Get("Settings", "TeX"), "C:\\w32tex\\bin\\platex.exe");
  EXPECT_EQ(profile.Get("Settings", "DviPdf"), "C:\\w32tex\\bin\\dvipdfmx");
  EXPECT_EQ(profile.Get("Settings", "Bib"), "C:\\w32tex\\bin\\jbibtex");
  EXPECT_EQ(profile.Get("Settings", "MkIdx"), "C:\\w32tex\\bin\\mendex");
}

TEST_F(SettingsDialogTest, ConverterChosenEarlierInTheSameOpeningStays) {
  prompts.askAnswers = {true, true};
  prompts.picks = {std::string("D:\\x\\dvipdfmx.exe"), std::string("C:\\w32tex\\bin\\platex.exe")};
  Open({32775, 32772});
  EXPECT_EQ(profile.Get("Settings", "DviPdf"), "D:\\x\\dvipdfmx.exe");
  EXPECT_EQ(profile.Get("Settings", "TeX"), "C:\\w32tex\\bin\\platex.exe");
}

TEST_F(SettingsDialogTest, ConverterChosenInAnEarlierOpeningIsForgotten) {
  prompts.askAnswers = {true, true};
  prompts.picks = {std::string("D:\\x\\dvipdfmx.exe"), std::string("C:\\w32tex\\bin\\platex.exe")};
  Open({32775});
  EXPECT_EQ(profile.Get("Settings", "DviPdf"), "D:\\x\\dvipdfmx.exe");
  Open({32772});
  EXPECT_EQ(profile.Get("Settings", "DviPdf"), "C:\\w32tex\\bin\\dvipdfmx");
}

TEST_F(SettingsDialogTest, PaperSizeWithTheOneRunBoxStopsTheQuestion) {
  PaperAnswer(true, 7, true, false);
  EXPECT_EQ(Open({32776}).PdfSizeOkShow(), std::optional<int>(1));
  EXPECT_EQ(profile.Get("Settings", "PdfNShow"), "1");
  EXPECT_EQ(profile.Get("Settings", "PdfNeShow"), "0");
  EXPECT_EQ(profile.Get("Settings", "PdfSizeNo"), "7");
}

TEST_F(SettingsDialogTest, PaperSizeWithBothBoxesClearAsksAgain) {
  PaperAnswer(true, 1, false, false);
  EXPECT_EQ(Open({32776}).PdfSizeOkShow(), std::optional<int>(0));
}

TEST_F(SettingsDialogTest, PaperSizeCancelledKeepsTheSwitch) {
  profile.Set("Settings", "PdfSizeNo", "4");
  PaperAnswer(false, 0, true, false);
  EXPECT_FALSE(Open({32776}).PdfSizeOkShow().has_value());
  EXPECT_TRUE(profile.log.empty());
}

TEST_F(SettingsDialogTest, LastPaperSizeOkOfTheOpeningCounts) {
  PaperAnswer(true, 0, true, false);
  // The second showing opens with 1012 ticked from the first OK; a click clears it.
  PaperAnswer(true, 1, true, false);
  PaperAnswer(false, 5, true, false);
  EXPECT_EQ(Open({32776, 32776, 32776}).PdfSizeOkShow(), std::optional<int>(0));
  EXPECT_EQ(profile.Get("Settings", "PdfSizeNo"), "1");
}

TEST_F(SettingsDialogTest, MkIdxOptionsAreStored) {
  prompts.mkIdx.push_back([](CMkIdxOptDlg& d) {
    d.SaveExchange("-s jis", 1 != 0);
    return true;
  });
  Open({32777});
  EXPECT_EQ(profile.log, (Log{"W Settings/MkIdxOpt=-s jis", "W Settings/MkIdxNvr=1"}));
}

TEST_F(SettingsDialogTest, BibTeXChosenIsStored) {
  prompts.askAnswers = {true};
  prompts.picks = {std::string("C:\\tex\\bin\\pbibtex.exe")};
  Open({32774});
  EXPECT_EQ(profile.log, Log{"W Settings/Bib=C:\\tex\\bin\\pbibtex.exe"});
}

TEST_F(SettingsDialogTest, EditorChosenIsStored) {
  prompts.picks = {std::string("C:\\bin\\hidemaru.exe")};
  Open({1004});
  EXPECT_EQ(profile.log, Log{"W Editor/EDIT=C:\\bin\\hidemaru.exe"});
}

TEST_F(SettingsDialogTest, EditorDialogCancelledKeepsTheStoredEditor) {
  profile.Set("Editor", "EDIT", "C:\\bin\\emacs.exe");
  Open({1004});
  EXPECT_TRUE(profile.log.empty());
  EXPECT_EQ(profile.Get("Editor", "EDIT"), "C:\\bin\\emacs.exe");
}

// Each button runs exactly its own operation, seen by what it shows first
// and by the key that a Cancel (the scripted default) resets.
struct ButtonCase {
  int id;
  const char* firstShown;  // prefix of the first prompt
  const char* write;       // the only write, or "" for none
};

void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.id; }

class SettingsButtonTest : public SettingsDialogTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(SettingsButtonTest, RunsItsOperation) {
  const ButtonCase& c = GetParam();
  Open({c.id});
  ASSERT_FALSE(prompts.shown.empty());
  EXPECT_EQ(prompts.shown[0].rfind(c.firstShown, 0), 0u) << prompts.shown[0];
  EXPECT_EQ(profile.log, *c.write ? Log{c.write} : Log{});
}

INSTANTIATE_TEST_SUITE_P(Buttons, SettingsButtonTest,
                         ::testing::Values(ButtonCase{1004, "pick:", ""},
                                           ButtonCase{32772, "ask:", "D Settings/TeX"},
                                           ButtonCase{32774, "ask:", "D Settings/Bib"},
                                           ButtonCase{32775, "ask:", "D Settings/DviPdf"},
                                           ButtonCase{32778, "ask:", "D Settings/MkIdx"},
                                           ButtonCase{32777, "mkidx", ""},
                                           ButtonCase{32776, "pdfsize", ""}),
                         [](const ::testing::TestParamInfo<ButtonCase>& i) {
                           return "Button" + std::to_string(i.param.id);
                         });

TEST_F(SettingsDialogTest, CloseButtonAndUnknownIdsRunNothing) {
  Open({1, 2, 1010});
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(profile.log.empty());
}

TEST(EditorChooser, WindowsAsksForAProgramFile) {
  ActionsOn<> e(WindowsPlatformValues());
  e.tools.ChooseEditor();
  ASSERT_EQ(e.prompts.pickRequests.size(), 1u);
  const FileRequest& request = e.prompts.pickRequests[0];
  EXPECT_EQ(request.types, (std::vector<FileType>{{"実行ファイル(*.exe)", "*.exe"}}));
  EXPECT_EQ(request.defExt, "exe");
  EXPECT_EQ(request.initialName, "*.exe");
  EXPECT_TRUE(request.fileMustExist);
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_FALSE(request.ownedByMainWindow);
}

TEST(EditorChooser, PosixShowsAllFiles) {
  ActionsOn<> e(PosixPlatformValues());
  e.config.Set(&ToolSettings::m_strEditor, "xdg-open");
  e.prompts.picks = {std::string("/usr/bin/gedit")};
  e.tools.ChooseEditor();
  ASSERT_EQ(e.prompts.pickRequests.size(), 1u);
  EXPECT_TRUE(e.prompts.pickRequests[0].types.empty());
  EXPECT_EQ(e.prompts.pickRequests[0].defExt, "");
  EXPECT_EQ(e.prompts.pickRequests[0].initialName, "");
  EXPECT_EQ(e.config.Get().m_strEditor, "/usr/bin/gedit");
  EXPECT_EQ(e.profile.Get("Editor", "EDIT"), "/usr/bin/gedit");
}

}  // namespace
