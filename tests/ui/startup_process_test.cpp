// The real program started in an empty folder: its settings file appears
// there, written by the start-up rule while the bar opens.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

TEST(StartupProcess, FirstStartInAnEmptyFolderCreatesTheSettingsFile) {
  const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../mirvan");
  if (!QFileInfo::exists(program)) GTEST_SKIP() << "no program next to the tests";
  TempDir dir;
  const QString ini = QString::fromStdString(dir.File("Mirvan.ini"));
  QProcess p;
  p.setWorkingDirectory(QString::fromStdString(dir.Path()));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  p.setProcessEnvironment(env);
  p.start(program, {});
  ASSERT_TRUE(p.waitForStarted(10000));
  QElapsedTimer clock;
  clock.start();
  QByteArray text;
  while (clock.elapsed() < 20000) {
    QFile f(ini);
    if (f.open(QIODevice::ReadOnly)) {
      text = f.readAll();
      if (text.contains("PdfSizeNo")) break;
    }
    QThread::msleep(50);
  }
  // The bar runs until it is closed; this one is ours to end.
  EXPECT_EQ(p.state(), QProcess::Running);
  p.kill();
  p.waitForFinished(5000);
  const QString s = QString::fromUtf8(text);
  EXPECT_TRUE(s.contains(QStringLiteral("[Settings]"))) << s.toStdString();
  EXPECT_TRUE(s.contains(QStringLiteral("PdfNShow=0")));
  EXPECT_TRUE(s.contains(QStringLiteral("PdfNeShow=0")));
  EXPECT_TRUE(s.contains(QStringLiteral("PdfSizeNo=1")));
}
