// The transcript reader on a big log: its time and its peak memory beside
// the log's size, as a markdown table. With "list FILE...", prints what it
// reads from each transcript instead, one entry a line, in the form of the
// tests' expected lists (tests/data/logs/*.expected).
//
//   mirvan_tex_log_bench [megabytes] [repetitions]
//   mirvan_tex_log_bench list [--cp932] FILE...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "actions/tex_log.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool EndsWith(const std::string& s, const std::string& t) {
  return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

int List(int argc, char** argv) {
  texlog::Options o;
  o.cp = mbcs::CodePage::Utf8;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--cp932") {
      o.cp = mbcs::CodePage::Cp932;
      continue;
    }
    const std::string bytes = Slurp(arg);
    const texlog::Report r = EndsWith(arg, ".blg")   ? texlog::ReadBibTeXLog(bytes, o)
                             : EndsWith(arg, ".ilg") ? texlog::ReadIndexLog(bytes, o)
                                                     : texlog::ReadTeXLog(bytes, o);
    for (const texlog::Entry& e : r.entries)
      std::printf("%s\t%s\t%d\t%s%s%s\n", texlog::KindName(e.kind), e.file.c_str(), e.line, e.message.c_str(),
                  e.detail.empty() ? "" : "\t", e.detail.c_str());
    for (const std::string& f : r.files) std::printf("read\t%s\n", f.c_str());
  }
  return 0;
}

// From /proc/self/status: the resident size now (VmRSS) or its peak since
// the last reset (VmHWM), in kB.
long StatusKb(const char* field) {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.compare(0, std::strlen(field), field) == 0) return std::atol(line.c_str() + std::strlen(field) + 1);
  return 0;
}
// Starts the peak anew (Linux: writing 5 to clear_refs resets VmHWM).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A pLaTeX log of about `bytes` bytes: the real transcripts' lines (files
// opened and closed, warnings, bad boxes with their contents, errors with
// their help) over and over.
std::string BigLog(std::size_t bytes) {
  const std::string piece =
      "(./chap/section-with-a-long-name-that-runs-on-past-the-width-of-a-line-of-t\n"
      "he-log.tex\n"
      "LaTeX Font Info:    Font shape `JY1/mc/bx/n' in size <10> not available\n"
      "(Font)              Font shape `JY1/gt/m/n' tried instead on input line 4.\n"
      "\n"
      "LaTeX Warning: Reference `sec:none' on page 1 undefined on input line 8.\n"
      "\n"
      "Overfull \\hbox (297.09856pt too wide) in paragraph at lines 2--3\n"
      "[]\\JY1/mc/m/n/10 \xe3\x81\x93\xe3\x81\x93\xe3\x81\xaf\xe9\x95\xb7\xe3\x81\x84 (unbalanced \\OT1/cmr/m/n/10 5 \\JY1/\n"
      "mc/m/n/10 \xe7\xaf\x80 []\n"
      " []\n"
      "\n"
      "! Undefined control sequence.\n"
      "l.7 \\undefinedcommand\n"
      "                      \xe3\x81\x8c\xe3\x81\x82\xe3\x82\x8a\xe3\x81\xbe\xe3\x81\x99\xe3\x80\x82\n"
      "The control sequence at the end of the top line\n"
      "of your error message was never \\def'ed. If you have\n"
      "misspelled it (e.g., `\\hobx'), type `I' and the correct\n"
      "spelling (e.g., `I\\hbox'). Otherwise just continue,\n"
      "and I'll forget about whatever was undefined.\n"
      "\n"
      "(/usr/share/texlive/texmf-dist/tex/latex/base/omsenc.dfu\n"
      "File: omsenc.dfu 2022/06/07 v1.3c UTF-8 support\n"
      ")) [1\n"
      "\n"
      "]\n";
  std::string log = "This is e-pTeX, Version 3.141592653-p4.0.0-220214-2.6 (utf8.euc) (TeX Live 2022/Debian)\n"
                    "**main\n(./main.tex\n";
  log.reserve(bytes + piece.size());
  while (log.size() < bytes) log += piece;
  return log + ")\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "list") return List(argc, argv);
  const std::size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string log = BigLog(mb * 1000 * 1000);
  std::vector<double> ms;
  std::size_t entries = 0;
  texlog::Options o;
  o.cp = mbcs::CodePage::Utf8;
  long peak = 0, before = 0;
  for (int i = 0; i < runs; ++i) {
    before = StatusKb("VmRSS:");
    ResetPeak();
    const auto t0 = std::chrono::steady_clock::now();
    const texlog::Report r = texlog::ReadTeXLog(log, o);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    entries = r.entries.size();
    peak = std::max(peak, StatusKb("VmHWM:") - before);
  }
  std::sort(ms.begin(), ms.end());
  const double logMb = static_cast<double>(log.size()) / 1e6;
  const double readerMb = static_cast<double>(peak) * 1024 / 1e6;
  std::printf("| Reading a %.0f MB pLaTeX log (median of %d) | Time | Entries | Reader's peak memory | Log + reader / log |\n",
              logMb, runs);
  std::printf("|---|---|---|---|---|\n");
  std::printf("| texlog::ReadTeXLog | %.0f ms | %zu | %.1f MB | %.2f x |\n", ms[ms.size() / 2], entries, readerMb,
              (logMb + readerMb) / logMb);
  return 0;
}
