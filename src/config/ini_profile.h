// Our own INI layer: reads what Windows' private profile functions write,
// exactly as Windows reads it, and rewrites a file keeping everything else
// byte for byte (atomic replace, advisory lock against a second bar).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"

class IniProfile : public IProfile {
 public:
  // An empty path: reads give the defaults, writes are dropped.
  explicit IniProfile(std::string path);

  const std::string& Path() const { return m_path; }

  // Reads the file now, as the bar does once at start-up. Empty when the
  // file can be used or is not there yet; else the text saying why it
  // cannot be, which the bar shows once. Such a file reads as no keys and
  // is never written.
  std::string Trouble();

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& def) override;
  int GetProfileInt(const std::string& section, const std::string& key, int def) override;
  // Returns false, leaving the file as it was, when the file cannot be read
  // or replaced, or when a name or the value cannot be stored in one line
  // (line breaks or NUL; '=' or a leading ';' or '[' in a key name).
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string* value) override;
  bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;
  bool WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) override;
  using IProfile::WriteProfileString;

 private:
  // The file as last read, with where its sections start. While the file
  // stays that version it serves every read: a bar opening reads a dozen
  // keys, and a big file would otherwise be read and scanned a dozen times.
  struct Snapshot {
    files::ReadStatus status = files::ReadStatus::Missing;
    files::FileStamp stamp;
    std::string data;
    std::vector<std::pair<std::string, std::size_t>> sections;  // name, offset of its header line
  };
  const Snapshot& Current();
  void Keep(files::ReadStatus status, const files::FileStamp& stamp, std::string data);
  // The value of the first matching key of the first matching section, as
  // Windows hands it out (quotes stripped, cut at a NUL); nullopt if absent.
  std::optional<std::string> ReadValue(const std::string& section, const std::string& key);
  // Whether the file as it is now holds exactly what writing `entries` to
  // `section` would leave.
  bool AlreadyThere(const std::string& section, const std::vector<ProfileEntry>& entries);

  std::string m_path;
  Snapshot m_snapshot;
  bool m_taken = false;
};

namespace ini {
// The pure text transformations behind IniProfile, on a whole file's bytes.
// `eolIfNone` is used when the file has no line break to copy the style from.
std::optional<std::string> Lookup(const std::string& data, const std::string& section,
                                  const std::string& key);
// nullptr deletes. Returns the new file contents.
std::string Update(const std::string& data, const std::string& section, const std::string& key,
                   const std::string* value, const char* eolIfNone);
// Windows' reading of a profile integer: leading blanks, optional sign,
// decimal digits up to the first other character; 32-bit wrap-around.
int ParseInt(const std::string& value);
}  // namespace ini
