// Starting programs on POSIX without a shell: PATH lookup, a waited-for child
// with its output and input on pipes, and detached starts for the editor and
// the terminal. Toolkit-free; the consoles reach it as an IChildProcess.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/child_process.h"

namespace posix {

// The program execvp would run, but searching PATH only: a name holding '/'
// is taken as it is, a bare name is looked for in each non-empty PATH entry
// (an empty entry does not mean the current directory here). `path` is the
// search list; nullptr means getenv("PATH"), and an unset PATH a default.
// The result is a regular file we may execute, or "" when there is none.
std::string ResolveProgram(const std::string& program, const char* path = nullptr);

// The status a waited-for child reports: its exit code, or 128 + the signal
// that ended it, the way shells report it. Never -1 and never 0 for a kill.
int DecodeWaitStatus(int status);

// What the bar must do once at start-up, before it has threads: a parent
// may hand us SIGCHLD ignored (the kernel then reaps our tools and their
// status is lost) or signals blocked; and the running tools' groups are
// ended whenever the bar ends, by a signal (TERM, HUP, INT, QUIT), by exit
// (the X connection lost), or outright (SIGKILL, a crash), which a watchdog
// process started here sees.
void PrepareProcessSignals();
// Ends every tool group still running: TERM (and CONT for a stopped one),
// then KILL for what is left after half a second. Async-signal-safe.
void EndRunningGroups();
// For a bar that ends in good order on TERM, HUP, INT and QUIT (the history
// saved): from now on the first such signal ends the tools, then writes its
// number to the descriptor returned, which the bar watches, and leaves the
// process running; a second one ends it at once. -1 when it cannot be had.
int EndInOrderOnSignals();
// Ends the process as signal `sig` would have ended it.
[[noreturn]] void EndBySignal(int sig);

class ChildProcess : public IChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() override;  // ends a tool still running (group TERM, then KILL) and reaps it
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts argv[0] (a path, not searched) with exactly argv, in the current
  // working directory, in a process group of its own, stdout and stderr on
  // one pipe, stdin on another. false when it could not be started (missing,
  // not executable, exec refused); errno-like reason in *error if given.
  bool Start(const std::vector<std::string>& argv, int* error = nullptr) override;

  bool Running() const override { return m_pid > 0 && !m_exited; }
  pid_t Pid() const { return m_pid; }

  // Non-blocking read end of the merged output, -1 once it reached EOF.
  int OutputFd() const override { return m_out; }
  // Reads what is available: >0 bytes, 0 at end of output (the fd is then
  // closed), -1 when nothing is waiting now.
  long ReadOutput(char* buf, std::size_t size) override;

  // Queues bytes for the tool's stdin and writes as much as fits now; the
  // rest goes out with FlushInput. A tool that has closed its stdin just
  // loses them (no SIGPIPE reaches us).
  void WriteInput(const std::string& bytes) override;
  // Writes queued input; true when nothing is left queued.
  bool FlushInput() override;
  bool InputPending() const override { return !m_pendingIn.empty(); }
  int InputFd() const override { return m_in; }
  // EOF for the tool's stdin (after the queued bytes would block, they are dropped).
  void CloseInput() override;

  // A descriptor that becomes readable when the tool exits (Linux pidfd), or
  // -1 where the system has none and callers must poll TryWait.
  int ExitFd() const override { return m_exitFd; }

  // Whether the tool has ended, without reaping it: until it is reaped its
  // pid keeps the process group's id from being reused.
  bool HasEnded() const override;
  // Reaps the tool if it has ended; true then, with its status in *status.
  bool TryWait(int* status) override;
  // Waits for the end of the tool; its status.
  int Wait() override;

  // SIGTERM / SIGKILL to the tool's whole process group.
  void SignalGroup(int sig);
  void Terminate() override { SignalGroup(SIGTERM); }
  void Kill() override { SignalGroup(SIGKILL); }
  // Ends the tool: TERM to the group, KILL after `graceMs`; reaps; its status.
  int Stop(int graceMs = 1000) override;

  int Status() const { return m_status; }
  int EndSignal() const override { return m_signal; }

 private:
  void CloseFds();
  void Reaped(pid_t r, int st);

  pid_t m_pid = -1;
  bool m_exited = false;
  int m_status = 0;
  int m_signal = 0;
  int m_out = -1;
  int m_in = -1;
  int m_exitFd = -1;
  std::string m_pendingIn;
};

// Starts argv[0] (resolved like ResolveProgram) detached: in its own session,
// in `dir` (the current directory when empty), stdin from /dev/null, not
// waited for and never left a zombie. false when it could not be started,
// including a `dir` that cannot be entered.
bool SpawnDetached(const std::vector<std::string>& argv, const std::string& dir);

}  // namespace posix
