#include "platform/posix/headless_console.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/child_process.h"
#include "platform/texts.h"

namespace {

void WriteToStderr(const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(2, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

// How much output is kept to look for an answer's trigger.
const std::size_t kSeenLimit = 1 << 20;

}  // namespace

HeadlessConsole::HeadlessConsole() : m_sink(WriteToStderr) {}

void HeadlessConsole::AddAnswer(const std::string& trigger, const std::string& line) {
  m_answers.push_back({trigger, line});
}

void HeadlessConsole::Line(const std::string& text) {
  if (m_sink) m_sink((text + "\n").data(), text.size() + 1);
}

void HeadlessConsole::EndAction(const ActionVerdict& verdict) {
  if (!verdict.text.empty()) Line(verdict.text);
}

void HeadlessConsole::Missing(const std::string& program) { Line(tool_text::Missing(program)); }

int HeadlessConsole::Run(const std::vector<std::string>& argv, const std::string&, const std::string&) {
  std::unique_ptr<IChildProcess> process = MakeChildProcess();
  IChildProcess& child = *process;
  if (!child.Start(argv)) return -1;
  if (m_answers.empty()) child.CloseInput();

  std::string seen;
  auto pump = [&]() {
    char buf[65536];
    for (;;) {
      long n = child.ReadOutput(buf, sizeof buf);
      if (n <= 0) return;
      std::size_t size = static_cast<std::size_t>(n);
      if (m_sink) m_sink(buf, size);
      if (m_answers.empty()) continue;
      seen.append(buf, size);
      std::size_t at;
      while (!m_answers.empty() && (at = seen.find(m_answers.front().trigger)) != std::string::npos) {
        child.WriteInput(m_answers.front().line + "\n");
        seen.erase(0, at + m_answers.front().trigger.size());
        m_answers.pop_front();
        if (m_answers.empty()) child.CloseInput();
      }
      if (seen.size() > kSeenLimit) seen.erase(0, seen.size() - kSeenLimit / 2);
    }
  };

  for (;;) {
    pollfd fds[3];
    nfds_t count = 0;
    if (child.OutputFd() >= 0) fds[count++] = {child.OutputFd(), POLLIN, 0};
    if (child.ExitFd() >= 0) fds[count++] = {child.ExitFd(), POLLIN, 0};
    if (child.InputPending() && child.InputFd() >= 0) fds[count++] = {child.InputFd(), POLLOUT, 0};
    // Without an exit descriptor the end of the tool is only seen by polling.
    int timeout = child.ExitFd() >= 0 ? -1 : 50;
    ::poll(fds, count, timeout);  // EINTR or not, look at everything again
    pump();
    child.FlushInput();
    int status = 0;
    if (child.TryWait(&status)) {
      pump();  // what the tool wrote just before it ended
      if (child.EndSignal() != 0) Line(tool_text::EndedBySignal(argv[0], child.EndSignal()));
      return status;
    }
  }
}
