#include "platform/win/win_profile.h"

#include "platform/win/win_api.h"

#include <vector>

#include "text/mbcs.h"

namespace {

bool FitsTheProfileFunctions(const std::string& path) {
  const int characters = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  return characters > 0 && characters <= MAX_PATH;
}

}  // namespace

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
  if (m_path.empty()) return def;
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
  if (m_path.empty()) return def;
  return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, m_path.c_str()));
}

bool WinProfile::WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string* value) {
  if (m_path.empty()) return false;
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value ? value->c_str() : nullptr,
                                    m_path.c_str()) != 0;
}

bool WinProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
  const std::string v = std::to_string(value);
  return WriteProfileString(section, key, &v);
}
