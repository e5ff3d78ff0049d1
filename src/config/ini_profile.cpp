#include "config/ini_profile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "text/mbcs.h"

#include "platform/files.h"
#include "platform/texts.h"

namespace {

// Windows' profile reader counts Ctrl-Z as a blank too.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

const char kBom[] = "\xEF\xBB\xBF";

enum class Kind { Blank, Comment, Section, Key };

// One line of the file. Offsets into the whole file's bytes.
struct Line {
  std::size_t begin = 0;   // first byte of the line
  std::size_t rawEnd = 0;  // end of the line's text, before its "\n" or "\r\n"
  std::size_t next = 0;    // first byte of the following line
  std::size_t b = 0, e = 0;  // the text without surrounding blanks
  Kind kind = Kind::Blank;
  std::string name;  // section or key name, blanks removed
  bool hasValue = false;            // Key: an '=' is there
  std::size_t nameEnd = 0;          // Key: end of the name (blanks removed)
  std::size_t valueBegin = 0;       // Key: first byte of the value
};

Line ReadLine(const std::string& data, std::size_t begin) {
  Line l;
  l.begin = begin;
  std::size_t nl = data.find('\n', begin);
  l.next = nl == std::string::npos ? data.size() : nl + 1;
  l.rawEnd = nl == std::string::npos ? data.size() : nl;
  if (l.rawEnd > begin && data[l.rawEnd - 1] == '\r') --l.rawEnd;

  std::size_t b = begin, e = l.rawEnd;
  // A byte order mark that Linux editors like to put in front of the text.
  if (begin == 0 && data.compare(0, 3, kBom) == 0 && e >= 3) b = 3;
  while (b < e && IsBlank(data[b])) ++b;
  while (e > b && IsBlank(data[e - 1])) --e;
  l.b = b;
  l.e = e;
  if (b == e) return l;

  if (data[b] == '[') {
    const std::string text = data.substr(b, e - b);
    const std::size_t close = mbcs::FindLastOf(text, "]");
    if (close != std::string::npos) {
      l.kind = Kind::Section;
      l.name = Trim(text.substr(1, close - 1));
      return l;
    }
  }
  if (data[b] == ';') {
    l.kind = Kind::Comment;
    return l;
  }
  l.kind = Kind::Key;
  // Only this line's bytes: a search to the end of the file would make a
  // file of lines without '=' quadratic to read.
  const void* hit = std::memchr(data.data() + b, '=', e - b);
  const std::size_t eq = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data.data()) : e;
  if (eq >= e) {
    l.nameEnd = e;
    l.valueBegin = e;
  } else {
    l.hasValue = true;
    std::size_t ne = eq;
    while (ne > b && IsBlank(data[ne - 1])) --ne;
    l.nameEnd = ne;
    std::size_t vb = eq + 1;
    while (vb < e && IsBlank(data[vb])) ++vb;
    l.valueBegin = vb;
  }
  l.name = data.substr(b, l.nameEnd - b);
  return l;
}

bool SameName(const std::string& a, const std::string& b) {
  return !a.empty() && mbcs::EqualsNoCase(a, b);
}

std::size_t NextLine(const std::string& data, std::size_t begin) {
  const void* nl = std::memchr(data.data() + begin, '\n', data.size() - begin);
  return nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - data.data()) + 1 : data.size();
}

// The start of the first line at or after `from` (a line start) whose
// first byte after the blanks is '[': the only lines that can be section
// headers. A search for a section passes every other line at the cost of a
// search for '['.
std::size_t NextHeaderCandidate(const std::string& data, std::size_t from) {
  for (std::size_t pos = from; pos < data.size();) {
    const void* hit = std::memchr(data.data() + pos, '[', data.size() - pos);
    if (!hit) break;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - data.data());
    std::size_t start = at;
    while (start > from && data[start - 1] != '\n') --start;
    std::size_t i = start;
    if (start == 0 && data.compare(0, 3, kBom) == 0) i = 3;
    while (i < at && IsBlank(data[i])) ++i;
    if (i == at) return start;
    pos = NextLine(data, at);
  }
  return data.size();
}

// Every section header of the file in order: its name and where its line starts.
std::vector<std::pair<std::string, std::size_t>> SectionsOf(const std::string& data) {
  std::vector<std::pair<std::string, std::size_t>> out;
  for (std::size_t pos = NextHeaderCandidate(data, 0); pos < data.size();
       pos = NextHeaderCandidate(data, NextLine(data, pos))) {
    Line l = ReadLine(data, pos);
    if (l.kind == Kind::Section) out.emplace_back(std::move(l.name), pos);
  }
  return out;
}

// Where a key is, or where it would go.
struct Spot {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;
  std::size_t insertAt = 0;  // after the section's last key line (or its header)
};

// Only the first section of the name counts, and in it only the first key
// of the name: what Windows does with duplicates. `from` is a line start no
// later than that section's header.
Spot Locate(const std::string& data, const std::string& section, const std::string& key, std::size_t from = 0) {
  Spot s;
  bool inside = false;
  for (std::size_t pos = from; pos < data.size();) {
    if (!inside) {
      pos = NextHeaderCandidate(data, pos);
      if (pos == data.size()) break;
    }
    Line l = ReadLine(data, pos);
    pos = l.next;
    if (l.kind == Kind::Section) {
      if (inside) break;
      if (SameName(l.name, section)) {
        inside = true;
        s.sectionFound = true;
        s.insertAt = l.next;
      }
    } else if (inside && l.kind == Kind::Key) {
      s.insertAt = l.next;
      if (SameName(l.name, key)) {
        s.keyFound = true;
        s.keyLine = std::move(l);
        break;
      }
    }
  }
  return s;
}

std::string EolOf(const std::string& data, const char* eolIfNone) {
  std::size_t nl = data.find('\n');
  if (nl == std::string::npos) return eolIfNone;
  return (nl > 0 && data[nl - 1] == '\r') ? "\r\n" : "\n";
}

bool HasAny(const std::string& s, const char* bytes, std::size_t n) {
  return s.find_first_of(bytes, 0, n) != std::string::npos;
}

bool StorableName(const std::string& name) {
  return !name.empty() && !HasAny(name, "\r\n\0", 3);
}

std::optional<std::string> LookupFrom(const std::string& data, std::size_t from, const std::string& section,
                                      const std::string& key) {
  const Spot s = Locate(data, Trim(section), Trim(key), from);
  if (!s.keyFound || !s.keyLine.hasValue) return std::nullopt;
  std::string v = data.substr(s.keyLine.valueBegin, s.keyLine.e - s.keyLine.valueBegin);
  // Windows hands values out as C strings.
  std::size_t nul = v.find('\0');
  if (nul != std::string::npos) v.resize(nul);
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  return v;
}

void UpdateInPlace(std::string& out, const std::string& section, const std::string& key, const std::string* value,
                   const char* eolIfNone) {
  const std::string sec = Trim(section), name = Trim(key);
  const Spot s = Locate(out, sec, name);
  if (!value) {
    if (s.keyFound) out.erase(s.keyLine.begin, s.keyLine.next - s.keyLine.begin);
    return;
  }
  const std::string eol = EolOf(out, eolIfNone);
  if (s.keyFound) {
    const Line& l = s.keyLine;
    if (l.hasValue) {
      out.replace(l.valueBegin, l.rawEnd - l.valueBegin, *value);
    } else {
      out.replace(l.nameEnd, l.rawEnd - l.nameEnd, "=" + *value);
    }
    return;
  }
  const std::string entry = name + "=" + *value;
  if (s.sectionFound) {
    std::string insert = entry + eol;
    // The section's last line may be the file's last line, without a break.
    if (s.insertAt == out.size() && !out.empty() && out.back() != '\n') insert = eol + entry + eol;
    out.insert(s.insertAt, insert);
    return;
  }
  if (!out.empty() && out.back() != '\n') out += eol;
  out += "[" + sec + "]" + eol + entry + eol;
}

// A key name that one line of the file can hold, and that reads back as that key.
bool StorableKey(const std::string& name) {
  return StorableName(name) && name.find('=') == std::string::npos && name[0] != ';' && name[0] != '[';
}

}  // namespace

namespace ini {

std::optional<std::string> Lookup(const std::string& data, const std::string& section,
                                  const std::string& key) {
  return LookupFrom(data, 0, section, key);
}

std::string Update(const std::string& data, const std::string& section, const std::string& key,
                   const std::string* value, const char* eolIfNone) {
  std::string out = data;
  UpdateInPlace(out, section, key, value, eolIfNone);
  return out;
}

int ParseInt(const std::string& value) {
  std::size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  std::uint32_t acc = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    acc = acc * 10u + static_cast<std::uint32_t>(value[i] - '0');
  }
  if (negative) acc = 0u - acc;
  return static_cast<std::int32_t>(acc);
}

}  // namespace ini

IniProfile::IniProfile(std::string path) : m_path(std::move(path)) {}

void IniProfile::Keep(files::ReadStatus status, const files::FileStamp& stamp, std::string data) {
  m_taken = true;
  m_snapshot.status = status;
  m_snapshot.stamp = stamp;
  m_snapshot.data = std::move(data);
  m_snapshot.sections = status == files::ReadStatus::Ok ? SectionsOf(m_snapshot.data)
                                                          : std::vector<std::pair<std::string, std::size_t>>();
}

const IniProfile::Snapshot& IniProfile::Current() {
  if (m_path.empty()) {
    Keep(files::ReadStatus::Missing, files::FileStamp(), std::string());
    return m_snapshot;
  }
  files::FileStamp now;
  if (m_taken && m_snapshot.status == files::ReadStatus::Ok && m_snapshot.stamp.settled &&
      files::StampOf(m_path, now) && now.SameVersion(m_snapshot.stamp)) {
    return m_snapshot;
  }
  std::string data;
  files::FileStamp stamp;
  const files::ReadStatus status = files::ReadRegularFile(m_path, files::kMaxSettingsBytes, data, &stamp);
  Keep(status, stamp, std::move(data));
  return m_snapshot;
}

std::string IniProfile::Trouble() {
  const files::ReadStatus status = Current().status;
  if (status == files::ReadStatus::Ok || status == files::ReadStatus::Missing) return std::string();
  return settings_text::Unreadable(m_path, status);
}

std::optional<std::string> IniProfile::ReadValue(const std::string& section, const std::string& key) {
  const Snapshot& snap = Current();
  if (snap.status != files::ReadStatus::Ok) return std::nullopt;
  const std::string sec = Trim(section);
  for (const auto& s : snap.sections) {
    if (SameName(s.first, sec)) return LookupFrom(snap.data, s.second, sec, key);
  }
  return std::nullopt;
}

std::string IniProfile::GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& def) {
  std::optional<std::string> v = ReadValue(section, key);
  return v ? *v : def;
}

int IniProfile::GetProfileInt(const std::string& section, const std::string& key, int def) {
  std::optional<std::string> v = ReadValue(section, key);
  if (!v || v->empty()) return def;
  return ini::ParseInt(*v);
}

bool IniProfile::WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string* value) {
  std::vector<ProfileEntry> one{{key, value ? std::optional<std::string>(*value) : std::nullopt}};
  return WriteProfileKeys(section, one);
}

bool IniProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
  const std::string text = std::to_string(value);
  return WriteProfileString(section, key, &text);
}

bool IniProfile::AlreadyThere(const std::string& section, const std::vector<ProfileEntry>& entries) {
  const Snapshot& snap = Current();
  if (snap.status != files::ReadStatus::Ok) return false;
  std::size_t from = std::string::npos;
  for (const auto& s : snap.sections) {
    if (SameName(s.first, section)) {
      from = s.second;
      break;
    }
  }
  for (const ProfileEntry& e : entries) {
    if (from == std::string::npos) {
      if (e.value) return false;
      continue;
    }
    const Spot spot = Locate(snap.data, section, Trim(e.key), from);
    // Exactly the bytes the write would leave.
    const bool same = e.value ? spot.keyFound && spot.keyLine.hasValue &&
                                    snap.data.compare(spot.keyLine.valueBegin,
                                                      spot.keyLine.rawEnd - spot.keyLine.valueBegin, *e.value) == 0
                              : !spot.keyFound;
    if (!same) return false;
  }
  return true;
}

bool IniProfile::WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) {
  if (m_path.empty()) return false;
  const std::string sec = Trim(section);
  if (!StorableName(sec)) return false;
  bool onlyDeletes = true;
  for (const ProfileEntry& e : entries) {
    if (!StorableKey(Trim(e.key))) return false;
    if (e.value && !StorableProfileValue(*e.value)) return false;
    onlyDeletes = onlyDeletes && !e.value;
  }
  // The usual start-up write: the keys already say so, and a big file is
  // neither copied nor scanned again.
  if (AlreadyThere(sec, entries)) return true;

  const std::string target = files::WriteTarget(m_path);
  files::WriteLock lock(target);
  std::string data;
  files::FileStamp stamp;
  files::ReadStatus r;
  // No other bar writes while we hold the lock: the copy read before serves
  // if the file is still that version.
  const Snapshot& snap = m_snapshot;
  if (m_taken && snap.status == files::ReadStatus::Ok && snap.stamp.settled && files::StampOf(target, stamp) &&
      stamp.SameVersion(snap.stamp)) {
    data = snap.data;
    r = files::ReadStatus::Ok;
  } else {
    r = files::ReadRegularFile(target, files::kMaxSettingsBytes, data, &stamp);
  }
  // A file that is there but cannot be read is never overwritten, nor is
  // what is no regular file.
  if (r != files::ReadStatus::Ok && r != files::ReadStatus::Missing) return false;
  if (r == files::ReadStatus::Missing && onlyDeletes) return true;
  std::string updated = data;
  for (const ProfileEntry& e : entries) {
    UpdateInPlace(updated, sec, e.key, e.value ? &*e.value : nullptr, files::kNativeEol);
  }
  if (r == files::ReadStatus::Ok && updated == data) return true;
  if (!files::ReplaceWith(target, updated)) return false;
  lock.SyncFolder();
  // The file is what we just wrote, and nobody else's while the lock holds.
  if (files::StampOf(target, stamp)) {
    stamp.settled = true;
    Keep(files::ReadStatus::Ok, stamp, std::move(updated));
  } else {
    m_taken = false;
  }
  return true;
}
