// Reading and writing a big Mirvan.ini: a file of 10 MB of lines without
// '=' (what a stray editor or a copied log can leave), with the real keys at
// its end, last changed a minute ago. Times one read, the reads and the
// unchanged start-up write the bar makes while it opens, and the history
// write it makes when it closes. Prints a markdown table.
//
//   mirvan_ini_bench [megabytes]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <vector>

#include "config/ini_profile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  const double mb = argc > 1 ? std::atof(argv[1]) : 10.0;
  char folder[] = "/tmp/mirvan-ini-bench-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  const std::string path = std::string(folder) + "/Mirvan.ini";

  const std::string line = "this line has no equals sign and is not a section either 0123456789\n";
  std::string text = "[Junk]\n";
  const std::size_t size = static_cast<std::size_t>(mb * 1024 * 1024);
  while (text.size() + line.size() < size) text += line;
  text += "[Settings]\nTeX=platex\nBib=pbibtex\nPdfNShow=0\nPdfNeShow=0\nPdfSizeNo=1\n[RFL]\nFile0=/w/paper.tex\n";
  std::ofstream(path, std::ios::binary) << text;
  const struct timespec aMinuteAgo[2] = {{time(nullptr) - 60, 0}, {time(nullptr) - 60, 0}};
  utimensat(AT_FDCWD, path.c_str(), aMinuteAgo, 0);

  IniProfile ini(path);
  auto t0 = Clock::now();
  const std::string tex = ini.GetProfileString("Settings", "TeX", "");
  const auto oneRead = Clock::now() - t0;

  // What the bar reads and writes while it opens: the start-up rule, the
  // history and the tool configuration.
  IniProfile opened(path);
  t0 = Clock::now();
  opened.Trouble();
  opened.GetProfileInt("Settings", "PdfNeShow", 0);
  opened.WriteProfileKeys("Settings", {{"PdfNShow", "0"}, {"PdfNeShow", "0"}, {"PdfSizeNo", "1"}});
  for (int i = 0; i < 2; ++i) opened.GetProfileString("RFL", "File" + std::to_string(i), "");
  for (const char* key : {"TeX", "Bib", "DviPdf", "MkIdx", "MkIdxOpt"}) opened.GetProfileString("Settings", key, "");
  opened.GetProfileString("Editor", "EDIT", "");
  opened.GetProfileInt("Settings", "MkIdxNvr", 0);
  opened.GetProfileInt("Settings", "Acr", 0);
  const auto opening = Clock::now() - t0;

  std::vector<ProfileEntry> history;
  for (int i = 0; i < 16; ++i) history.push_back({"File" + std::to_string(i), "/w/doc" + std::to_string(i) + ".tex"});
  t0 = Clock::now();
  opened.WriteProfileKeys("RFL", history);
  const auto closing = Clock::now() - t0;

  std::printf("| Mirvan.ini of %.0f MB, lines without '=' | Time |\n|---|---|\n", mb);
  std::printf("| one read (key at the end) | %.1f ms |\n", Ms(oneRead));
  std::printf("| opening the bar: one read, 12 keys, the start-up write (unchanged) | %.1f ms |\n", Ms(opening));
  std::printf("| closing it: the history, 16 keys in one write | %.1f ms |\n", Ms(closing));
  std::remove(path.c_str());
  rmdir(folder);
  return tex == "platex" ? 0 : 1;
}
