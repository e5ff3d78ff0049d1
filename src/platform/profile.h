// The settings store: keys of Mirvan.ini, each read as the file is at the
// moment of the call, and written at the moment of the call.
#pragma once

#include <optional>
#include <string>
#include <vector>

// One key of a write of several at once: its value, or none to delete it.
struct ProfileEntry {
  std::string key;
  std::optional<std::string> value;
};

// Whether a value fits on its key's one line: no line break and no NUL.
inline bool StorableProfileValue(const std::string& value) {
  return value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

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
  // Several keys of one section in one write of the file, in order: a bar
  // killed meanwhile leaves the file with all of them or none. false, with
  // nothing written, when the file cannot be written or one entry cannot
  // be stored.
  virtual bool WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) = 0;

  // Convenience for the common case.
  bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value) {
    return WriteProfileString(section, key, &value);
  }
  bool DeleteProfileKey(const std::string& section, const std::string& key) {
    return WriteProfileString(section, key, nullptr);
  }
};
