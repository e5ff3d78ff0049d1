// The settings store on Windows: the private profile functions themselves.
#pragma once

#include <string>

#include "platform/profile.h"

class WinProfile : public IProfile {
 public:
  // A path the profile functions cannot take (empty, or MAX_PATH characters
  // and more, which they would cut to some other file's name) is not used
  // at all: reads give the defaults and writes fail.
  explicit WinProfile(std::string path);

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
