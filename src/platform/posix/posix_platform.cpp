#include "platform/posix/posix_platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

// PLACEHOLDER (platform owner replaces this file)
PosixPlatform::PosixPlatform() : m_values(PosixPlatformValues()) {}
PosixPlatform::~PosixPlatform() = default;
void PosixPlatform::SetToolConsole(std::shared_ptr<IToolConsole> console) { m_console = std::move(console); }
int PosixPlatform::RunTool(const std::string&, const std::vector<std::string>&) { return -1; }
bool PosixPlatform::ChangeDir(const std::string& dir) { return !dir.empty() && ::chdir(dir.c_str()) == 0; }
bool PosixPlatform::GetCwd(std::string& out) {
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) return false;
  out = buf;
  return true;
}
FileStatus PosixPlatform::Stat(const std::string& path) {
  FileStatus st;
  struct stat s {};
  if (::stat(path.c_str(), &s) == 0) {
    st.exists = true;
    st.mtimeNs = static_cast<std::int64_t>(s.st_mtim.tv_sec) * 1000000000LL + s.st_mtim.tv_nsec;
  }
  return st;
}
bool PosixPlatform::OpenDocument(const std::string&, const std::string&) { return false; }
bool PosixPlatform::OpenEditor(const std::string&, const std::string&, const std::string&) { return false; }
void PosixPlatform::StartCommandPrompt() {}
