#include "app/mirvan_app.h"

#include <langinfo.h>
#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/ini_profile.h"
#include "config/reporting_profile.h"
#include "core/mirvan_dlg.h"
#include "platform/posix/child_process.h"
#include "platform/posix/posix_platform.h"
#include "text/mbcs.h"
#include "ui/console_window.h"
#include "ui/cp_text.h"
#include "ui/main_window.h"
#include "ui/qt_prompts.h"
#include "ui/startup.h"
#include "ui/string_table.h"

namespace {
std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}
}  // namespace

int CMirvanApp::InitInstance() {
  // Before anything starts a process: our tools' statuses and signals must
  // not depend on what the starter left behind.
  posix::PrepareProcessSignals();
  const DisplayChoice display = ChooseDisplay(Env("QT_QPA_PLATFORM"), HasPlatformArgument(m_argc, m_argv),
                                              Env("DISPLAY"), Env("WAYLAND_DISPLAY"));
  if (!display.note.empty()) std::fprintf(stderr, "%s\n", display.note.c_str());
  if (display.noDisplay) return 1;
  if (display.useX11) ::setenv("QT_QPA_PLATFORM", "xcb", 1);

  QApplication app(m_argc, m_argv);  // takes its own options out of argv
  // QApplication has set the C locale from the environment by now.
  const char* codeset = nl_langinfo(CODESET);
  mbcs::SetSystemCodePage(CodePageOfCodeset(codeset ? codeset : ""));

  const std::string title = AppTitleOf(m_argc > 0 ? m_argv[0] : "mirvan");
  InstallQtTranslations(QLocale::system());
  EnsureUiResources();
  QApplication::setWindowIcon(ResourceIcon(128));

  PosixPlatform platform;
  // The settings path is fixed now: tools later change the working
  // directory to the document's folder, the settings file stays put.
  IniProfile store(SettingsPathAtStart(platform));
  // The start-up's one read of the file; one that cannot be used is said
  // once, over the bar.
  const std::string settingsTrouble = store.Trouble();
  QtPrompts prompts(CpToQt(title));
  ReportingProfile profile(store, prompts, store.Path());
  if (!settingsTrouble.empty()) profile.AlreadyTold();

  CMirvanWnd wnd(MirvanEnv{profile, platform, prompts});
  prompts.SetOwner(&wnd);
  // Tools run in a console window over the bar: a program started from the
  // desktop has no terminal to show TeX's output or take its answers.
  std::shared_ptr<ActionConsole> console = MakeConsoleWindowFactory(&wnd);
  platform.SetToolConsole(console);
  wnd.SetConsole(console);
  wnd.Bar().SetFirstDocument(JoinArguments(m_argc, m_argv));
  // A session that ends takes the bar with it, history saved.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &wnd,
                   [&wnd](QSessionManager&) { wnd.EndFromOutside(BarEnd::Session); });
  if (!settingsTrouble.empty()) QTimer::singleShot(0, &wnd, [&prompts, settingsTrouble] { prompts.Notice(settingsTrouble); });
  // TERM, HUP, INT and QUIT end the bar in good order: the tools first (as
  // the signal comes), then the history is saved, then the process ends as
  // the signal would have ended it.
  const int ending = posix::EndInOrderOnSignals();
  if (ending >= 0) {
    auto* notifier = new QSocketNotifier(ending, QSocketNotifier::Read, &wnd);
    QObject::connect(notifier, &QSocketNotifier::activated, &wnd, [&wnd, ending] {
      unsigned char sig = 0;
      if (::read(ending, &sig, 1) != 1) return;
      wnd.EndFromOutside(BarEnd::Signal);
      posix::EndBySignal(sig);
    });
  }
  wnd.exec();  // its result does not matter: the program ends either way
  return 0;
}
