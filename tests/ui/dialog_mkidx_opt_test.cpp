// The MakeIndex options dialog, alone and under EditMkIdxOptions.
#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "config/option_dialogs.h"
#include "config/tool_config.h"
#include "dialog_driver.h"
#include "qt_dialog_prompts.h"
#include "support/config_rig.h"
#include "support/fakes.h"
#include "text/mbcs.h"
#include "ui/dialogs.h"

using dlgtest::Click;
using dlgtest::Control;
using dlgtest::WhenModal;

namespace {

struct Fixture {
  MemoryProfile profile;
  ScriptedPlatform platform{PosixPlatformValues()};
  dlgtest::QtDialogPrompts prompts;
  ToolConfig config{profile, platform.Values()};
  Fixture() {
    // What the bar starts with when the file has no options yet.
    config.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex");
  }
};

TEST(MkIdxOptDialog, OpensWithTheStoredValues) {
  struct Case {
    const char* opt;  // nullptr: key absent
    const char* nvr;
    const char* shown;
    bool ticked;
  };
  const Case cases[] = {
      {nullptr, nullptr, "", false},
      {"-s myindex -g", "1", "-s myindex -g", true},
      {"-s 索引.ist", "0", "-s 索引.ist", false},
  };
  for (const Case& c : cases) {
    MemoryProfile profile;
    if (c.opt) profile.Set("Settings", "MkIdxOpt", c.opt);
    if (c.nvr) profile.Set("Settings", "MkIdxNvr", c.nvr);
    CMkIdxOptDlg model = MkIdxOptModelOn(profile);
    WhenModal([&](QDialog* d) {
      EXPECT_EQ(dlgtest::S(Control<QLineEdit>(d, 1121)->text()), c.shown);
      EXPECT_EQ(Control<QCheckBox>(d, 1012)->isChecked(), c.ticked);
      Click(d, 2);
    });
    EXPECT_FALSE(ExecMkIdxOptDialog(model, nullptr));
  }
}

TEST(MkIdxOptDialog, OkStoresTextAndBoxAsTheyWereLeft) {
  Fixture f;
  WhenModal([](QDialog* d) {
    EXPECT_TRUE(Control<QLineEdit>(d, 1121)->text().isEmpty()) << "the bar's -s myindex is not shown";
    Click(d, 1012);
    Click(d, 1);
  });
  f.config.EditMkIdxOptions(f.prompts);
  EXPECT_EQ(f.config.Get().m_strMkIdxOpt, "");
  EXPECT_EQ(f.config.Get().m_nMkIdxNvr, 1);
  EXPECT_EQ(f.profile.log, (std::vector<std::string>{"W Settings/MkIdxOpt=", "W Settings/MkIdxNvr=1"}));
}

TEST(MkIdxOptDialog, TypedTextReachesTheModelAsUtf8) {
  MemoryProfile profile;
  CMkIdxOptDlg model = MkIdxOptModelOn(profile);
  WhenModal([](QDialog* d) {
    Control<QLineEdit>(d, 1121)->setText(QStringLiteral("-s 索引 -g"));
    Click(d, 1);
  });
  EXPECT_TRUE(ExecMkIdxOptDialog(model, nullptr));
  EXPECT_EQ(model.Options(), "-s 索引 -g");
  EXPECT_EQ(model.Never(), 0);
}

TEST(MkIdxOptDialog, CancelEscAndCloseBoxStoreNothing) {
  const std::function<void(QDialog*)> ways[] = {
      [](QDialog* d) { Click(d, 2); },
      [](QDialog* d) { dlgtest::PressKey(d, Qt::Key_Escape); },
      [](QDialog* d) { d->close(); },
  };
  for (const auto& closeIt : ways) {
    Fixture f;
    f.profile.Set("Settings", "MkIdxOpt", "-s old");
    WhenModal([&](QDialog* d) {
      Control<QLineEdit>(d, 1121)->setText(QStringLiteral("-s new"));
      Click(d, 1012);
      closeIt(d);
      EXPECT_FALSE(d->isVisible());
    });
    f.config.EditMkIdxOptions(f.prompts);
    EXPECT_EQ(f.config.Get().m_strMkIdxOpt, "-s myindex");
    EXPECT_EQ(f.config.Get().m_nMkIdxNvr, 0);
    EXPECT_TRUE(f.profile.log.empty());
  }
}

TEST(MkIdxOptDialog, OptionsCrossInTheSystemCodePage) {
  const mbcs::CodePage saved = mbcs::SystemCodePage();
  mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  MemoryProfile profile;
  profile.Set("Settings", "MkIdxOpt", "-s \x8d\xf5\x88\xf8");  // -s 索引 in CP932
  CMkIdxOptDlg model = MkIdxOptModelOn(profile);
  QString shown;
  WhenModal([&](QDialog* d) {
    shown = Control<QLineEdit>(d, 1121)->text();
    Control<QLineEdit>(d, 1121)->setText(QStringLiteral("-s 表"));
    Click(d, 1);
  });
  EXPECT_TRUE(ExecMkIdxOptDialog(model, nullptr));
  EXPECT_EQ(shown, QStringLiteral("-s 索引"));
  EXPECT_EQ(model.Options(), "-s \x95\x5c");
  mbcs::SetSystemCodePage(saved);
}

TEST(MkIdxOptDialog, TextTypedAtOnceReplacesTheOptions) {
  MemoryProfile profile;
  profile.Set("Settings", "MkIdxOpt", "-l");
  CMkIdxOptDlg model = MkIdxOptModelOn(profile);
  WhenModal([](QDialog* d) {
    // Keys go to the focus of the active window, as a user's typing does;
    // the window system gives it once the dialog is active.
    d->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), d);
    for (const QChar ch : QStringLiteral("-s myindex")) {
      QWidget* focus = d->focusWidget();
      ASSERT_NE(focus, nullptr);
      QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
      QKeyEvent release(QEvent::KeyRelease, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
      QCoreApplication::sendEvent(focus, &press);
      QCoreApplication::sendEvent(focus, &release);
    }
    dlgtest::PressKey(d->focusWidget(), Qt::Key_Return);
  });
  EXPECT_TRUE(ExecMkIdxOptDialog(model, nullptr));
  EXPECT_EQ(model.Options(), "-s myindex");
}

TEST(MkIdxOptDialog, EnterPressesTheFocusedButtonElseTheDefault) {
  const std::pair<int, bool> cases[] = {{2, false}, {1121, true}, {1012, true}};
  for (const auto& [focus, ok] : cases) {
    SCOPED_TRACE(focus);
    MemoryProfile profile;
    CMkIdxOptDlg model = MkIdxOptModelOn(profile);
    WhenModal([&, focus = focus](QDialog* d) { dlgtest::EnterOn(d, focus); });
    EXPECT_EQ(ExecMkIdxOptDialog(model, nullptr), ok);
  }
}

}  // namespace
