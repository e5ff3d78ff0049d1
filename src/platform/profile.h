// The settings store: one key of Mirvan.ini per call, read or written at the
// moment of the call. Nothing is cached.
#pragma once

#include <string>

class IProfile {
 public:
  virtual ~IProfile() = default;

  // A present key with an empty value reads as ""; an absent key as `def`.
  virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& def) = 0;
  // Leading blanks, optional sign, decimal digits up to the first other
  // character; no digits reads 0; an empty value or absent key reads `def`.
  virtual int GetProfileInt(const std::string& section, const std::string& key, int def) = 0;
  // value == nullptr deletes the key. Returns whether the file was written;
  // the bar's ReportingProfile tells the user of the first failure.
  virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string* value) = 0;
  virtual bool WriteProfileInt(const std::string& section, const std::string& key, int value) = 0;

  // Convenience for the common case.
  bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value) {
    return WriteProfileString(section, key, &value);
  }
  bool DeleteProfileKey(const std::string& section, const std::string& key) {
    return WriteProfileString(section, key, nullptr);
  }
};
