// The boxes and the file dialog as Qt shows them, and the start-up pieces.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include "platform/prompts.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "text/mbcs.h"
#include "ui/qt_prompts.h"
#include "ui/startup.h"
#include "when_modal.h"

namespace {

struct BoxSeen {
  QString title, text, details;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton def = QMessageBox::NoButton;
};

// Records the next message box, then presses `press` on it.
void WhenBox(BoxSeen& seen, QMessageBox::StandardButton press) {
  WhenModal([&seen, press](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.details = box->detailedText();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
    seen.def = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    box->button(press)->click();
  });
}

TEST(QtPrompts, NoticeIsAnIconlessOkBoxUnderTheAppTitle) {
  QtPrompts p(QStringLiteral("mirvan"));
  BoxSeen seen;
  WhenBox(seen, QMessageBox::Ok);
  p.Notice("一行目\n<b>二行目</b>");
  EXPECT_EQ(seen.title, QStringLiteral("mirvan"));
  EXPECT_EQ(seen.text, QStringLiteral("一行目\n<b>二行目</b>"));
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtPrompts, AskOkCancelWarnsWithOkAsDefault) {
  QtPrompts p(QStringLiteral("mirvan"));
  for (const auto press : {QMessageBox::Ok, QMessageBox::Cancel}) {
    BoxSeen seen;
    WhenBox(seen, press);
    const bool answer = p.AskOkCancel("続けますか？");
    EXPECT_EQ(answer, press == QMessageBox::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(seen.def, QMessageBox::Ok);
    EXPECT_EQ(seen.title, QStringLiteral("mirvan"));
  }
}

TEST(QtPrompts, MessageBoxTakesItsCaptionAndIcon) {
  QtPrompts p(QStringLiteral("mirvan"));
  const struct { std::string caption; BoxIcon icon; QString title; QMessageBox::Icon qicon; std::string details; } cases[] = {
      {"", BoxIcon::Stop, QStringLiteral("mirvan"), QMessageBox::Critical, ""},
      {"", BoxIcon::Exclamation, QStringLiteral("mirvan"), QMessageBox::Warning, ""},
      {"TeX の警告", BoxIcon::None, QStringLiteral("TeX の警告"), QMessageBox::NoIcon, ""},
      // The warning box unfolds the log's warning lines.
      {"Warning!!", BoxIcon::Exclamation, QStringLiteral("Warning!!"), QMessageBox::Warning,
       "LaTeX Warning: Citation `knuth84' on page 1 undefined on input line 3.\n"},
  };
  for (const auto& c : cases) {
    BoxSeen seen;
    WhenBox(seen, QMessageBox::Ok);
    if (c.details.empty())
      p.MessageBox(c.caption, "x.log が見つかりませんでした。", c.icon);
    else
      p.MessageBoxWithDetails(c.caption, "x.log が見つかりませんでした。", c.icon, c.details);
    EXPECT_EQ(seen.details, QString::fromStdString(c.details));
    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.icon, c.qicon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }
}

TEST(QtPrompts, ABoxNamingAPathOfKilobytesFitsTheScreen) {
  std::string deep;
  while (deep.size() < 4096) deep += "/とても深いフォルダ";
  const std::string path = deep + "/論文.tex";
  QtPrompts p(QStringLiteral("mirvan"));
  for (const BoxIcon icon : {BoxIcon::None, BoxIcon::Stop}) {
    QSize size;
    QString text;
    WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      size = box->size();
      text = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    if (icon == BoxIcon::None) {
      p.Notice(path + " が見つかりませんでした。");
    } else {
      p.MessageBox("", "フォルダに入れません: " + path, icon);
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(size.height(), screen.height() / 2) << text.toStdString();
    EXPECT_LE(size.width(), screen.width()) << text.toStdString();
    // Both ends of the path are there.
    EXPECT_TRUE(text.contains(QStringLiteral("/とても深いフォルダ/"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("/論文.tex"))) << text.toStdString();
  }
}

TEST(QtPrompts, FileTypesBecomeQtNameFilters) {
  const struct { std::vector<FileType> types; const char* qt; } cases[] = {
      {{{"TeX file (*.tex)", "*.tex"}}, "TeX file (*.tex)"},
      {{{"Exe files (*.exe)", "*.exe"}}, "Exe files (*.exe)"},
      {{{"実行ファイル(*.exe)", "*.exe"}}, "実行ファイル(*.exe)"},
      {{{"Programs", "*.exe;*.com"}}, "Programs (*.exe *.com)"},
      {{{"TeX (*.tex)", "*.tex"}, {"All (*.*)", "*.*"}}, "TeX (*.tex);;All (*.*)"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QtPrompts::QtNameFilter(c.types), QString::fromUtf8(c.qt)) << c.qt;
  }
}

TEST(QtPrompts, PickFileShowsTheOpenDialogAndReturnsThePath) {
  TempDir dir;
  dir.Write("論文.tex", "x");
  dir.Write("other.txt", "x");
  QtPrompts p(QStringLiteral("mirvan"));
  FileRequest request;
  request.types = {{"TeX file (*.tex)", "*.tex"}};
  request.defExt = "tex";
  request.initialName = "*.tex";
  QStringList filters;
  QString suffix, typed;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  WhenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    filters = dlg->nameFilters();
    suffix = dlg->defaultSuffix();
    mode = dlg->fileMode();
    dlg->setDirectory(QString::fromUtf8(dir.Path().c_str()));
    dlg->selectFile(QStringLiteral("論文"));  // the default extension completes it
    static_cast<QDialog*>(dlg)->accept();  // as the Open button does
  });
  std::string path;
  ASSERT_TRUE(p.PickFile(request, path));
  EXPECT_EQ(path, dir.File("論文.tex"));
  EXPECT_EQ(filters, QStringList{QStringLiteral("TeX file (*.tex)")});
  EXPECT_EQ(suffix, QStringLiteral("tex"));
  EXPECT_EQ(mode, QFileDialog::ExistingFile);
}

TEST(QtPrompts, CancelledPickLeavesThePathAlone) {
  QtPrompts p(QStringLiteral("mirvan"));
  WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  std::string path = "unchanged";
  EXPECT_FALSE(p.PickFile(FileRequest{}, path));
  EXPECT_EQ(path, "unchanged");
}

// ---- Start-up ---------------------------------------------------------------

TEST(Startup, SettingsPathJoinsTheStartFolderAndTheFileNameAsText) {
  ScriptedPlatform posix(PosixPlatformValues());
  const struct { std::string cwd; std::string path; } cases[] = {
      {"/home/u/papers", "/home/u/papers/Mirvan.ini"},
      {"/", "//Mirvan.ini"},  // nothing is removed at the join
      {"/tmp/ブランク を含む", "/tmp/ブランク を含む/Mirvan.ini"},
  };
  for (const auto& c : cases) {
    posix.cwd = c.cwd;
    EXPECT_EQ(SettingsPathAtStart(posix), c.path);
  }
  ScriptedPlatform windows;
  windows.cwd = "C:\\";
  EXPECT_EQ(SettingsPathAtStart(windows), "C:\\\\Mirvan.ini");
}

// A working directory that cannot be read gives no settings file at all.
class NoCwdPlatform : public ScriptedPlatform {
 public:
  NoCwdPlatform() : ScriptedPlatform(PosixPlatformValues()) {}
  bool GetCwd(std::string&) override { return false; }
};

TEST(QtPrompts, UnderShiftJisFixedTextsStayUtf8AndInsertedPathsAreInTheCodePage) {
  const mbcs::CodePage saved = mbcs::SystemCodePage();
  mbcs::SetSystemCodePage(mbcs::CodePage::Cp932);
  // "/w/表.tex" in CP932: the trail byte of 表 is a backslash.
  const std::string path = "/w/\x95\x5c.tex";
  const struct { std::string text; QString shown; } cases[] = {
      {"TeX のファイルではありません！", QStringLiteral("TeX のファイルではありません！")},
      {path + " が見つかりませんでした。", QStringLiteral("/w/表.tex が見つかりませんでした。")},
      {"ﾌｧｲﾙ: " + path + "\nｴﾗｰ", QStringLiteral("ﾌｧｲﾙ: /w/表.tex\nｴﾗｰ")},
  };
  QtPrompts p(QStringLiteral("mirvan"));
  for (const auto& c : cases) {
    BoxSeen seen;
    WhenBox(seen, QMessageBox::Ok);
    p.Notice(c.text);
    EXPECT_EQ(seen.text, c.shown);
  }
  mbcs::SetSystemCodePage(saved);
}

TEST(Startup, QtsOwnButtonsSpeakJapaneseUnderAJapaneseLocale) {
  EXPECT_EQ(InstallQtTranslations(QLocale(QLocale::English)), nullptr);
  QTranslator* t = InstallQtTranslations(QLocale(QLocale::Japanese, QLocale::Japan));
  ASSERT_NE(t, nullptr) << "no Japanese translations of Qt (qt6-translations-l10n)";
  QMessageBox box(QMessageBox::Warning, QStringLiteral("mirvan"), QStringLiteral("?"),
                  QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
  QCoreApplication::removeTranslator(t);
  delete t;
}

TEST(Startup, UnreadableStartFolderGivesAnEmptySettingsPath) {
  NoCwdPlatform p;
  EXPECT_EQ(SettingsPathAtStart(p), "");
}

TEST(Startup, ArgumentsAreJoinedWithSingleBlanksUntouched) {
  const struct { std::vector<const char*> argv; std::string line; } cases[] = {
      {{"mirvan"}, ""},
      {{"mirvan", "/w/paper.tex"}, "/w/paper.tex"},
      {{"mirvan", "\"/w/my paper.tex\""}, "\"/w/my paper.tex\""},
      {{"mirvan", "/w/a.tex", "/w/b.tex"}, "/w/a.tex /w/b.tex"},
      {{"mirvan", "/w/two  blanks.tex"}, "/w/two  blanks.tex"},
      {{"mirvan", ""}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinArguments(static_cast<int>(c.argv.size()), c.argv.data()), c.line);
  }
}

TEST(Startup, CodePageFollowsTheLocalesCharacterSet) {
  const struct { const char* codeset; mbcs::CodePage cp; } cases[] = {
      {"UTF-8", mbcs::CodePage::Utf8},       {"utf8", mbcs::CodePage::Utf8},
      {"SHIFT_JIS", mbcs::CodePage::Cp932},  {"Shift-JIS", mbcs::CodePage::Cp932},
      {"CP932", mbcs::CodePage::Cp932},      {"WINDOWS-31J", mbcs::CodePage::Cp932},
      {"ANSI_X3.4-1968", mbcs::CodePage::Utf8}, {"", mbcs::CodePage::Utf8},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePageOfCodeset(c.codeset), c.cp) << c.codeset;
}

TEST(Startup, AppTitleIsTheProgramNameWithoutExtension) {
  EXPECT_EQ(AppTitleOf("/usr/bin/mirvan"), "mirvan");
  EXPECT_EQ(AppTitleOf("./build/Mirvan.exe"), "Mirvan");
  EXPECT_EQ(AppTitleOf("mirvan"), "mirvan");
}

}  // namespace
