// Reading and writing a big Mirvan.ini: a file of 10 MB of lines without
// '=' (what a stray editor or a copied log can leave), with the real keys at
// its end. Times the reads the bar makes while it opens, one read, and the
// history writes it makes when it closes. Prints a markdown table.
//
//   mirvan_ini_bench [megabytes]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

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
  text += "[Settings]\nTeX=platex\nBib=pbibtex\nPdfNeShow=1\nPdfSizeNo=1\n[RFL]\nFile0=/w/paper.tex\n";
  std::ofstream(path, std::ios::binary) << text;

  IniProfile ini(path);
  auto t0 = Clock::now();
  const std::string tex = ini.GetProfileString("Settings", "TeX", "");
  const auto oneRead = Clock::now() - t0;

  // What the bar reads while it opens: the start-up rule, the history and
  // the tool configuration.
  t0 = Clock::now();
  ini.GetProfileInt("Settings", "PdfNeShow", 0);
  ini.GetProfileInt("Settings", "PdfSizeNo", 1);
  for (int i = 0; i < 2; ++i) ini.GetProfileString("RFL", "File" + std::to_string(i), "");
  for (const char* key : {"TeX", "Bib", "DviPdf", "MkIdx", "MkIdxOpt"}) ini.GetProfileString("Settings", key, "");
  ini.GetProfileString("Editor", "EDIT", "");
  ini.GetProfileInt("Settings", "MkIdxNvr", 0);
  ini.GetProfileInt("Settings", "Acr", 0);
  const auto opening = Clock::now() - t0;

  t0 = Clock::now();
  for (int i = 0; i < 16; ++i) ini.WriteProfileString("RFL", "File" + std::to_string(i), "/w/doc" + std::to_string(i) + ".tex");
  const auto closing = Clock::now() - t0;

  std::printf("| Mirvan.ini of %.0f MB, lines without '=' | Time |\n|---|---|\n", mb);
  std::printf("| one read (key at the end) | %.1f ms |\n", Ms(oneRead));
  std::printf("| the reads of opening the bar (12) | %.1f ms |\n", Ms(opening));
  std::printf("| the history writes of closing it (16) | %.1f ms |\n", Ms(closing));
  std::remove(path.c_str());
  rmdir(folder);
  return tex == "platex" ? 0 : 1;
}
