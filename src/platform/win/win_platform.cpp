#include "platform/win/win_platform.h"

#include <direct.h>
#include <process.h>
#include <sys/stat.h>
#include <sys/types.h>
#include "platform/win/win_api.h"
#include "text/mbcs.h"

// Every Windows program of ours starts with one of these: the double-byte
// rules follow the system's code page from then on.
WinPlatform::WinPlatform() : m_values(WindowsPlatformValues()) {
  mbcs::SetSystemCodePage(GetACP() == 932 ? mbcs::CodePage::Cp932 : mbcs::CodePage::Utf8);
}

std::string WinPlatform::QuoteArg(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
  std::string out = "\"";
  std::size_t backslashes = 0;
  // The runtime reads the command line in the system code page: the second
  // byte of a double-byte character is never a backslash to it (表 ends in
  // 0x5C), so it must not be doubled before the closing quote either.
  const mbcs::CodePage cp = mbcs::SystemCodePage();
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    if (i + 1 < word.size() && mbcs::IsLeadByte(static_cast<unsigned char>(c), cp)) {
      out.append(backslashes, '\\');
      backslashes = 0;
      out += c;
      out += word[++i];
      continue;
    }
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  out += '"';
  return out;
}

namespace {

// _spawnvp builds the child's command line by joining argv with blanks, so
// every word is quoted here: a program under "Program Files" or a document
// named "my paper" must reach the tool as one argument.
intptr_t Spawn(int mode, const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> quoted;
  quoted.reserve(args.size() + 1);
  quoted.push_back(WinPlatform::QuoteArg(program));
  for (const auto& a : args) quoted.push_back(WinPlatform::QuoteArg(a));
  std::vector<const char*> argv;
  for (const auto& q : quoted) argv.push_back(q.c_str());
  argv.push_back(nullptr);
  return _spawnvp(mode, program.c_str(), argv.data());
}

}  // namespace

int WinPlatform::RunTool(const std::string& program, const std::vector<std::string>& args) {
  return static_cast<int>(Spawn(_P_WAIT, program, args));
}

bool WinPlatform::StartDetached(const std::vector<std::string>& argv, const std::string& dir) {
  if (argv.empty()) return false;
  // The program starts in the folder we are in: enter `dir` for the start
  // and come back.
  std::string saved;
  if (!dir.empty() && (!GetCwd(saved) || !ChangeDir(dir))) return false;
  const intptr_t r = Spawn(_P_NOWAIT, argv[0], std::vector<std::string>(argv.begin() + 1, argv.end()));
  if (!saved.empty()) ChangeDir(saved);
  return r != -1;
}

bool WinPlatform::ChangeDir(const std::string& dir) { return _chdir(dir.c_str()) == 0; }

bool WinPlatform::GetCwd(std::string& out) {
  char buf[256];
  if (!_getcwd(buf, sizeof buf)) return false;
  out = buf;
  return true;
}

FileStatus WinPlatform::Stat(const std::string& path) {
  FileStatus st;
  struct _stat64 s;
  if (_stat64(path.c_str(), &s) == 0) {
    st.exists = true;
    // CFile::GetStatus reports whole seconds.
    st.mtimeNs = static_cast<std::int64_t>(s.st_mtime) * 1000000000LL;
  }
  return st;
}

bool WinPlatform::OpenDocument(const std::string& file, const std::string& dir) {
  HINSTANCE h = ShellExecuteA(nullptr, "open", file.c_str(), nullptr, dir.empty() ? nullptr : dir.c_str(),
                              SW_SHOW);
  return reinterpret_cast<INT_PTR>(h) > 32;
}

bool WinPlatform::OpenEditor(const std::string& editor, const std::string& documentPath,
                             const std::string& dir) {
  const std::string params = "\"" + documentPath + "\"";
  HINSTANCE h = ShellExecuteA(nullptr, "open", editor.c_str(), params.c_str(),
                              dir.empty() ? nullptr : dir.c_str(), SW_SHOW);
  return reinterpret_cast<INT_PTR>(h) > 32;
}

void WinPlatform::StartCommandPrompt() {
  const char* cmd = "c:\\windows\\system32\\cmd.exe";
  _spawnlp(_P_NOWAIT, cmd, cmd, static_cast<const char*>(nullptr));
}
