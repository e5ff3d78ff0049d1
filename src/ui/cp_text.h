// The core keeps text as bytes; Qt wants QString. Every crossing between
// the two goes through here. The program's own fixed texts are UTF-8 bytes
// whatever the locale; only what came from outside (files, the settings
// file, paths, typed text bound for them) is in the system code page.
#pragma once

#include <QString>

#include <string>

// Text from files, the settings file or paths, and back.
QString CpToQt(const std::string& bytes);
std::string QtToCp(const QString& text);

// One of the program's fixed texts (a message, a caption, a file filter).
QString LiteralToQt(const std::string& utf8);

// A message: a fixed text that may hold a value from outside (a path, a
// program's name from the settings file). Under a UTF-8 system both are
// UTF-8. Under CP932 a run of bytes that is well-formed UTF-8 beyond ASCII
// is the fixed text, and the rest is the inserted value in the code page.
QString MessageToQt(const std::string& bytes);

// File names: the bytes the file system knows the file by (a dropped or
// picked path must reach open() unchanged, whatever the code page).
std::string QtPathToCp(const QString& path);
