// The pieces of the program's start-up that can be checked on their own.
#pragma once

#include <string>

class QLocale;
class QTranslator;

#include "platform/platform.h"
#include "text/mbcs.h"

// The settings file: the start-up working directory and the platform's file
// name joined as plain text (nothing added or removed between them). Empty
// when the working directory cannot be read.
std::string SettingsPathAtStart(IPlatform& platform);

// The command line after the program name: the arguments joined by single
// blanks, otherwise untouched (quotes and all).
std::string JoinArguments(int argc, const char* const* argv);

// The code page of a locale's character set name (nl_langinfo(CODESET)):
// CP932 for the Shift_JIS family, UTF-8 otherwise.
mbcs::CodePage CodePageOfCodeset(const std::string& codeset);

// The application title: the program file's name without its extension.
std::string AppTitleOf(const std::string& argv0);

// Which window system the bar starts on, decided before the toolkit starts.
// A window can neither place itself nor stay above others under Wayland, so
// X11 (XWayland) is preferred whenever the user has not chosen a platform
// (QT_QPA_PLATFORM or -platform) and an X display is there.
struct DisplayChoice {
  bool useX11 = false;     // start on X11 although Wayland is there
  bool noDisplay = false;  // nothing to show the bar on: end with `note`
  std::string note;        // said once on stderr, empty when all is plain
};
DisplayChoice ChooseDisplay(const std::string& qpaPlatform, bool platformArgument, const std::string& display,
                            const std::string& waylandDisplay);

// True when the arguments hold the toolkit's own -platform option.
bool HasPlatformArgument(int argc, const char* const* argv);

// Qt's own texts (standard buttons, the file dialog) in the locale's
// language when it is Japanese, from the translations Debian packages with
// Qt. Returns the installed translator (owned by the application), or null.
QTranslator* InstallQtTranslations(const QLocale& locale);
