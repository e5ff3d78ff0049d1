#include "ui/startup.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cctype>

#include "ui/cp_text.h"
#include "ui/texts.h"

std::string SettingsPathAtStart(IPlatform& platform) {
  std::string cwd;
  if (!platform.GetCwd(cwd)) return std::string();
  return cwd + platform.Values().settingsFileName;
}

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

mbcs::CodePage CodePageOfCodeset(const std::string& codeset) {
  std::string name;
  for (char c : codeset) {
    if (c != '-' && c != '_') name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  static const char* const kShiftJis[] = {"SHIFTJIS", "SJIS", "CP932", "WINDOWS31J", "MSKANJI"};
  for (const char* s : kShiftJis) {
    if (name == s) return mbcs::CodePage::Cp932;
  }
  return mbcs::CodePage::Utf8;
}

std::string AppTitleOf(const std::string& argv0) {
  return QtToCp(QFileInfo(CpToQt(argv0)).completeBaseName());
}

DisplayChoice ChooseDisplay(const std::string& qpaPlatform, bool platformArgument, const std::string& display,
                            const std::string& waylandDisplay) {
  DisplayChoice c;
  if (!qpaPlatform.empty() || platformArgument) return c;  // the user's choice stands
  if (!display.empty()) {
    if (!waylandDisplay.empty()) {
      c.useX11 = true;
      c.note = ui_text::kStartOnXWayland;
    }
    return c;
  }
  if (!waylandDisplay.empty()) {
    c.note = ui_text::kNoXWayland;
    return c;
  }
  c.noDisplay = true;
  c.note = ui_text::kNoDisplay;
  return c;
}

bool HasPlatformArgument(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-platform" || a == "--platform" || a.rfind("-platform=", 0) == 0 || a.rfind("--platform=", 0) == 0)
      return true;
  }
  return false;
}

QTranslator* InstallQtTranslations(const QLocale& locale) {
  if (locale.language() != QLocale::Japanese) return nullptr;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}
