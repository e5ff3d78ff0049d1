// Stands in for a TeX tool when scripts/bench measures the compile driver,
// as tests/e2e/wrappers/record-and-run does for the tests: it writes the
// same log lines and runs the real program from /usr/bin (or
// $MIRVAN_REAL_BIN) with the same arguments and standard streams. A shell
// script takes several milliseconds to start, which the bar would be
// charged with; this takes a fraction of one, so the driver's own time
// between the tools is what is left.
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string Now() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%lld.%06ld", static_cast<long long>(t.tv_sec), t.tv_nsec / 1000);
  return buf;
}

bool AppendTo(const std::string& path, const std::string& line) {
  std::FILE* f = std::fopen(path.c_str(), "a");
  if (!f) return false;
  const bool ok = std::fputs(line.c_str(), f) >= 0;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string start = Now();
  std::string tool = argc > 0 ? argv[0] : "";
  tool = tool.substr(tool.rfind('/') + 1);
  const char* dir = std::getenv("MIRVAN_REAL_BIN");
  std::string real = std::string(dir ? dir : "/usr/bin") + "/" + tool;
  std::vector<char*> args(argv, argv + argc);
  args.push_back(nullptr);
  args[0] = &real[0];
  const char* log = std::getenv("MIRVAN_TOOL_LOG");
  if (!log || !*log) {
    execv(real.c_str(), args.data());
    std::perror(real.c_str());
    return 127;
  }

  std::string line = tool;
  char cwd[4096];
  line += '\t';
  if (getcwd(cwd, sizeof cwd)) line += cwd;
  for (int i = 1; i < argc; ++i) line += std::string("\t") + argv[i];
  AppendTo(log, line + "\n");

  pid_t pid = -1;
  int status = 127;
  if (posix_spawn(&pid, real.c_str(), nullptr, nullptr, args.data(), environ) == 0) {
    int w = 0;
    while (waitpid(pid, &w, 0) < 0 && errno == EINTR) {
    }
    status = WIFEXITED(w) ? WEXITSTATUS(w) : 128 + WTERMSIG(w);
  } else {
    std::fprintf(stderr, "%s: cannot start\n", real.c_str());
  }
  AppendTo(std::string(log) + ".times", tool + "\t" + start + "\t" + Now() + "\t" + std::to_string(status) + "\n");
  return status;
}
