// The builder against every template: what the resources carry, where each
// control lands in pixels, the tab order and the texts.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QLocale>
#include <QStyle>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "support/case_name.h"

#include "dialog_driver.h"
#include "dialog_texts.h"
#include "ui/dialog_template.h"

using dlgtest::S;

namespace {

const int kTemplates[] = {146, 100, 137, 173, 198, 201};

class TemplateTest : public ::testing::TestWithParam<int> {};

TEST_P(TemplateTest, BuiltDialogFollowsTemplate) {
  const DialogTemplate t = LoadDialogTemplate(GetParam());
  QDialog dlg;
  const BuiltDialog b = BuildDialog(&dlg, t);

  // Units come from the font the dialog really got.
  const DialogUnits u = DialogUnits::ForFont(dlg.font());
  EXPECT_DOUBLE_EQ(b.units.baseX, u.baseX);
  EXPECT_DOUBLE_EQ(b.units.baseY, u.baseY);

  EXPECT_EQ(dlg.size(), QSize(u.X(t.w), u.Y(t.h)));
  EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()) << "not resizable";
  EXPECT_FALSE(dlg.windowFlags() & Qt::WindowContextHelpButtonHint);
  EXPECT_EQ(S(dlg.windowTitle()), S(t.caption));

  ASSERT_EQ(b.order.size(), t.controls.size());
  QVector<QWidget*> tabStops;
  for (int i = 0; i < t.controls.size(); ++i) {
    const ControlTemplate& c = t.controls[i];
    QWidget* w = b.order[i];
    SCOPED_TRACE(S(w->objectName()));
    EXPECT_EQ(w->parentWidget(), &dlg);
    if (c.id != 0) {
      EXPECT_EQ(b.controls.value(c.id), w);
      EXPECT_EQ(S(w->objectName()), "ctl" + std::to_string(c.id));
    }
    const QRect want = u.Rect(c.x, c.y, c.w, c.h);
    const QRect got = w->geometry();
    EXPECT_LE(std::abs(got.x() - want.x()), 1);
    EXPECT_LE(std::abs(got.y() - want.y()), 1);
    // A caption the template's box is too narrow for in this face gets the
    // room it needs; every other control keeps its width.
    const bool caption = qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
    if (caption && got.width() > want.width() + 1) {
      EXPECT_LE(got.width(), std::max(w->sizeHint().width(), QFontMetrics(w->font()).horizontalAdvance(c.text)));
    } else {
      EXPECT_LE(std::abs(got.width() - want.width()), 1);
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      // The template's height includes the dropped list.
      EXPECT_TRUE(combo->isEditable());
      EXPECT_EQ(got.height(), combo->sizeHint().height());
      EXPECT_LT(got.height(), want.height());
    } else if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap() && got.height() > want.height() + 1) {
      EXPECT_LE(got.height(), l->heightForWidth(got.width()));
    } else {
      EXPECT_LE(std::abs(got.height() - want.height()), 1);
    }

    if (c.kind == "static") {
      auto* l = qobject_cast<QLabel*>(w);
      ASSERT_NE(l, nullptr);
      EXPECT_EQ(S(l->text()), S(c.text));
      EXPECT_EQ(l->textFormat(), Qt::PlainText);
    } else if (c.kind == "iconbutton") {
      auto* p = qobject_cast<QPushButton*>(w);
      ASSERT_NE(p, nullptr);
      EXPECT_TRUE(p->text().isEmpty()) << "an icon button draws no caption";
      EXPECT_EQ(S(p->accessibleName()), S(c.text));
    } else if (c.kind == "button" || c.kind == "defbutton") {
      auto* p = qobject_cast<QPushButton*>(w);
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(S(p->text()), S(c.text));
      EXPECT_EQ(p->isDefault(), c.kind == "defbutton");
      EXPECT_TRUE(p->autoDefault()) << "Enter presses the focused push button";
    } else if (c.kind == "checkbox") {
      ASSERT_NE(qobject_cast<QCheckBox*>(w), nullptr);
      EXPECT_EQ(S(qobject_cast<QCheckBox*>(w)->text()), S(c.text));
    } else if (c.kind == "radio") {
      ASSERT_NE(qobject_cast<QRadioButton*>(w), nullptr);
      EXPECT_EQ(S(qobject_cast<QRadioButton*>(w)->text()), S(c.text));
    } else if (c.kind == "edit") {
      ASSERT_NE(qobject_cast<QLineEdit*>(w), nullptr);
    } else if (c.kind == "listbox") {
      ASSERT_NE(qobject_cast<QListWidget*>(w), nullptr);
    }
    if (c.styles.contains("tabstop")) {
      EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus);
      tabStops.push_back(w);
    } else {
      EXPECT_FALSE(w->focusPolicy() & Qt::TabFocus);
    }
  }

  // Tab walks the tab stops in template order and comes back round.
  ASSERT_FALSE(tabStops.isEmpty());
  QVector<QWidget*> walked{tabStops.front()};
  for (QWidget* w = tabStops.front()->nextInFocusChain(); w != tabStops.front(); w = w->nextInFocusChain()) {
    if (w->parentWidget() == &dlg && (w->focusPolicy() & Qt::TabFocus)) walked.push_back(w);
  }
  EXPECT_EQ(walked, tabStops);
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, TemplateTest, ::testing::ValuesIn(kTemplates),
                         [](const ::testing::TestParamInfo<int>& i) { return "Template" + std::to_string(i.param); });

TEST(DialogTemplate, TextsAsTheUserSeesThem) {
  struct Case {
    int tmpl;
    int id;
    const char* text;
  };
  const Case cases[] = {
      {173, 1012, kText1012Pdf}, {173, 2, kCancel},   {198, 1012, kText1012MkIdx},
      {137, 1, kClose137},       {146, 1001, kFileSelect}, {198, 2, kCancel},
  };
  for (const Case& c : cases) {
    const DialogTemplate t = LoadDialogTemplate(c.tmpl);
    QDialog dlg;
    const BuiltDialog b = BuildDialog(&dlg, t);
    auto* button = qobject_cast<QAbstractButton*>(b.controls.value(c.id));
    ASSERT_NE(button, nullptr) << c.tmpl << "/" << c.id;
    EXPECT_EQ(S(button->text()), c.text) << c.tmpl << "/" << c.id;
  }
  // Leading blanks are part of the text; the line break of an icon
  // button's caption survives in its name.
  EXPECT_EQ(S(LoadDialogTemplate(173).controls[5].text), kTextNoShow);
  EXPECT_EQ(S(LoadDialogTemplate(198).controls[7].text), kTextSettingsHint);
  EXPECT_EQ(S(LoadDialogTemplate(146).controls[7].text), kCmdPrompt);
  EXPECT_EQ(S(LoadDialogTemplate(173).caption), kCaption173);
  EXPECT_EQ(S(LoadDialogTemplate(198).caption), kCaption198);
  EXPECT_EQ(S(LoadDialogTemplate(146).caption), kMainTitle);
  EXPECT_EQ(S(LoadDialogTemplate(100).caption), kAboutCaption);
}

TEST(DialogTemplate, MainWindowTemplateHoldsIconsAndSizes) {
  const DialogTemplate t = LoadDialogTemplate(146);
  EXPECT_EQ(QRect(t.x, t.y, t.w, t.h), QRect(400, 50, 235, 38));
  EXPECT_EQ(t.pointSize, 10);
  QMap<int, int> icons;
  for (const ControlTemplate& c : t.controls)
    if (c.kind == "iconbutton") icons[c.id] = c.icon;
  const QMap<int, int> want{{1000, 133}, {1002, 131}, {1003, 132}, {1006, 134},
                            {1008, 135}, {1009, 136}, {1011, 138}, {1010, 139}};
  EXPECT_EQ(icons, want);
  EXPECT_EQ(t.controls.front().id, 1017);
  EXPECT_EQ(t.controls.back().kind, "static");
}

TEST(DialogUnits, RoundHalvesAwayFromZero) {
  DialogUnits u;
  u.baseX = 6;   // 1.5 px per unit
  u.baseY = 13;  // 1.625 px per unit
  struct Case {
    int du, x, y;
  };
  const Case cases[] = {{0, 0, 0}, {1, 2, 2}, {2, 3, 3}, {3, 5, 5}, {4, 6, 7}, {7, 11, 11}, {150, 225, 244}};
  for (const Case& c : cases) {
    EXPECT_EQ(u.X(c.du), c.x) << c.du;
    EXPECT_EQ(u.Y(c.du), c.y) << c.du;
  }
  EXPECT_EQ(u.Rect(7, 128, 77, 14), QRect(11, 208, 116, 23));
}

TEST(DialogUnits, FollowTheFontSize) {
  const QFont small = DialogFont(QStringLiteral("ＭＳ Ｐゴシック"), 9);
  const QFont big = DialogFont(QStringLiteral("ＭＳ Ｐゴシック"), 18);
  const DialogUnits a = DialogUnits::ForFont(small), b = DialogUnits::ForFont(big);
  EXPECT_GT(a.baseX, 3.0);
  EXPECT_GT(a.baseY, a.baseX) << "letters are taller than wide";
  EXPECT_NEAR(b.baseX / a.baseX, 2.0, 0.25);
  EXPECT_NEAR(b.baseY / a.baseY, 2.0, 0.25);
}

TEST(DialogFont, FallsBackToAJapaneseFaceThatCanShowTheCaptions) {
  const QFont f = DialogFont(QStringLiteral("ＭＳ Ｐゴシック"), 9);
  EXPECT_EQ(f.pointSize(), 9);
  const QString family = QFontInfo(f).family();
  // The machine has the template's face, the gothic drawn to its metrics, or
  // the desktop's Japanese sans-serif (the tests' dependencies install the
  // last two).
  EXPECT_TRUE(family == QStringLiteral("ＭＳ Ｐゴシック") || family == QStringLiteral("IPAPGothic") ||
              family == QStringLiteral("Noto Sans CJK JP"))
      << S(family);
  const QFont none = DialogFont(QStringLiteral("No Such Face Anywhere"), 11);
  EXPECT_EQ(none.pointSize(), 11);
  EXPECT_NE(S(QFontInfo(none).family()), "No Such Face Anywhere");
}

// Every caption has room in its rectangle, in the font the dialog really
// got. The suite runs under C.UTF-8 and again under ja_JP.UTF-8, where the
// font lookup of the system differs.
TEST(DialogCaptions, EveryCaptionFitsItsRectangle) {
  for (int id : kTemplates) {
    const DialogTemplate t = LoadDialogTemplate(id);
    QDialog dlg;
    const BuiltDialog b = BuildDialog(&dlg, t);
    for (int i = 0; i < t.controls.size(); ++i) {
      const ControlTemplate& c = t.controls[i];
      QWidget* w = b.order[i];
      if (c.text.isEmpty() || c.kind == "iconbutton") continue;
      SCOPED_TRACE(S(QLocale::system().name() + QStringLiteral(" ") + QString::number(id) +
                     QStringLiteral(": ") + c.text));
      const QFontMetrics fm(w->font());
      if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->wordWrap()) {
          EXPECT_LE(l->heightForWidth(l->width()), l->height());
        } else {
          EXPECT_LE(fm.horizontalAdvance(c.text), l->width());
          EXPECT_LE(fm.height(), l->height());
        }
      } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
        const int mark = w->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                                 nullptr, w);
        EXPECT_LE(mark + 2 + fm.horizontalAdvance(c.text), w->width());
      } else if (qobject_cast<QPushButton*>(w)) {
        const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        EXPECT_LE(fm.horizontalAdvance(c.text) + margin, w->width());
      }
    }
  }
}

TEST(DialogCaptions, IconLabelsAreOutlines) {
  // Text in an icon would be drawn in whatever face the system finds.
  for (int icon : {128, 131, 132, 133, 134, 135, 136, 138, 139}) {
    QFile f(QStringLiteral(":/icons/%1.svg").arg(icon));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << icon;
    EXPECT_FALSE(f.readAll().contains("<text")) << icon;
  }
}

}  // namespace
