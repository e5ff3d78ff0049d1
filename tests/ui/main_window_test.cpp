// The bar as the user meets it: layout from its template, icons and tips,
// every button's operation, drops, the history box's keys, closing, About.
#include <QImage>
#include <QSet>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include "config/resource_ids.h"
#include "support/fakes.h"
#include "ui/dialog_template.h"
#include "ui/main_window.h"
#include "when_modal.h"

namespace {

const std::string kNoDocument = "処理したい TeX ﾌｧｲﾙ をドラッグ＆ドロップするか、\n「ﾌｧｲﾙ 選択」で、選んで下さい。";
const std::string kNotTeX = "TeX のファイルではありません！登録して直して下さい！";

class Bar : public ::testing::Test {
 protected:
  MemoryProfile profile;
  ScriptedPlatform platform{PosixPlatformValues()};
  ScriptedPrompts prompts;
  std::unique_ptr<CMirvanWnd> wnd;

  void Open(const std::string& commandLine = std::string()) {
    wnd = std::make_unique<CMirvanWnd>(MirvanEnv{profile, platform, prompts});
    wnd->Bar().SetFirstDocument(commandLine);
    wnd->show();
    QApplication::processEvents();
  }
  void TearDown() override { wnd.reset(); }

  QPushButton* Button(int id) { return qobject_cast<QPushButton*>(wnd->Control(id)); }

  // The document as the next action gets it: the file the editor button
  // opens (empty: none).
  std::string Document() {
    platform.opens.clear();
    Button(1000)->click();
    if (platform.opens.size() != 1) return "(no editor opened)";
    const std::string& open = platform.opens[0];  // editor|program|file|folder
    const std::size_t from = open.find('|', open.find('|') + 1) + 1;
    const std::string file = open.substr(from, open.find('|', from) - from);
    platform.opens.clear();
    return file;
  }

  bool HistoryWritten() const {
    return std::any_of(profile.log.begin(), profile.log.end(),
                       [](const std::string& l) { return l.rfind("W RFL/", 0) == 0; });
  }

  // A real drag and drop through the window, as a file manager's drop
  // arrives: the window finds the widget under the point.
  void Drop(QWidget* onto, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QWindow* win = wnd->windowHandle();
    ASSERT_NE(win, nullptr);
    const QPointF at = onto->mapTo(wnd.get(), onto->rect().center());
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(win, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(win, &drop);
    QApplication::processEvents();
  }

  static void Key(QWidget* to, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                  const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(to, &release);
    QApplication::processEvents();
  }
};

// Dialog units worked out here from the font the window really has.
struct Units {
  double bx, by;
  explicit Units(const QFont& f) {
    bx = QFontMetricsF(f).horizontalAdvance(
             QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    by = QFontMetrics(f).height();
  }
  int X(int du) const { return static_cast<int>(std::lround(du * bx / 4.0)); }
  int Y(int du) const { return static_cast<int>(std::lround(du * by / 8.0)); }
};

TEST_F(Bar, WindowIsTheTemplatesBarOnTopAtItsPlace) {
  Open();
  EXPECT_EQ(wnd->windowTitle(), QStringLiteral("Mirvan: Drag & Drop TeX file"));
  const QFontInfo font(wnd->font());
  EXPECT_EQ(wnd->font().pointSize(), 10);
  EXPECT_TRUE(font.family() == QStringLiteral("ＭＳ Ｐゴシック") ||
              QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Japanese))
      << font.family().toStdString();
  const Units u(wnd->font());
  EXPECT_NEAR(wnd->width(), u.X(235), 1);
  EXPECT_NEAR(wnd->height(), u.Y(38), 1);
  EXPECT_EQ(wnd->minimumSize(), wnd->maximumSize());
  // At 400, 50 dialog units, moved in as far as needed to be all on a
  // smaller screen.
  const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint origin = QGuiApplication::primaryScreen()->geometry().topLeft();
  // smaller screen (with a pixel to spare on each side).
  EXPECT_NEAR(wnd->x() - origin.x(), std::min(u.X(400), avail.right() - 1 - wnd->frameGeometry().width()), 1);
  EXPECT_NEAR(wnd->y() - origin.y(), std::min(u.Y(50), avail.bottom() - 1 - wnd->frameGeometry().height()), 1);
  const Qt::WindowFlags f = wnd->windowFlags();
  EXPECT_TRUE(f & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(f & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Window);  // a taskbar entry of its own
}

TEST_F(Bar, EveryControlSitsOnItsTemplateRectangle) {
  Open();
  const DialogTemplate t = LoadDialogTemplate(146);
  const Units u(wnd->font());
  ASSERT_EQ(wnd->Built().order.size(), t.controls.size());
  for (int i = 0; i < t.controls.size(); ++i) {
    const ControlTemplate& c = t.controls[i];
    const QRect r = wnd->Built().order[i]->geometry();
    SCOPED_TRACE(c.id);
    EXPECT_NEAR(r.x(), u.X(c.x), 1);
    EXPECT_NEAR(r.y(), u.Y(c.y), 1);
    EXPECT_NEAR(r.width(), u.X(c.w), 1);
    // The combo box's template height holds its dropped list too.
    if (c.kind != QLatin1String("combo")) {
      EXPECT_NEAR(r.height(), u.Y(c.h), 1);
    }
  }
}

TEST_F(Bar, TabOrderIsTemplateOrderAndFocusStartsInTheHistoryBox) {
  Open();
  EXPECT_TRUE(wnd->focusWidget() == wnd->History() || wnd->focusWidget() == wnd->History()->lineEdit());
  QList<int> order;
  QWidget* w = wnd->History();
  for (int guard = 0; guard < 64; ++guard) {
    const int id = wnd->Built().controls.key(w, 0);
    if (id != 0 && (w->focusPolicy() & Qt::TabFocus)) {
      if (!order.isEmpty() && id == order.first()) break;
      order << id;
    }
    w = w->nextInFocusChain();
  }
  EXPECT_EQ(order, (QList<int>{1017, 1000, 1001, 1002, 1003, 1006, 1008, 1009, 1010, 1011}));
}

TEST_F(Bar, IconButtonsShowOnlyTheirIconsAndNoneIsDefault) {
  Open();
  for (const auto& [id, icon] : kButtonIcons) {
    SCOPED_TRACE(id);
    QPushButton* b = Button(id);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->text().isEmpty());
    ASSERT_FALSE(b->icon().isNull());
    // Drawn at build time, not the SVG fallback, and not blank.
    EXPECT_EQ(b->icon().availableSizes(), QList<QSize>{QSize(64, 64)});
    const QImage image = b->icon().pixmap(QSize(64, 64)).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 2) << "a blank or garbled icon";
    EXPECT_GE(b->iconSize().width(), b->width() / 2);
  }
  EXPECT_EQ(Button(1001)->text(), QStringLiteral("ﾌｧｲﾙ選択"));
  EXPECT_TRUE(Button(1001)->icon().isNull());
  const auto* label = qobject_cast<QLabel*>(wnd->Built().order.last());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("履歴"));
  for (QPushButton* b : wnd->findChildren<QPushButton*>()) {
    EXPECT_FALSE(b->isDefault());
    EXPECT_FALSE(b->autoDefault());
  }
  EXPECT_FALSE(wnd->windowIcon().isNull());
}

TEST_F(Bar, TooltipsComeFromTheStringTable) {
  Open();
  const struct { int id; const char* tip; } cases[] = {
      {1000, "ﾌｧｲﾙの編集"}, {1002, "TeX のコンパイル"}, {1003, "DVI ﾌｧｲﾙの表示"}, {1006, "DVI から PDF の作成"},
      {1008, "PDF ﾌｧｲﾙの表示"}, {1009, "コマンドプロンプトを開く"}, {1011, "TeX のコンパイルからPDF の作成・表示まで"},
      {1001, ""}, {1010, ""}, {1017, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(wnd->Control(c.id)->toolTip(), QString::fromUtf8(c.tip));
  }
  EXPECT_TRUE(wnd->Built().order.last()->toolTip().isEmpty());
}

// ---- Each button runs its operation ----------------------------------------

struct Wiring {
  int id;
  std::string commandLine;           // the document, if any
  std::vector<std::string> files;    // files that exist
  std::string platformOpen;          // prefix of the platform's only open, or ""
  std::string shown;                 // first thing shown, or ""
};

void PrintTo(const Wiring& w, std::ostream* os) {
  *os << "button " << w.id << " on \"" << w.commandLine << "\"";
}

class BarButton : public Bar, public ::testing::WithParamInterface<Wiring> {};

TEST_P(BarButton, RunsItsOperation) {
  const Wiring& w = GetParam();
  for (const std::string& f : w.files) platform.files[f] = 1000000000;
  Open(w.commandLine);
  prompts.shown.clear();
  Button(w.id)->click();
  if (!w.platformOpen.empty()) {
    ASSERT_EQ(platform.opens.size(), 1u);
    EXPECT_EQ(platform.opens[0].rfind(w.platformOpen, 0), 0u) << platform.opens[0];
  } else {
    EXPECT_TRUE(platform.opens.empty());
  }
  if (!w.shown.empty()) {
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown[0], w.shown);
  }
  // Whatever ran, the bar is usable again afterwards.
  for (QWidget* c : wnd->Built().order) EXPECT_TRUE(c->isEnabled());
  EXPECT_FALSE(wnd->Bar().Busy());
}

INSTANTIATE_TEST_SUITE_P(
    AllButtons, BarButton,
    ::testing::Values(
        Wiring{1000, "/w/paper.tex", {}, "editor|xdg-open|/w/paper.tex|/w/", ""},
        Wiring{1001, "", {}, "", "pick:TeX file (*.tex)|*.tex"},
        Wiring{1002, "", {}, "", "notice:" + kNoDocument},
        Wiring{1003, "/w/paper.tex", {"/w/paper.dvi"}, "doc|/w/paper.dvi|/w/", ""},
        Wiring{1003, "", {}, "", "notice:" + kNoDocument},
        Wiring{1006, "", {}, "", "notice:" + kNoDocument},
        Wiring{1008, "/w/paper.tex", {"/w/paper.pdf"}, "doc|paper.pdf|/w/", ""},
        Wiring{1009, "/w/paper.tex", {}, "prompt|", ""},
        Wiring{1010, "", {}, "", "settings"},
        Wiring{1011, "", {}, "", "notice:" + kNoDocument}),
    [](const ::testing::TestParamInfo<Wiring>& i) {
      return "Button" + std::to_string(i.param.id) + "_" + std::to_string(i.index);
    });

TEST_F(Bar, AfterAPickedFileTheFocusIsInTheHistoryBox) {
  Open();
  Button(1001)->setFocus();
  prompts.picks.push_back(std::string("/w/picked.tex"));
  Button(1001)->click();
  EXPECT_TRUE(wnd->focusWidget() == wnd->History() || wnd->focusWidget() == wnd->History()->lineEdit());
}

TEST_F(Bar, ControlsAreDisabledWhileAToolRuns) {
  std::vector<bool> enabledDuringRun;
  platform.onRun = [&](const ToolCall&) {
    for (QWidget* c : wnd->Built().order) enabledDuringRun.push_back(c->isEnabled());
    return 0;
  };
  Open("/w/paper.tex");
  Button(1002)->click();
  ASSERT_FALSE(enabledDuringRun.empty());
  EXPECT_TRUE(std::none_of(enabledDuringRun.begin(), enabledDuringRun.end(), [](bool b) { return b; }));
  for (QWidget* c : wnd->Built().order) EXPECT_TRUE(c->isEnabled());
}

TEST_F(Bar, TheBarCannotBeClosedWhileAToolRuns) {
  // A console window's event loop runs while the tool does; a click on the
  // close box then must neither end the bar nor save the history mid-run.
  platform.onRun = [&](const ToolCall&) {
    wnd->close();
    return 0;
  };
  Open("/w/paper.tex");
  Button(1002)->click();
  ASSERT_FALSE(platform.runs.empty());
  EXPECT_TRUE(wnd->isVisible());
  EXPECT_FALSE(HistoryWritten());
}

// ---- Drops ------------------------------------------------------------------

TEST_F(Bar, AFileDroppedOnTheBarBecomesTheDocument) {
  Open();
  Drop(Button(1002), {QUrl::fromLocalFile(QStringLiteral("/w/ペーパー.tex"))});
  EXPECT_EQ(Document(), "/w/ペーパー.tex");
  ASSERT_GE(wnd->History()->count(), 1);
  EXPECT_EQ(wnd->History()->itemText(0), QStringLiteral("/w/ペーパー.tex"));
  EXPECT_EQ(wnd->History()->currentText(), QStringLiteral("/w/ペーパー.tex"));
}

TEST_F(Bar, AFileDroppedOnTheHistoryBoxReachesTheBar) {
  Open();
  Drop(wnd->History(), {QUrl::fromLocalFile(QStringLiteral("/w/a.tex"))});
  EXPECT_EQ(Document(), "/w/a.tex");
  EXPECT_EQ(wnd->History()->currentText(), QStringLiteral("/w/a.tex"));
}

TEST_F(Bar, OnlyTheFirstOfSeveralDroppedFilesCounts) {
  Open();
  Drop(wnd->Built().order.last(), {QUrl::fromLocalFile(QStringLiteral("/w/a.tex")),
                                   QUrl::fromLocalFile(QStringLiteral("/w/b.tex")),
                                   QUrl::fromLocalFile(QStringLiteral("/w/c.tex"))});
  EXPECT_EQ(Document(), "/w/a.tex");
  EXPECT_EQ(wnd->History()->count(), 1);
}

TEST_F(Bar, ADropOnTheFileSelectButtonDoesNothing) {
  Open("/w/old.tex");
  const int before = wnd->History()->count();
  Drop(Button(1001), {QUrl::fromLocalFile(QStringLiteral("/w/new.tex"))});
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Document(), "/w/old.tex");
  EXPECT_EQ(wnd->History()->count(), before);
}

TEST_F(Bar, ADropWithoutALocalFileIsRefused) {
  Open("/w/old.tex");
  Drop(Button(1003), {QUrl(QStringLiteral("https://example.org/paper.tex"))});
  EXPECT_EQ(prompts.shown, std::vector<std::string>{"notice:" + kNotTeX});
  EXPECT_EQ(Document(), "/w/old.tex");
}

// ---- The history box's keys --------------------------------------------------

TEST_F(Bar, ChoosingAHistoryEntryFromTheListMakesItTheDocument) {
  profile.Set("RFL", "File0", "/w/a.tex");
  profile.Set("RFL", "File1", "/w/b.tex");
  platform.files["/w/b.tex"] = 1;
  Open();
  ASSERT_EQ(Document(), "/w/a.tex");
  QComboBox* box = wnd->History();
  Key(box->lineEdit(), Qt::Key_Down);  // opens the list
  ASSERT_TRUE(box->view()->isVisible());
  box->view()->setCurrentIndex(box->model()->index(1, 0));
  Key(box->view(), Qt::Key_Return);
  EXPECT_EQ(Document(), "/w/b.tex");
  EXPECT_EQ(box->itemText(0), QStringLiteral("/w/b.tex"));
  EXPECT_EQ(box->currentIndex(), 0);
}

TEST_F(Bar, F4DoesNotOpenTheList) {
  profile.Set("RFL", "File0", "/w/a.tex");
  Open();
  Key(wnd->History()->lineEdit(), Qt::Key_F4);
  EXPECT_FALSE(wnd->History()->view()->isVisible());
}

TEST_F(Bar, EnterInTheHistoryBoxNeitherEndsTheBarNorChoosesTheTypedPath) {
  profile.Set("RFL", "File0", "/w/a.tex");
  profile.Set("RFL", "File1", "/w/b.tex");
  platform.files["/w/b.tex"] = 1;
  Open();
  QLineEdit* edit = wnd->History()->lineEdit();
  edit->setText(QStringLiteral("/w/b.tex"));
  Key(edit, Qt::Key_Return);
  Key(edit, Qt::Key_Enter, Qt::KeypadModifier);
  // Leaving the field with that text makes Qt report the entry as activated;
  // it is still no choice from the list.
  int reported = 0;
  QObject::connect(wnd->History(), &QComboBox::activated, [&reported](int) { ++reported; });
  wnd->activateWindow();
  Button(1000)->setFocus();
  QApplication::processEvents();
  EXPECT_GE(reported, 1);
  EXPECT_TRUE(wnd->isVisible());
  EXPECT_EQ(Document(), "/w/a.tex");
  EXPECT_EQ(wnd->History()->count(), 2);
  EXPECT_FALSE(HistoryWritten());
}

TEST_F(Bar, EnterOnAFocusedButtonPressesIt) {
  Open("/w/paper.tex");
  Button(1009)->setFocus();
  Key(Button(1009), Qt::Key_Return);
  EXPECT_EQ(platform.opens.size(), 1u);
  EXPECT_TRUE(wnd->isVisible());
}

// ---- Ending the bar ------------------------------------------------------------

TEST_F(Bar, TheCloseBoxSavesTheHistory) {
  Open("/w/paper.tex");
  wnd->close();
  EXPECT_FALSE(wnd->isVisible());
  EXPECT_NE(std::find(profile.log.begin(), profile.log.end(), "W RFL/File0=/w/paper.tex"), profile.log.end());
}

// Every way the bar ends saves the history.
TEST_F(Bar, EscEndsTheBarAndSavesTheHistory) {
  Open("/w/paper.tex");
  Key(wnd->focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(wnd->isVisible());
  EXPECT_EQ(wnd->result(), QDialog::Rejected);
  EXPECT_NE(std::find(profile.log.begin(), profile.log.end(), "W RFL/File0=/w/paper.tex"), profile.log.end());
}

// ---- About and the manual --------------------------------------------------------

TEST_F(Bar, TheContextMenuOpensTheAboutBox) {
  Open();
  QString entry, aboutTitle;
  WhenPopup([&](QWidget* popup) {
    auto* menu = qobject_cast<QMenu*>(popup);
    ASSERT_NE(menu, nullptr);
    // The last output, compile on save (checkable), and About last.
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_TRUE(menu->actions()[1]->isCheckable());
    entry = menu->actions().last()->text();
    WhenModal([&](QWidget* about) {
      aboutTitle = about->windowTitle();
      about->close();
    }, wnd.get());
    Key(menu, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));  // the entry's mnemonic chooses it
  });
  const QPoint at = Button(1002)->rect().center();
  QContextMenuEvent ev(QContextMenuEvent::Mouse, at, Button(1002)->mapToGlobal(at));
  QApplication::sendEvent(Button(1002), &ev);
  EXPECT_EQ(entry, QStringLiteral("Mirvan のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  EXPECT_EQ(aboutTitle, QStringLiteral("Mirvanのﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_TRUE(wnd->isVisible());
}

TEST_F(Bar, F1ShowsTheManualInItsOwnWindow) {
  // The bar looks for its manual through the platform: here the scripted one
  // knows of the checkout's manual, as a build's tests folder finds it.
  platform.files[QCoreApplication::applicationDirPath().toStdString() + "/../../docs/manual.html"] = 1;
  Open();
  Key(wnd->focusWidget(), Qt::Key_F1);
  EXPECT_TRUE(platform.opens.empty()) << "handed to the desktop: " << platform.opens[0];
  QTextBrowser* manual = wnd->Manual();
  ASSERT_NE(manual, nullptr);
  EXPECT_TRUE(manual->isVisible());
  EXPECT_TRUE(manual->isWindow());
  EXPECT_TRUE(manual->source().toLocalFile().endsWith(QStringLiteral("manual.html")));
  EXPECT_TRUE(manual->toPlainText().contains(QStringLiteral("Mirvan"))) << "the manual's text, not its source";
  EXPECT_FALSE(manual->toPlainText().contains(QStringLiteral("<h1>")));
  Key(wnd->focusWidget(), Qt::Key_F1);
  EXPECT_EQ(wnd->Manual(), manual) << "F1 again shows the same window";
  EXPECT_TRUE(wnd->isVisible());
}

}  // namespace
