#include "platform/posix/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace posix {
namespace {

// What a desktop launcher with no PATH at all would still find.
const char kDefaultPath[] = "/usr/local/bin:/usr/bin:/bin";

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// A pipe whose ends are close-on-exec and never take 0, 1 or 2: when Mirvan
// was started with a standard stream closed, a pipe end could land there and
// be clobbered by the child's own dup2 onto its standard streams.
bool MakePipe(int fds[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  for (int i = 0; i < 2; ++i) {
    if (fds[i] < 3) {
      int moved = ::fcntl(fds[i], F_DUPFD_CLOEXEC, 3);
      if (moved < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
      }
      ::close(fds[i]);
      fds[i] = moved;
    }
  }
  return true;
}

void SetNonBlocking(int fd) {
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

ssize_t ReadFull(int fd, void* buf, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    ssize_t n = ::read(fd, static_cast<char*>(buf) + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

pid_t WaitPid(pid_t pid, int* status, int options) {
  pid_t r;
  do {
    r = ::waitpid(pid, status, options);
  } while (r < 0 && errno == EINTR);
  return r;
}

void SleepMs(int ms) {
  struct timespec ts {
    ms / 1000, static_cast<long>(ms % 1000) * 1000000L
  };
  while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

// argv as execv wants it; built before fork, since the child may only make
// async-signal-safe calls.
std::vector<char*> ExecArgv(const std::vector<std::string>& argv) {
  std::vector<char*> out;
  out.reserve(argv.size() + 1);
  for (const std::string& a : argv) out.push_back(const_cast<char*>(a.c_str()));
  out.push_back(nullptr);
  return out;
}

// In the child, between fork and exec: a tool must not inherit the signal
// mask or ignored signals of the GUI (an ignored SIGPIPE or SIGINT survives
// exec), nor descriptors someone forgot to mark close-on-exec.
void ResetChildState() {
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  for (int sig = 1; sig < NSIG; ++sig) {
    if (sig != SIGKILL && sig != SIGSTOP) ::sigaction(sig, &dfl, nullptr);
  }
#if defined(__linux__) && defined(SYS_close_range)
  ::syscall(SYS_close_range, 3U, ~0U, 4U /* CLOSE_RANGE_CLOEXEC */);
#endif
}

[[noreturn]] void ChildFail(int errPipe) {
  int e = errno;
  ssize_t ignored = ::write(errPipe, &e, sizeof e);
  (void)ignored;
  ::_exit(127);
}

// The groups of the tools running now, so that they can be ended from a
// signal handler or at exit. Slots hold a group id or 0.
constexpr int kGroupSlots = 16;
std::atomic<pid_t> g_groups[kGroupSlots];

// How long tools may take to go after TERM when the bar ends, before their
// groups are killed: a tool that ignores TERM must not outlive the bar.
constexpr int kEndGraceMs = 500;

// The bar's end of the line to the watchdog, -1 when there is none.
std::atomic<int> g_watchdog{-1};

// A group started (+pgid) or gone (-pgid), told to the watchdog; never
// blocks and never raises SIGPIPE. Async-signal-safe.
void TellWatchdog(std::int32_t news) {
  const int fd = g_watchdog.load();
  if (fd >= 0) ::send(fd, &news, sizeof news, MSG_NOSIGNAL | MSG_DONTWAIT);
}

void AddGroup(pid_t pgid) {
  TellWatchdog(pgid);
  for (auto& slot : g_groups) {
    pid_t none = 0;
    if (slot.compare_exchange_strong(none, pgid)) return;
  }
}

void RemoveGroup(pid_t pgid) {
  TellWatchdog(-pgid);
  for (auto& slot : g_groups) {
    pid_t mine = pgid;
    if (slot.compare_exchange_strong(mine, 0)) return;
  }
}

// TERM (and CONT, for a stopped one) to each group, and KILL to what is left
// of them after the grace. `reap`: the leaders are our children, whose
// unreaped ends would keep their groups alive to kill(2). Async-signal-safe.
void EndGroups(const pid_t* groups, int count, bool reap) {
  bool any = false;
  for (int i = 0; i < count; ++i) {
    if (groups[i] <= 0) continue;
    ::kill(-groups[i], SIGTERM);
    ::kill(-groups[i], SIGCONT);
    any = true;
  }
  if (!any) return;
  for (int waited = 0; waited < kEndGraceMs; waited += 10) {
    bool alive = false;
    for (int i = 0; i < count && !alive; ++i) {
      if (groups[i] <= 0) continue;
      int status;
      if (reap) ::waitpid(groups[i], &status, WNOHANG);
      alive = ::kill(-groups[i], 0) == 0;
    }
    if (!alive) return;
    struct timespec tick {
      0, 10 * 1000000L
    };
    ::nanosleep(&tick, nullptr);
  }
  for (int i = 0; i < count; ++i) {
    if (groups[i] > 0) ::kill(-groups[i], SIGKILL);
  }
}

// The bar's end of the line it watches for an ending signal, -1 when the
// bar ends at once; set once the first such signal has come.
std::atomic<int> g_endInOrder{-1};
std::atomic<bool> g_ending{false};

void EndOnSignal(int sig) {
  EndRunningGroups();
  const int fd = g_endInOrder.load();
  if (fd >= 0 && !g_ending.exchange(true)) {
    const unsigned char number = static_cast<unsigned char>(sig);
    if (::write(fd, &number, 1) == 1) return;
  }
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void EndAtExit() { EndRunningGroups(); }

// The watchdog's life: it learns the tool groups from the bar and, once the
// bar is gone however it went (a SIGKILL gives it no chance to end them
// itself), ends those still there. It only reads, kills and sleeps.
[[noreturn]] void Watch(int fd) {
  pid_t groups[64] = {};
  const int slots = static_cast<int>(sizeof groups / sizeof groups[0]);
  for (;;) {
    std::int32_t news = 0;
    const ssize_t n = ::recv(fd, &news, sizeof news, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the bar has gone
    if (n != sizeof news || news == 0) continue;
    for (int i = 0; i < slots; ++i) {
      if (news > 0 ? groups[i] == 0 : groups[i] == -news) {
        groups[i] = news > 0 ? news : 0;
        break;
      }
    }
  }
  EndGroups(groups, slots, false);
  ::_exit(0);
}

// Started once, before the bar has threads or windows: a fork of the small
// process it is then, which leaves at once and whose child, the watchdog,
// is nobody's child of ours. It keeps one end of a socket; the bar's end
// closes when the bar ends, however it ends.
void StartWatchdog() {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return;
  const pid_t mid = ::fork();
  if (mid == 0) {
    if (::fork() != 0) ::_exit(0);
    // Its own group and session: a terminal's Ctrl+C or a kill of the bar's
    // group does not reach it.
    ::setsid();
#if defined(__linux__)
    ::prctl(PR_SET_NAME, "mirvan-watchdog");
#endif
    for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE}) ::signal(sig, SIG_IGN);
    ::signal(SIGTERM, SIG_DFL);
    // Nothing of the bar's stays open in it: not its terminal, not its
    // display, and above all not the bar's own end of the socket.
    const int devNull = ::open("/dev/null", O_RDWR);
    for (int standard = 0; standard < 3 && devNull >= 0; ++standard) ::dup2(devNull, standard);
    const int keep = ::fcntl(ends[1], F_DUPFD, 3);
    if (keep < 0) ::_exit(0);
    for (int fd = 3; fd < keep; ++fd) ::close(fd);
    long closed = -1;
#if defined(__linux__) && defined(SYS_close_range)
    closed = ::syscall(SYS_close_range, static_cast<unsigned>(keep) + 1, ~0U, 0U);
#endif
    if (closed != 0) {
      const long open = ::sysconf(_SC_OPEN_MAX);
      for (int fd = keep + 1; fd < (open > 0 && open < 65536 ? open : 65536); ++fd) ::close(fd);
    }
    Watch(keep);
  }
  ::close(ends[1]);
  if (mid < 0) {
    ::close(ends[0]);
    return;
  }
  int status;
  WaitPid(mid, &status, 0);
  g_watchdog.store(ends[0]);
}

// One posix_spawn: the child shares our memory until it execs (no copy of
// the bar's address space), gets the pipes as its standard streams, a
// process group of its own, every signal at its default and none blocked.
int SpawnTool(pid_t* pid, const char* path, char* const* argv, int in, int out) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  if (int e = posix_spawn_file_actions_init(&actions)) return e;
  if (int e = posix_spawnattr_init(&attr)) {
    posix_spawn_file_actions_destroy(&actions);
    return e;
  }
  posix_spawn_file_actions_adddup2(&actions, in, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, out, 2);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Descriptors someone forgot to mark close-on-exec stay with the bar.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  int e = posix_spawn(pid, path, &actions, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  return e;
}

int OpenPidFd(pid_t pid) {
#if defined(__linux__) && defined(SYS_pidfd_open)
  long fd = ::syscall(SYS_pidfd_open, pid, 0);
  if (fd >= 0) {
    ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
    return static_cast<int>(fd);
  }
#else
  (void)pid;
#endif
  return -1;
}

}  // namespace

std::string ResolveProgram(const std::string& program, const char* path) {
  if (program.empty()) return std::string();
  if (program.find('/') != std::string::npos) return IsExecutableFile(program) ? program : std::string();
  if (!path) path = std::getenv("PATH");
  if (!path) path = kDefaultPath;
  std::string list(path);
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string dir = list.substr(start, end - start);
    start = end + 1;
    if (dir.empty()) continue;  // not "the current directory": a document folder is no program folder
    if (dir.back() != '/') dir += '/';
    std::string candidate = dir + program;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return std::string();
}

int DecodeWaitStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 128;
}

ChildProcess::~ChildProcess() {
  if (Running()) Stop(1000);
  CloseFds();
}

void ChildProcess::CloseFds() {
  CloseFd(m_out);
  CloseFd(m_in);
  CloseFd(m_exitFd);
  m_pendingIn.clear();
}

bool ChildProcess::Start(const std::vector<std::string>& argv, int* error) {
  if (error) *error = 0;
  if (argv.empty() || m_pid > 0) {
    if (error) *error = EINVAL;
    return false;
  }
  int outPipe[2], inPipe[2];
  if (!MakePipe(outPipe)) {
    if (error) *error = errno;
    return false;
  }
  if (!MakePipe(inPipe)) {
    int e = errno;
    ::close(outPipe[0]);
    ::close(outPipe[1]);
    if (error) *error = e;
    return false;
  }
  std::vector<char*> args = ExecArgv(argv);
  pid_t pid = -1;
  int e = SpawnTool(&pid, args[0], args.data(), inPipe[0], outPipe[1]);
  if (e == ENOEXEC) {
    // A script without "#!": the shell runs it, as execvp would.
    std::vector<std::string> shArgv{"/bin/sh"};
    shArgv.insert(shArgv.end(), argv.begin(), argv.end());
    std::vector<char*> shArgs = ExecArgv(shArgv);
    e = SpawnTool(&pid, shArgs[0], shArgs.data(), inPipe[0], outPipe[1]);
  }
  ::close(inPipe[0]);
  ::close(outPipe[1]);
  if (e != 0) {
    ::close(inPipe[1]);
    ::close(outPipe[0]);
    if (error) *error = e;
    return false;
  }
  AddGroup(pid);
  int pidFd = OpenPidFd(pid);

  m_pid = pid;
  m_exited = false;
  m_status = 0;
  m_signal = 0;
  m_out = outPipe[0];
  m_in = inPipe[1];
  m_exitFd = pidFd;
  SetNonBlocking(m_out);
  SetNonBlocking(m_in);
  return true;
}

long ChildProcess::ReadOutput(char* buf, std::size_t size) {
  if (m_out < 0) return 0;
  for (;;) {
    ssize_t n = ::read(m_out, buf, size);
    if (n > 0) return static_cast<long>(n);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return -1;
    CloseFd(m_out);
    return 0;
  }
}

void ChildProcess::WriteInput(const std::string& bytes) {
  if (m_in < 0) return;
  m_pendingIn += bytes;
  FlushInput();
}

bool ChildProcess::FlushInput() {
  if (m_in < 0) {
    m_pendingIn.clear();
    return true;
  }
  if (m_pendingIn.empty()) return true;
  // A tool that has closed its stdin would send us SIGPIPE and end the bar:
  // hold the signal back for the write, and swallow it if our write raised it.
  sigset_t pipeSet, oldMask, pending;
  sigemptyset(&pipeSet);
  sigaddset(&pipeSet, SIGPIPE);
  sigemptyset(&pending);
  ::sigpending(&pending);
  bool wasPending = sigismember(&pending, SIGPIPE) == 1;
  ::pthread_sigmask(SIG_BLOCK, &pipeSet, &oldMask);
  bool broken = false;
  while (!m_pendingIn.empty()) {
    ssize_t n = ::write(m_in, m_pendingIn.data(), m_pendingIn.size());
    if (n > 0) {
      m_pendingIn.erase(0, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    broken = true;
    break;
  }
  if (broken && !wasPending) {
    struct timespec zero {
      0, 0
    };
    while (::sigtimedwait(&pipeSet, nullptr, &zero) < 0 && errno == EINTR) {
    }
  }
  ::pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
  if (broken) {
    CloseFd(m_in);
    m_pendingIn.clear();
  }
  return m_pendingIn.empty();
}

void ChildProcess::CloseInput() {
  FlushInput();
  CloseFd(m_in);
  m_pendingIn.clear();
}

bool ChildProcess::HasEnded() const {
  if (m_pid <= 0) return false;
  if (m_exited) return true;
  siginfo_t info {};
  int r;
  do {
    r = ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT);
  } while (r < 0 && errno == EINTR);
  return r < 0 || info.si_pid == m_pid;
}

void ChildProcess::Reaped(pid_t r, int st) {
  m_exited = true;
  // ECHILD: someone else reaped it; it is gone, with no status to tell.
  m_status = r == m_pid ? DecodeWaitStatus(st) : 128;
  m_signal = r == m_pid && WIFSIGNALED(st) ? WTERMSIG(st) : 0;
  RemoveGroup(m_pid);
  CloseFd(m_exitFd);
}

bool ChildProcess::TryWait(int* status) {
  if (m_pid <= 0) return false;
  if (!m_exited) {
    int st = 0;
    pid_t r = WaitPid(m_pid, &st, WNOHANG);
    if (r == 0) return false;
    Reaped(r, st);
  }
  if (status) *status = m_status;
  return true;
}

int ChildProcess::Wait() {
  if (m_pid <= 0) return -1;
  if (!m_exited) {
    int st = 0;
    const pid_t r = WaitPid(m_pid, &st, 0);
    Reaped(r, st);
  }
  return m_status;
}

void ChildProcess::SignalGroup(int sig) {
  // Only while the leader is unreaped: its pid still reserves the group id.
  if (!Running()) return;
  if (::kill(-m_pid, sig) != 0) ::kill(m_pid, sig);
}

int ChildProcess::Stop(int graceMs) {
  if (m_pid <= 0) return -1;
  if (m_exited) return m_status;
  SignalGroup(SIGTERM);
  for (int waited = 0; waited < graceMs && !HasEnded(); waited += 10) SleepMs(10);
  // Whatever of the group outlived the TERM (or ignores it) goes now.
  SignalGroup(SIGKILL);
  return Wait();
}

void PrepareProcessSignals() {
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  ::sigaction(SIGCHLD, &dfl, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::pthread_sigmask(SIG_SETMASK, &none, nullptr);
  struct sigaction end {};
  end.sa_handler = EndOnSignal;
  // One ending at a time: a second signal waits until the first has ended
  // the tools, and then ends the bar as it would have.
  sigemptyset(&end.sa_mask);
  for (int sig : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) sigaddset(&end.sa_mask, sig);
  for (int sig : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
    struct sigaction old {};
    // A signal the starter chose to ignore (nohup) stays ignored.
    if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    ::sigaction(sig, &end, nullptr);
  }
  static bool registered = false;
  if (!registered) {
    registered = std::atexit(EndAtExit) == 0;
    StartWatchdog();
  }
}

int EndInOrderOnSignals() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  g_endInOrder.store(ends[1]);
  return ends[0];
}

void EndBySignal(int sig) {
  ::signal(sig, SIG_DFL);
  sigset_t just;
  sigemptyset(&just);
  sigaddset(&just, sig);
  ::pthread_sigmask(SIG_UNBLOCK, &just, nullptr);
  ::raise(sig);
  ::_exit(128 + sig);
}

void EndRunningGroups() {
  pid_t groups[kGroupSlots];
  for (int i = 0; i < kGroupSlots; ++i) groups[i] = g_groups[i].load();
  EndGroups(groups, kGroupSlots, true);
  // Ended here: the watchdog need not look at them again.
  for (pid_t pgid : groups) {
    if (pgid > 0) TellWatchdog(-pgid);
  }
}

bool SpawnDetached(const std::vector<std::string>& argv, const std::string& dir) {
  if (argv.empty()) return false;
  std::vector<std::string> words = argv;
  words[0] = ResolveProgram(argv[0]);
  if (words[0].empty()) return false;
  std::vector<char*> args = ExecArgv(words);
  int errPipe[2];
  if (!MakePipe(errPipe)) return false;

  pid_t mid = ::fork();
  if (mid == 0) {
    // The intermediate child leaves at once; the program is re-parented to
    // init, which reaps it, and sits in a session of its own.
    ::setsid();
    pid_t pid = ::fork();
    if (pid < 0) ChildFail(errPipe[1]);
    if (pid > 0) ::_exit(0);
    ResetChildState();
    if (!dir.empty() && ::chdir(dir.c_str()) != 0) ChildFail(errPipe[1]);
    int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0 && devNull != 0) {
      ::dup2(devNull, 0);
      ::close(devNull);
    }
    ::execv(args[0], args.data());
    ChildFail(errPipe[1]);
  }
  ::close(errPipe[1]);
  if (mid < 0) {
    ::close(errPipe[0]);
    return false;
  }
  int st = 0;
  WaitPid(mid, &st, 0);
  int childErr = 0;
  ssize_t n = ReadFull(errPipe[0], &childErr, sizeof childErr);
  ::close(errPipe[0]);
  return n == 0 && WIFEXITED(st) && WEXITSTATUS(st) == 0;
}

}  // namespace posix

std::unique_ptr<IChildProcess> MakeChildProcess() { return std::make_unique<posix::ChildProcess>(); }

std::string SignalName(int sig) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
  if (const char* abbrev = ::sigabbrev_np(sig)) return std::string("SIG") + abbrev;
#endif
  return "signal " + std::to_string(sig);
}
