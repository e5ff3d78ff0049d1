// The file watch's latency: from the end of a save (in place, and by
// writing a new file and renaming it over the old one) to the watch
// reporting the change, as a markdown table.
//
//   mirvan_watch_bench [saves]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_watch.h"

namespace {

using Clock = std::chrono::steady_clock;

void Save(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << bytes;
}

// Milliseconds from the save's end to the report, for each save.
std::vector<double> Latencies(IFileWatch& watch, const std::string& path, int saves, bool rename) {
  std::vector<double> ms;
  for (int i = 0; i < saves; ++i) {
    const std::string bytes = "\\documentclass{article}\n% save " + std::to_string(i) + "\n";
    Clock::time_point saved;
    if (rename) {
      Save(path + ".new", bytes);
      std::rename((path + ".new").c_str(), path.c_str());
    } else {
      Save(path, bytes);
    }
    saved = Clock::now();
    for (bool seen = false; !seen && Clock::now() - saved < std::chrono::seconds(5);) {
      watch.Wait(1000);
      for (const std::string& p : watch.Poll()) seen = seen || p == path;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - saved).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int saves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  char tmpl[] = "/tmp/mirvan-watch-XXXXXX";
  if (!::mkdtemp(tmpl)) return 1;
  const std::string path = std::string(tmpl) + "/main.tex";
  Save(path, "start\n");
  std::unique_ptr<IFileWatch> watch = MakeFileWatch();
  watch->Watch({path});
  const std::vector<double> inPlace = Latencies(*watch, path, saves, false);
  const std::vector<double> renamed = Latencies(*watch, path, saves, true);
  std::remove(path.c_str());
  ::rmdir(tmpl);
  std::printf("| Save to the watch's report (%d saves) | Median | Slowest |\n|---|---|---|\n", saves);
  std::printf("| written in place | %.2f ms | %.2f ms |\n", inPlace[inPlace.size() / 2], inPlace.back());
  std::printf("| written anew and renamed over | %.2f ms | %.2f ms |\n", renamed[renamed.size() / 2], renamed.back());
  return 0;
}
