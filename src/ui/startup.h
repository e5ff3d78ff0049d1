// The pieces of the program's start-up that can be checked on their own.
#pragma once

#include <string>

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
