#include "config/ini_profile.h"

#include <utility>

// Placeholder: the real INI layer replaces these bodies.
IniProfile::IniProfile(std::string path) : m_path(std::move(path)) {}
std::string IniProfile::GetProfileString(const std::string&, const std::string&, const std::string& def) {
  return def;
}
int IniProfile::GetProfileInt(const std::string&, const std::string&, int def) { return def; }
bool IniProfile::WriteProfileString(const std::string&, const std::string&, const std::string*) { return false; }
bool IniProfile::WriteProfileInt(const std::string&, const std::string&, int) { return false; }
