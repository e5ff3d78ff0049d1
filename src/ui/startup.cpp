#include "ui/startup.h"

#include <QFileInfo>

#include <algorithm>
#include <cctype>

#include "ui/cp_text.h"

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
