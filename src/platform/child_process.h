// One waited-for tool process as the console sees it: started with its
// output and input on pipes, in a process group of its own, read and written
// without blocking, and ended as a group. The console window and the
// headless console use only this; the POSIX class sits behind MakeChildProcess.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class IChildProcess {
 public:
  virtual ~IChildProcess() = default;  // a tool still running is ended first

  // Starts argv[0] (a path, not searched) with exactly argv in the current
  // working directory. false when it could not be started; an errno-like
  // reason in *error if given.
  virtual bool Start(const std::vector<std::string>& argv, int* error = nullptr) = 0;
  virtual bool Running() const = 0;

  // Descriptors to wait on: output readable (-1 once it reached its end),
  // input writable (-1 once closed), and the tool's end (-1 where the system
  // cannot tell it by a descriptor; then TryWait must be polled).
  virtual int OutputFd() const = 0;
  virtual int InputFd() const = 0;
  virtual int ExitFd() const = 0;

  // >0 bytes read, 0 at the end of the output, -1 when nothing waits now.
  virtual long ReadOutput(char* buf, std::size_t size) = 0;
  // Queues bytes for the tool's input and writes what fits now.
  virtual void WriteInput(const std::string& bytes) = 0;
  // Writes queued input; true when nothing is left queued.
  virtual bool FlushInput() = 0;
  virtual bool InputPending() const = 0;
  virtual void CloseInput() = 0;

  // Whether the tool has ended, without collecting its status.
  virtual bool HasEnded() const = 0;
  // Collects the status if the tool has ended: true then, with the status in
  // *status (the exit code, or 128 + the signal that ended it).
  virtual bool TryWait(int* status) = 0;
  virtual int Wait() = 0;
  // The signal that ended the tool, 0 when it exited by itself or still runs.
  virtual int EndSignal() const = 0;

  // Asks the tool's whole group to end (TERM); Kill ends what is left of it.
  virtual void Terminate() = 0;
  virtual void Kill() = 0;
  // Terminate, Kill after graceMs, collect; the status.
  virtual int Stop(int graceMs) = 0;
};

std::unique_ptr<IChildProcess> MakeChildProcess();

// "SIGSEGV" for 11: the name a user can look up.
std::string SignalName(int sig);
