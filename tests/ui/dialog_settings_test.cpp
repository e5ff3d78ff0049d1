// The Settings dialog: each button runs its operation on the working
// instance, the dialog is modal over the bar, and every way out closes it.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "actions/settings_dlg.h"
#include "config/option_dialogs.h"
#include "dialog_driver.h"
#include "dialog_texts.h"
#include "qt_dialog_prompts.h"
#include "support/fakes.h"
#include "ui/dialogs.h"

using dlgtest::Click;
using dlgtest::Control;
using dlgtest::WhenModal;

namespace {

struct Fixture {
  MemoryProfile profile;
  ScriptedPlatform platform;  // the Windows values: the texts as written
  dlgtest::QtDialogPrompts prompts;
  MirvanEnv env{profile, platform, prompts};
};

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

TEST(SettingsDialog, EachButtonRunsItsOperation) {
  // Every question is answered Cancel and every dialog cancelled: the
  // first thing shown tells which operation ran, the writes confirm it.
  struct Case {
    int id;
    std::string firstShown;
    std::vector<std::string> writes;
  };
  const Case cases[] = {
      {1004, std::string("pick:") + kEditorFilter, {}},
      {32772, std::string("ask:") + kAskChangeTeX, {"D Settings/TeX"}},
      {32774, std::string("ask:") + kAskBibTeX, {"D Settings/Bib"}},
      {32775, std::string("ask:") + kAskDviPdf, {"D Settings/DviPdf"}},
      {32778, std::string("ask:") + kAskMkIdx, {"D Settings/MkIdx"}},
      {32777, "mkidx", {}},
      {32776, "pdfsize", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Fixture f;
    CSettingsDlg model(f.env);
    WhenModal([&](QDialog* settings) {
      // The two option dialogs open over this one; they are cancelled with Esc.
      if (c.id == 32777 || c.id == 32776)
        WhenModal([](QDialog* nested) { dlgtest::PressKey(nested, Qt::Key_Escape); });
      Click(settings, c.id);
      EXPECT_TRUE(settings->isVisible()) << "a button does not close the dialog";
      Click(settings, 1);
    });
    ExecSettingsDialog(model, nullptr);
    ASSERT_FALSE(f.prompts.shown.empty());
    EXPECT_TRUE(StartsWith(f.prompts.shown.front(), c.firstShown)) << f.prompts.shown.front();
    EXPECT_EQ(f.profile.log, c.writes);
  }
}

TEST(SettingsDialog, ButtonsActOnTheWorkingInstanceAcrossOneOpening) {
  Fixture f;
  QWidget bar;
  bar.show();
  f.prompts.owner = &bar;
  CSettingsDlg model(f.env);
  f.prompts.picks.push_back(std::string("/usr/bin/vim"));
  f.prompts.askAnswers.push_back(true);
  f.prompts.picks.push_back(std::string("/opt/tex/bin/pbibtex"));
  WhenModal([&](QDialog* settings) {
    Click(settings, 1004);
    Click(settings, 32774);
    // The paper size dialog over the Settings dialog, answered with B5 and
    // the box for this run.
    WhenModal([settings](QDialog* pdf) {
      EXPECT_EQ(pdf->parentWidget(), settings) << "stacks on the Settings dialog, not on the bar";
      Click(pdf, 1048);
      Click(pdf, 1012);
      Click(pdf, 1);
    });
    Click(settings, 32776);
    dlgtest::PressKey(settings, Qt::Key_Escape);
    EXPECT_FALSE(settings->isVisible()) << "Esc closes like Close";
  });
  ExecSettingsDialog(model, &bar);
  EXPECT_EQ(model.m_dlgWork.m_strEditor, "/usr/bin/vim");
  EXPECT_EQ(model.m_dlgWork.m_strBib, "/opt/tex/bin/pbibtex");
  EXPECT_EQ(model.m_dlgWork.m_nPdfSizeNo, 7);
  EXPECT_EQ(f.profile.log,
            (std::vector<std::string>{"W Editor/EDIT=/usr/bin/vim", "W Settings/Bib=/opt/tex/bin/pbibtex",
                                      "W Settings/PdfNShow=1", "W Settings/PdfNeShow=0",
                                      "W Settings/PdfSizeNo=7"}));
}

TEST(SettingsDialog, ModalOverTheBarAndEveryWayOutCloses) {
  const std::function<void(QDialog*)> ways[] = {
      [](QDialog* d) { Click(d, 1); },
      [](QDialog* d) { dlgtest::PressKey(d, Qt::Key_Escape); },
      [](QDialog* d) { d->close(); },
      [](QDialog* d) { dlgtest::PressKey(d, Qt::Key_Return); },  // Close is the default
  };
  for (const auto& closeIt : ways) {
    Fixture f;
    CSettingsDlg model(f.env);
    QWidget bar;
    bar.show();
    bool ran = false;
    WhenModal([&](QDialog* d) {
      ran = true;
      EXPECT_EQ(d->parentWidget(), &bar);
      EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);
      EXPECT_EQ(dlgtest::S(d->windowTitle()), "設定");
      EXPECT_TRUE(Control<QPushButton>(d, 1)->isDefault());
      closeIt(d);
      EXPECT_FALSE(d->isVisible());
    });
    ExecSettingsDialog(model, &bar);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(f.prompts.shown.empty()) << "closing runs no operation";
  }
}

TEST(SettingsDialog, EnterOnAFocusedButtonRunsItsOperation) {
  Fixture f;
  CSettingsDlg model(f.env);
  WhenModal([&](QDialog* d) {
    dlgtest::EnterOn(d, 32772);  // "TeX の変更"
    EXPECT_TRUE(d->isVisible()) << "Enter closed the dialog";
  });
  ExecSettingsDialog(model, nullptr);
  ASSERT_FALSE(f.prompts.shown.empty());
  EXPECT_TRUE(StartsWith(f.prompts.shown.front(), std::string("ask:") + kAskChangeTeX)) << f.prompts.shown.front();
}

}  // namespace
