#include "platform/win/win_platform.h"

#include <direct.h>
#include <process.h>
#include <sys/stat.h>
#include <sys/types.h>
#include "platform/texts.h"
#include "platform/win/command_line.h"
#include "platform/file_watch.h"
#include "platform/win/win_api.h"
#include "text/mbcs.h"

namespace {

// %1, %2, %3 of `text` filled in one pass: a "%2" inside the first never
// takes the second.
std::string Fill(const char* text, const std::string (&with)[3]) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '3') {
      out += with[p[1] - '1'];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

const char* HazardName(BatchHazard h) {
  switch (h) {
    case BatchHazard::Percent: return msg::kBatchPercent;
    case BatchHazard::Quote: return msg::kBatchQuote;
    case BatchHazard::LineBreak: return msg::kBatchLineBreak;
    default: return msg::kBatchBrokenCharacter;
  }
}

void RefuseHazards(const std::string& script, const std::string& word) {
  const BatchHazard h = BatchHazardIn(word);
  if (h == BatchHazard::None) return;
  throw ToolRefused(Fill(msg::kBatchWordRefused, {script, word, HazardName(h)}));
}

std::string SystemCommandInterpreter() {
  char dir[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir, n < MAX_PATH ? n : 0) + "\\cmd.exe";
}

}  // namespace

// Every Windows program of ours starts with one of these: the double-byte
// rules follow the system's code page from then on.
WinPlatform::WinPlatform() : m_values(WindowsPlatformValues()) {
  mbcs::SetSystemCodePage(GetACP() == 932 ? mbcs::CodePage::Cp932 : mbcs::CodePage::Utf8);
}

std::string WinPlatform::QuoteArg(const std::string& word, bool always) {
  if (!always && !word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
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

std::string WinPlatform::BatchArguments(const std::string& script, const std::vector<std::string>& args) {
  RefuseHazards(script, script);
  // /s: the first and the last quote of what follows /c go, the rest runs
  // as it stands.
  std::string line = "/d /v:off /s /c \"" + QuoteArg(script, true);
  for (const std::string& a : args) {
    RefuseHazards(script, a);
    line += ' ' + QuoteArg(a, true);
  }
  return line + '"';
}

std::string WinPlatform::FindProgram(const std::string& program) {
  if (program.empty()) return std::string();
  std::string path;
  if (const DWORD n = GetEnvironmentVariableA("PATH", nullptr, 0)) {
    path.resize(n);
    path.resize(GetEnvironmentVariableA("PATH", &path[0], n));
  }
  for (const std::string& file : ProgramCandidates(program, path)) {
    const DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return file;
  }
  return std::string();
}

int WinPlatform::RunTool(const std::string& program, const std::vector<std::string>& args) {
  // The program is looked up here rather than by _spawnvp, so that what is
  // judged is what runs: a batch file, wherever it was found, goes to
  // cmd.exe, which would read an & or | in a document's name as a command
  // of its own. (Wine's _spawnvp also gave up at an empty PATH element.)
  const std::string file = FindProgram(program);
  if (file.empty()) return -1;
  std::vector<std::string> words;
  std::string started = file;
  if (IsBatchFile(file)) {
    char full[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(file.c_str(), MAX_PATH, full, nullptr);
    const std::string script = n > 0 && n < MAX_PATH ? std::string(full, n) : file;
    started = SystemCommandInterpreter();
    words = {QuoteArg(started), BatchArguments(script, args)};
  } else {
    // _spawnv builds the child's command line by joining argv with blanks,
    // so every word is quoted here: a program under "Program Files" or a
    // document named "my paper" must reach the tool as one argument.
    words.push_back(QuoteArg(program));
    for (const auto& a : args) words.push_back(QuoteArg(a));
  }
  std::vector<const char*> argv;
  for (const auto& w : words) argv.push_back(w.c_str());
  argv.push_back(nullptr);
  // Started without waiting so that it joins the job at once: the tools
  // the compilers start come later still, and join with their parent.
  const intptr_t spawned = _spawnv(_P_NOWAIT, started.c_str(), argv.data());
  if (spawned == -1) return -1;
  HANDLE process = reinterpret_cast<HANDLE>(spawned);
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

bool WinPlatform::StartDetached(const std::vector<std::string>& argv, const std::string& dir) {
  if (argv.empty()) return false;
  // _spawnvp joins its words with blanks: each is quoted to stay one.
  std::vector<std::string> quoted;
  for (const std::string& a : argv) quoted.push_back(QuoteArg(a));
  std::vector<const char*> words;
  for (const std::string& q : quoted) words.push_back(q.c_str());
  words.push_back(nullptr);
  // The program starts in the folder we are in: enter `dir` for the start
  // and come back.
  std::string saved;
  if (!dir.empty() && (!GetCwd(saved) || !ChangeDir(dir))) return false;
  const intptr_t started = _spawnvp(_P_NOWAIT, argv[0].c_str(), words.data());
  if (!saved.empty()) ChangeDir(saved);
  if (started == -1) return false;
  CloseHandle(reinterpret_cast<HANDLE>(started));
  return true;
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

std::unique_ptr<IFileWatch> WinPlatform::MakeFileWatch() { return ::MakeFileWatch(); }
