// Our own INI layer: reads what Windows' private profile functions write,
// exactly as Windows reads it, and rewrites a file keeping everything else
// byte for byte (atomic replace, advisory lock against a second bar).
#pragma once

#include <string>

#include "config/profile.h"

class IniProfile : public IProfile {
 public:
  // An empty path: reads give the defaults, writes are dropped.
  explicit IniProfile(std::string path);

  const std::string& Path() const { return m_path; }

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& def) override;
  int GetProfileInt(const std::string& section, const std::string& key, int def) override;
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string* value) override;
  bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;
  using IProfile::WriteProfileString;

 private:
  std::string m_path;
};
