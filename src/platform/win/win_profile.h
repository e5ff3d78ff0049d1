// The settings store on Windows: the private profile functions themselves,
// over a file that is first found to be an ordinary file of sane size.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"

class WinProfile : public IProfile {
 public:
  // A path the profile functions cannot take (empty, or MAX_PATH characters
  // and more, which they would cut to some other file's name) is not used
  // at all: reads give the defaults and writes fail.
  explicit WinProfile(std::string path);

  // Empty when the file can be used or is not there yet; else the text
  // saying why it cannot be, which the bar shows once. Such a file reads as
  // no keys and is never written.
  std::string Trouble();

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& def) override;
  int GetProfileInt(const std::string& section, const std::string& key, int def) override;
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string* value) override;
  bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;
  bool WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) override;
  using IProfile::WriteProfileString;

 private:
  // Whether the file may be handed to the profile functions, which would
  // read a folder's or a huge file's worth without a word. Looked at once.
  bool Usable();

  std::string m_path;
  bool m_checked = false;
  files::ReadStatus m_status = files::ReadStatus::Missing;
};
