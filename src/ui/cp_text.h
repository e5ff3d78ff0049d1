// The core keeps text as bytes in the system code page; Qt wants QString.
// Every crossing between the two goes through here.
#pragma once

#include <QString>

#include <string>

QString CpToQt(const std::string& bytes);
std::string QtToCp(const QString& text);

// File names: the bytes the file system knows the file by (a dropped or
// picked path must reach open() unchanged, whatever the code page).
std::string QtPathToCp(const QString& path);
