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

// The job every tool runs in. Only this process holds its handle, which the
// system closes when the bar ends, however it ends (a crash, the task
// manager); closing it ends every process in the job, the tools' own
// children included, so no tool outlives the bar.
HANDLE ToolJob() {
  static const HANDLE job = [] {
    HANDLE h = CreateJobObjectA(nullptr, nullptr);
    if (!h) return h;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(h, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      CloseHandle(h);
      h = nullptr;
    }
    return h;
  }();
  return job;
}

}  // namespace

int WinPlatform::RunTool(const std::string& program, const std::vector<std::string>& args) {
  // _spawnvp builds the child's command line by joining argv with blanks, so
  // every word is quoted here: a program under "Program Files" or a document
  // named "my paper" must reach the tool as one argument.
  std::vector<std::string> quoted;
  quoted.reserve(args.size() + 1);
  quoted.push_back(QuoteArg(program));
  for (const auto& a : args) quoted.push_back(QuoteArg(a));
  std::vector<const char*> argv;
  for (const auto& q : quoted) argv.push_back(q.c_str());
  argv.push_back(nullptr);
  // Started without waiting so that it joins the job at once: the tools
  // the compilers start come later still, and join with their parent.
  const intptr_t started = _spawnvp(_P_NOWAIT, program.c_str(), argv.data());
  if (started == -1) return -1;
  HANDLE process = reinterpret_cast<HANDLE>(started);
  // Where the job cannot be had (a system that refuses nested jobs), the
  // tool runs all the same.
  if (HANDLE job = ToolJob()) AssignProcessToJobObject(job, process);
  // The bar's window keeps being drawn while the tool runs: its messages are
  // handled meanwhile, and the bar takes no input until the action ends.
  // Waiting without them would leave the window blank ("not responding")
  // and hand every click made meanwhile to the bar after the tool.
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) break;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // Kept for the loop that owns it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  const bool known = GetExitCodeProcess(process, &code) != 0;
  CloseHandle(process);
  // Ctrl+C in the tool's console, or closing that console, ends the tool
  // with this status: the user stopped it.
  if (known && code == kStoppedByUser) m_stopped = true;
  return known ? static_cast<int>(code) : -1;
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
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!path.empty() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    st.exists = true;
    // The file system's own 100 ns ticks: a document compiled twice within
    // one second still gets a strictly newer DVI.
    ULARGE_INTEGER ticks;
    ticks.LowPart = data.ftLastWriteTime.dwLowDateTime;
    ticks.HighPart = data.ftLastWriteTime.dwHighDateTime;
    constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000LL;
    st.mtimeNs = (static_cast<std::int64_t>(ticks.QuadPart) - kTicksFrom1601To1970) * 100;
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
