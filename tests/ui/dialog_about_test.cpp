// The About box: its caption, version line, icon and OK.
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "dialog_texts.h"
#include "ui/dialogs.h"

using dlgtest::WhenModal;

namespace {

TEST(AboutDialog, ShowsVersionAndClosesWithOkOrEsc) {
  const std::function<void(QDialog*)> ways[] = {
      [](QDialog* d) { dlgtest::Click(d, 1); },
      [](QDialog* d) { dlgtest::PressKey(d, Qt::Key_Escape); },
      [](QDialog* d) { dlgtest::PressKey(d, Qt::Key_Return); },
  };
  for (const auto& closeIt : ways) {
    QWidget bar;
    bool ran = false;
    WhenModal([&](QDialog* d) {
      ran = true;
      EXPECT_EQ(dlgtest::S(d->windowTitle()), kAboutCaption);
      QStringList texts;
      for (QLabel* l : d->findChildren<QLabel*>()) texts << l->text();
      EXPECT_TRUE(texts.contains(QString::fromUtf8(kAboutVersion)));
      auto* ok = dlgtest::Control<QPushButton>(d, 1);
      EXPECT_TRUE(ok->isDefault());
      EXPECT_EQ(d->focusWidget(), ok);
      closeIt(d);
      EXPECT_FALSE(d->isVisible());
    });
    ExecAboutDialog(&bar);
    EXPECT_TRUE(ran);
  }
}

TEST(AboutDialog, ShowsProgramIconWhenTheResourcesHaveIt) {
  WhenModal([](QDialog* d) {
    // Asked once the dialog is up: the resources are loaded by then.
    const bool haveIcon = QFile::exists(QStringLiteral(":/icons/128.svg"));
    auto* icon = d->findChild<QLabel*>(QStringLiteral("static0"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(!icon->pixmap().isNull(), haveIcon);
    if (haveIcon) {
      EXPECT_LE(icon->pixmap().deviceIndependentSize().width(), 32.0);
    }
    dlgtest::Click(d, 1);
  });
  ExecAboutDialog(nullptr);
}

}  // namespace
