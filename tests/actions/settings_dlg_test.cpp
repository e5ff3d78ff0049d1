// The Settings dialog: its buttons act on a working instance, and what they
// write reaches the main window when the dialog closes.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "actions/settings_dlg.h"
#include "config/option_dialogs.h"
#include "core/mirvan_dlg.h"
#include "support/fakes.h"

namespace {

using Log = std::vector<std::string>;

class SettingsDialogTest : public ::testing::Test {
 protected:
  explicit SettingsDialogTest(PlatformValues values = WindowsPlatformValues()) : platform(std::move(values)) {
    // The main window as it is after a start with no settings file.
    dlg.m_strEditor = "c:\\WINDOWS\\NOTEPAD.exe";
    dlg.m_strTeX = "platex";
    dlg.m_strBib = "jbibtex";
    dlg.m_strDviPdf = "dvipdfmx";
    dlg.m_strMkIdx = "mendex";
    dlg.m_strMkIdxOpt = "-s myindex";
    dlg.m_nPdfSizeNo = 1;
    dlg.m_strFile = "C:\\work\\paper.tex";
    dlg.m_strDir = "C:\\work\\";
    dlg.m_strName = "paper";
  }

  // Opens the dialog, presses the buttons, closes it.
  void Open(std::vector<int> buttons) {
    prompts.settings.push_back([buttons](CSettingsDlg& s) {
      for (int id : buttons) s.OnButton(id);
    });
    dlg.OpenSettings();
  }
  // The next paper size dialog: OK with the given clicks, or Cancel.
  void PaperAnswer(bool ok, int sizeNo, bool tick1012, bool tick1013) {
    prompts.pdfSize.push_back([=](CPdfSizeDlg& d) {
      d.OnInitDialog();
      if (tick1012) {
        d.m_bBox1012 = !d.m_bBox1012;
        d.OnCheckNShow();
      }
      if (tick1013) {
        d.m_bBox1013 = !d.m_bBox1013;
        d.OnCheckNeShow();
      }
      d.m_nRadio = sizeNo;
      if (ok) d.SaveExchange();
      return ok;
    });
  }

  MemoryProfile profile;
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
};

TEST_F(SettingsDialogTest, WorkingInstanceStartsEmpty) {
  bool checked = false;
  prompts.settings.push_back([&](CSettingsDlg& s) {
    const CMirvanDlg& w = s.m_dlgWork;
    EXPECT_EQ(w.m_strEditor, "");
    EXPECT_EQ(w.m_strTeX, "");
    EXPECT_EQ(w.m_strDviPdf, "");
    EXPECT_EQ(w.m_strMkIdxOpt, "");
    EXPECT_EQ(w.m_strFile, "");
    EXPECT_EQ(w.m_history.GetCount(), 0);
    EXPECT_FALSE(w.m_bPdfSizeOk);
    checked = true;
  });
  dlg.OpenSettings();
  EXPECT_TRUE(checked);
  EXPECT_EQ(prompts.shown, Log{"settings"});
}

TEST_F(SettingsDialogTest, ClosingAtOnceReloadsFromTheFile) {
  dlg.m_nAcr = 1;
  dlg.m_nPdfNShow = 1;
  dlg.m_history.InsertString(0, "C:\\work\\paper.tex");
  Open({});
  // No "MkIdxOpt" in the file: the reload default is the empty text.
  EXPECT_EQ(dlg.m_strMkIdxOpt, "");
  EXPECT_TRUE(profile.log.empty());
  // Neither the document, the history nor the two run flags are reloaded.
  EXPECT_EQ(dlg.m_nAcr, 1);
  EXPECT_EQ(dlg.m_nPdfNShow, 1);
  EXPECT_EQ(dlg.m_strFile, "C:\\work\\paper.tex");
  EXPECT_EQ(dlg.m_strName, "paper");
  EXPECT_EQ(dlg.m_history.GetCount(), 1);
}

TEST_F(SettingsDialogTest, ChangeTeXAnsweredCancelGoesBackToPlatex) {
  profile.Set("Settings", "TeX", "C:\\tex\\bin\\platex.exe");
  dlg.m_strTeX = "C:\\tex\\bin\\platex.exe";
  prompts.askAnswers = {false};
  Open({32772});
  EXPECT_FALSE(profile.Has("Settings", "TeX"));
  EXPECT_EQ(dlg.m_strTeX, "platex");
  EXPECT_TRUE(prompts.pickSpecs.empty());
}

TEST_F(SettingsDialogTest, ChangeTeXWithTheFileDialogCancelledChangesNothing) {
  profile.Set("Settings", "TeX", "C:\\tex\\bin\\platex.exe");
  dlg.m_strTeX = "C:\\tex\\bin\\platex.exe";
  prompts.askAnswers = {true};
  Open({32772});
  ASSERT_EQ(prompts.pickSpecs.size(), 1u);
  EXPECT_TRUE(profile.log.empty());
  EXPECT_EQ(dlg.m_strTeX, "C:\\tex\\bin\\platex.exe");
  EXPECT_EQ(dlg.m_strDviPdf, "dvipdfmx");
}

TEST_F(SettingsDialogTest, NewCompilerReplacesTheWindowsConverter) {
  // The working instance has no converter, so it derives one from the
  // compiler's folder even though the main window had a full path.
  profile.Set("Settings", "DviPdf", "D:\\x\\dvipdfmx.exe");
  dlg.m_strDviPdf = "D:\\x\\dvipdfmx.exe";
  prompts.askAnswers = {true};
  prompts.picks = {std::string("C:\\w32tex\\bin\\platex.exe")};
  Open({32772});
  EXPECT_EQ(dlg.m_strTeX, "C:\\w32tex\\bin\\platex.exe");
  EXPECT_EQ(dlg.m_strDviPdf, "C:\\w32tex\\bin\\dvipdfmx");
  EXPECT_EQ(dlg.m_strBib, "C:\\w32tex\\bin\\jbibtex");
  EXPECT_EQ(dlg.m_strMkIdx, "C:\\w32tex\\bin\\mendex");
}

TEST_F(SettingsDialogTest, ConverterChosenEarlierInTheSameOpeningStays) {
  prompts.askAnswers = {true, true};
  prompts.picks = {std::string("D:\\x\\dvipdfmx.exe"), std::string("C:\\w32tex\\bin\\platex.exe")};
  Open({32775, 32772});
  EXPECT_EQ(dlg.m_strDviPdf, "D:\\x\\dvipdfmx.exe");
  EXPECT_EQ(profile.Get("Settings", "DviPdf"), "D:\\x\\dvipdfmx.exe");
  EXPECT_EQ(dlg.m_strTeX, "C:\\w32tex\\bin\\platex.exe");
}

TEST_F(SettingsDialogTest, ConverterChosenInAnEarlierOpeningIsForgotten) {
  prompts.askAnswers = {true, true};
  prompts.picks = {std::string("D:\\x\\dvipdfmx.exe"), std::string("C:\\w32tex\\bin\\platex.exe")};
  Open({32775});
  EXPECT_EQ(dlg.m_strDviPdf, "D:\\x\\dvipdfmx.exe");
  Open({32772});
  EXPECT_EQ(dlg.m_strDviPdf, "C:\\w32tex\\bin\\dvipdfmx");
}

TEST_F(SettingsDialogTest, PaperSizeWithTheOneRunBoxStopsTheQuestion) {
  PaperAnswer(true, 7, true, false);
  Open({32776});
  EXPECT_EQ(profile.Get("Settings", "PdfNShow"), "1");
  EXPECT_EQ(profile.Get("Settings", "PdfNeShow"), "0");
  EXPECT_EQ(dlg.m_nPdfNShow, 1);
  EXPECT_EQ(dlg.m_nPdfSizeNo, 7);
}

TEST_F(SettingsDialogTest, PaperSizeWithBothBoxesClearAsksAgain) {
  dlg.m_nPdfNShow = 1;
  PaperAnswer(true, 1, false, false);
  Open({32776});
  EXPECT_EQ(dlg.m_nPdfNShow, 0);
}

TEST_F(SettingsDialogTest, PaperSizeCancelledKeepsTheSwitch) {
  dlg.m_nPdfNShow = 1;
  dlg.m_nPdfSizeNo = 9;  // not what the file holds
  profile.Set("Settings", "PdfSizeNo", "4");
  PaperAnswer(false, 0, true, false);
  Open({32776});
  EXPECT_TRUE(profile.log.empty());
  EXPECT_EQ(dlg.m_nPdfNShow, 1);
  EXPECT_EQ(dlg.m_nPdfSizeNo, 4);
  EXPECT_EQ(dlg.m_nPdfNeShow, 0);
}

TEST_F(SettingsDialogTest, LastPaperSizeOkOfTheOpeningCounts) {
  PaperAnswer(true, 0, true, false);
  // The second showing opens with 1012 ticked from the first OK; a click clears it.
  PaperAnswer(true, 1, true, false);
  PaperAnswer(false, 5, true, false);
  Open({32776, 32776, 32776});
  EXPECT_EQ(dlg.m_nPdfNShow, 0);
  EXPECT_EQ(dlg.m_nPdfSizeNo, 1);
}

TEST_F(SettingsDialogTest, MkIdxOptionsReachTheWindow) {
  prompts.mkIdx.push_back([](CMkIdxOptDlg& d) {
    d.m_strOptions = "-s jis";
    d.m_nNever = 1;
    return true;
  });
  Open({32777});
  EXPECT_EQ(dlg.m_strMkIdxOpt, "-s jis");
  EXPECT_EQ(dlg.m_nMkIdxNvr, 1);
}

TEST_F(SettingsDialogTest, BibTeXChosenReachesTheWindow) {
  prompts.askAnswers = {true};
  prompts.picks = {std::string("C:\\tex\\bin\\pbibtex.exe")};
  Open({32774});
  EXPECT_EQ(profile.Get("Settings", "Bib"), "C:\\tex\\bin\\pbibtex.exe");
  EXPECT_EQ(dlg.m_strBib, "C:\\tex\\bin\\pbibtex.exe");
}

TEST_F(SettingsDialogTest, EditorChosenReachesTheWindow) {
  prompts.picks = {std::string("C:\\bin\\hidemaru.exe")};
  Open({1004});
  EXPECT_EQ(profile.log, Log{"W Editor/EDIT=C:\\bin\\hidemaru.exe"});
  EXPECT_EQ(dlg.m_strEditor, "C:\\bin\\hidemaru.exe");
}

TEST_F(SettingsDialogTest, EditorDialogCancelledKeepsTheStoredEditor) {
  profile.Set("Editor", "EDIT", "C:\\bin\\emacs.exe");
  dlg.m_strEditor = "C:\\bin\\emacs.exe";
  Open({1004});
  EXPECT_TRUE(profile.log.empty());
  EXPECT_EQ(profile.Get("Editor", "EDIT"), "C:\\bin\\emacs.exe");
  EXPECT_EQ(dlg.m_strEditor, "C:\\bin\\emacs.exe");
}

// Each button runs exactly its own operation, seen by what it shows first
// and by the key that a Cancel (the scripted default) resets.
struct ButtonCase {
  int id;
  const char* firstShown;  // prefix of the first prompt after "settings"
  const char* write;       // the only write, or "" for none
};

void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.id; }

class SettingsButtonTest : public SettingsDialogTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(SettingsButtonTest, RunsItsOperation) {
  const ButtonCase& c = GetParam();
  Open({c.id});
  ASSERT_GE(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0], "settings");
  EXPECT_EQ(prompts.shown[1].rfind(c.firstShown, 0), 0u) << prompts.shown[1];
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
  EXPECT_EQ(prompts.shown, Log{"settings"});
  EXPECT_TRUE(profile.log.empty());
}

class EditorChooserTest : public ::testing::Test {
 protected:
  MemoryProfile profile;
  ScriptedPrompts prompts;
};

TEST_F(EditorChooserTest, WindowsAsksForAProgramFile) {
  ScriptedPlatform platform(WindowsPlatformValues());
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
  dlg.ChooseEditor();
  ASSERT_EQ(prompts.pickSpecs.size(), 1u);
  const FileDialogSpec& request = prompts.pickSpecs[0];
  EXPECT_EQ(request.filter, "実行ファイル(*.exe)|*.exe||");
  EXPECT_EQ(request.defExt, "exe");
  EXPECT_EQ(request.initialName, "*.exe");
  EXPECT_TRUE(request.fileMustExist);
  EXPECT_TRUE(request.hideReadOnly);
  EXPECT_FALSE(request.ownedByMainWindow);
}

TEST_F(EditorChooserTest, PosixShowsAllFiles) {
  ScriptedPlatform platform(PosixPlatformValues());
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
  dlg.m_strEditor = "xdg-open";
  prompts.picks = {std::string("/usr/bin/gedit")};
  dlg.ChooseEditor();
  ASSERT_EQ(prompts.pickSpecs.size(), 1u);
  EXPECT_EQ(prompts.pickSpecs[0].filter, "");
  EXPECT_EQ(prompts.pickSpecs[0].defExt, "");
  EXPECT_EQ(prompts.pickSpecs[0].initialName, "");
  EXPECT_EQ(dlg.m_strEditor, "/usr/bin/gedit");
  EXPECT_EQ(profile.Get("Editor", "EDIT"), "/usr/bin/gedit");
}

}  // namespace
