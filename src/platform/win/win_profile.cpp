#include "platform/win/win_profile.h"

#include "platform/texts.h"
#include "platform/win/win_api.h"
#include "text/mbcs.h"

#include <vector>

namespace {

std::string TrimBlanks(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// The key of one line of a section as the profile functions hand it out.
std::string KeyOf(const std::string& line) { return TrimBlanks(line.substr(0, line.find('='))); }

bool FitsTheProfileFunctions(const std::string& path) {
  const int characters = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  return characters > 0 && characters <= MAX_PATH;
}

}  // namespace

bool WinProfile::Usable() {
  if (!m_checked && !m_path.empty()) {
    m_checked = true;
    std::string ignored;
    m_status = files::ReadRegularFile(m_path, files::kMaxSettingsBytes, ignored);
  }
  return !m_path.empty() && (m_status == files::ReadStatus::Ok || m_status == files::ReadStatus::Missing);
}

std::string WinProfile::Trouble() {
  if (m_path.empty() || Usable()) return std::string();
  return settings_text::Unreadable(m_path, m_status);
}

WinProfile::WinProfile(std::string path) : m_path(std::move(path)) {
  if (m_path.empty() || FitsTheProfileFunctions(m_path)) return;
  // The folder's short (8.3) name, where the volume keeps them, names the
  // same file in fewer characters.
  const std::size_t sep = mbcs::FindLastOf(m_path, "\\");
  std::string shortened;
  if (sep != std::string::npos) {
    const std::string folder = m_path.substr(0, sep);
    std::vector<char> buf(32768);
    const DWORD n = GetShortPathNameA(folder.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n > 0 && n < buf.size()) shortened = std::string(buf.data(), n) + m_path.substr(sep);
  }
  m_path = FitsTheProfileFunctions(shortened) ? shortened : std::string();
}

std::string WinProfile::GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& def) {
  if (!Usable()) return def;
  // The API truncates silently; grow until the value fits.
  std::vector<char> buf(1024);
  for (;;) {
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf.data(),
                                       static_cast<DWORD>(buf.size()), m_path.c_str());
    if (n < buf.size() - 1) return std::string(buf.data(), n);
    if (buf.size() >= (1u << 26)) return std::string(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

int WinProfile::GetProfileInt(const std::string& section, const std::string& key, int def) {
  if (!Usable()) return def;
  return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, m_path.c_str()));
}

bool WinProfile::WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string* value) {
  if (!Usable()) return false;
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value ? value->c_str() : nullptr,
                                    m_path.c_str()) != 0;
}

bool WinProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
  const std::string v = std::to_string(value);
  return WriteProfileString(section, key, &v);
}

// The section's lines as the profile functions keep them, changed, and
// written back with one call: the system writes the file once.
bool WinProfile::WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) {
  if (!Usable()) return false;
  for (const ProfileEntry& e : entries) {
    if (KeyOf(e.key).empty() || e.key.find_first_of(std::string("=\r\n\0", 4)) != std::string::npos) return false;
    if (e.value && !StorableProfileValue(*e.value)) return false;
  }
  std::vector<char> buf(4096);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileSectionA(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()), m_path.c_str());
    if (n < buf.size() - 2 || buf.size() >= (1u << 26)) break;
    buf.resize(buf.size() * 4);
  }
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < n && buf[i];) {
    lines.emplace_back(buf.data() + i);
    i += lines.back().size() + 1;
  }
  for (const ProfileEntry& e : entries) {
    const std::string key = KeyOf(e.key);
    std::size_t at = 0;
    while (at < lines.size() && !mbcs::EqualsNoCase(KeyOf(lines[at]), key)) ++at;
    if (!e.value) {
      if (at < lines.size()) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    } else if (at < lines.size()) {
      lines[at] = key + "=" + *e.value;
    } else {
      lines.push_back(key + "=" + *e.value);
    }
  }
  std::string block;
  for (const std::string& l : lines) block += l + '\0';
  block += '\0';
  return WritePrivateProfileSectionA(section.c_str(), block.c_str(), m_path.c_str()) != 0;
}
