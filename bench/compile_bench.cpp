// How much time Compile spends on its own (snapshots, whole-file reads,
// marker searches, decisions) apart from the tool runs, on big logs in
// UTF-8 and CP932. A scripted compiler writes the output files; the time
// spent inside RunTool is subtracted. Prints a markdown table.
//
//   mirvan_bench [repetitions]
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "actions/settings_dlg.h"
#include "config/option_dialogs.h"
#include "actions/compile_driver.h"
#include "platform/posix/posix_platform.h"
#include "text/mbcs.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A log of about `size` bytes whose lines look like a pLaTeX log with
// Japanese text, in the given code page, and whose markers sit at the very
// end, so that every search runs over the whole text.
std::string MakeLog(std::size_t size, mbcs::CodePage cp, const std::string& tail) {
  // 日本語の組版、ソ表能 (the last three have 0x5C as their second byte in CP932).
  const std::string japanese = cp == mbcs::CodePage::Utf8
                                   ? "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x81\xae\xe7\xb5\x84\xe7\x89\x88"
                                     "\xe3\x80\x81\xe3\x82\xbd\xe8\xa1\xa8\xe8\x83\xbd"
                                   : "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x91\x67\x94\xc5\x81\x41\x83\x5c\x95\x5c"
                                     "\x94\x5c";
  const std::string line = "Overfull \\hbox (1.23pt too wide) in paragraph at lines 10--12 []" + japanese +
                           "[] ? y Label LaTeX Warn No file x.bbl\n";
  std::string log = "This is e-pTeX, Version 3.141592653-p4.0.0\n";
  log.reserve(size + tail.size() + line.size());
  while (log.size() + line.size() < size) log += line;
  return log + tail;
}

// Stat from the real files; tool runs scripted and timed.
class BenchPlatform : public PosixPlatform {
 public:
  std::vector<std::function<int()>> script;
  std::size_t next = 0;
  Clock::duration inTools{};

  int RunTool(const std::string&, const std::vector<std::string>&) override {
    const Clock::time_point t0 = Clock::now();
    const int status = next < script.size() ? script[next++]() : 0;
    inTools += Clock::now() - t0;
    return status;
  }
};

class NullPrompts : public IPrompts {
 public:
  int boxes = 0;
  void Notice(const std::string&) override {}
  bool AskOkCancel(const std::string&) override { return false; }
  void MessageBox(const std::string&, const std::string&, BoxIcon) override { ++boxes; }
  bool PickFile(const FileRequest&, std::string&) override { return false; }
  bool ShowPdfSizeDialog(CPdfSizeDlg&) override { return false; }
  bool ShowMkIdxOptDialog(CMkIdxOptDlg&) override { return false; }
  void ShowSettingsDialog(CSettingsDlg&) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
};

class NullProfile : public IProfile {
 public:
  std::string GetProfileString(const std::string&, const std::string&, const std::string& def) override {
    return def;
  }
  int GetProfileInt(const std::string&, const std::string&, int def) override { return def; }
  bool WriteProfileString(const std::string&, const std::string&, const std::string*) override { return true; }
  bool WriteProfileInt(const std::string&, const std::string&, int) override { return true; }
  bool WriteProfileKeys(const std::string&, const std::vector<ProfileEntry>&) override { return true; }
  using IProfile::WriteProfileString;
};

struct Result {
  double ownMs = 0;
  int runs = 0;
  int boxes = 0;
  int compileResult = 0;
};

// The longest path through the driver: BibTeX, index, run-and-compare with
// a changed .toc, one more run. Five compiler runs, six log reads.
Result CompileOnce(const std::string& dir, const std::string& log, const std::string& logWithBbl) {
  const std::string doc = dir + "doc";
  for (const char* ext : {".dvi", ".log", ".aux", ".toc", ".idx"}) std::remove((doc + ext).c_str());
  WriteFile(doc + ".toc", "\\contentsline {section}{old}{1}\n");

  BenchPlatform platform;
  NullProfile profile;
  NullPrompts prompts;
  const MirvanEnv env{profile, platform, prompts};
  ToolConfig config(profile, platform.Values());
  config.Set(&ToolSettings::m_strTeX, "platex");
  config.Set(&ToolSettings::m_strBib, "pbibtex");
  config.Set(&ToolSettings::m_strMkIdx, "mendex");
  config.Set(&ToolSettings::m_nMkIdxNvr, 1);
  Document document(env);
  document.SetFile(dir + "doc.tex");
  VerdictLog verdict;
  ToolRunner tools(env, config, document, verdict);
  CompileDriver driver(env, config, document, tools, verdict);

  int texRun = 0;
  auto tex = [&](const std::string& text, const char* toc, bool idx) {
    return [&, text, toc, idx]() {
      ++texRun;
      WriteFile(doc + ".dvi", "dvi" + std::to_string(texRun));
      WriteFile(doc + ".log", text);
      WriteFile(doc + ".aux", "\\relax\n");
      if (toc) WriteFile(doc + ".toc", toc);
      if (idx) WriteFile(doc + ".idx", "\\indexentry{x}{1}\n");
      return 0;
    };
  };
  auto tool = [] { return 0; };
  platform.script = {tex(logWithBbl, "toc 1", true), tool, tex(log, nullptr, false), tool,
                     tex(log + "Label(s)\n", nullptr, false), tex(log, "toc 2", false), tex(log, nullptr, false)};

  const Clock::time_point t0 = Clock::now();
  Result r;
  r.compileResult = driver.Compile();
  r.ownMs = Ms(Clock::now() - t0 - platform.inTools);
  r.runs = texRun;
  r.boxes = prompts.boxes;
  return r;
}

std::string TempFolder() {
  std::string tmpl = "/tmp/mirvan-bench-XXXXXX";
  if (!mkdtemp(tmpl.data())) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  return tmpl + "/";
}

// One real platex run on the sample paper, for scale; 0 when not possible.
double PlatexSampleMs(const std::string& dir) {
  const char* src = std::getenv("MIRVAN_SOURCE_DIR");
  const std::string examples = std::string(src ? src : ".") + "/examples/";
  std::ifstream in(examples + "paper.tex", std::ios::binary);
  if (!in) return 0;
  for (const char* f : {"paper.tex", "paper.bib", "myindex.ist"}) {
    std::ifstream from(examples + f, std::ios::binary);
    std::ofstream to(dir + f, std::ios::binary);
    to << from.rdbuf();
  }
  const std::string cmd = "cd '" + dir + "' && platex -interaction=batchmode paper >/dev/null 2>&1 </dev/null";
  if (std::system(cmd.c_str()) == -1) return 0;  // warm the caches and write the .aux
  const Clock::time_point t0 = Clock::now();
  const int status = std::system(cmd.c_str());
  const double ms = Ms(Clock::now() - t0);
  return status == 0 ? ms : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = TempFolder();
  char cwd[PATH_MAX];
  const bool haveCwd = ::getcwd(cwd, sizeof cwd) != nullptr;

  struct Row {
    const char* label;
    std::size_t size;
    mbcs::CodePage cp;
  };
  const Row rows[] = {{"100 kB", 100u << 10, mbcs::CodePage::Utf8},
                      {"100 kB", 100u << 10, mbcs::CodePage::Cp932},
                      {"5 MB", 5u << 20, mbcs::CodePage::Utf8},
                      {"5 MB", 5u << 20, mbcs::CodePage::Cp932},
                      {"50 MB", 50u << 20, mbcs::CodePage::Utf8},
                      {"50 MB", 50u << 20, mbcs::CodePage::Cp932}};

  std::printf("| log | code page | compiler runs | log bytes read | Compile own time (median of %d) | MB/s |\n",
              reps);
  std::printf("|---|---|---|---|---|---|\n");
  double own100k = 0;
  for (const Row& row : rows) {
    mbcs::SetSystemCodePage(row.cp);
    const std::string log = MakeLog(row.size, row.cp, "");
    const std::string logWithBbl = MakeLog(row.size, row.cp, "No file doc.bbl.\n");
    std::vector<double> times;
    Result last;
    for (int i = 0; i < reps; ++i) {
      last = CompileOnce(dir, log, logWithBbl);
      times.push_back(last.ownMs);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    if (row.size == (100u << 10) && row.cp == mbcs::CodePage::Utf8) own100k = median;
    const double readBytes = 6.0 * static_cast<double>(log.size());  // six log reads
    std::printf("| %s | %s | %d | %.1f MB | %.2f ms | %.0f |\n", row.label,
                row.cp == mbcs::CodePage::Utf8 ? "UTF-8" : "CP932", last.runs, readBytes / 1e6, median,
                readBytes / 1e6 / (median / 1e3));
    if (last.compileResult != 1 || last.runs != 5) {
      std::fprintf(stderr, "unexpected path: result %d, %d runs\n", last.compileResult, last.runs);
      return 1;
    }
  }
  mbcs::SetSystemCodePage(mbcs::CodePage::Utf8);

  const double platexMs = PlatexSampleMs(dir);
  if (platexMs > 0) {
    std::printf("\nOne platex run on examples/paper.tex: %.0f ms. Driver overhead of a five-run compile with a "
                "100 kB log: %.3f %% of that one run.\n",
                platexMs, 100.0 * own100k / platexMs);
  }
  if (haveCwd && ::chdir(cwd) != 0) std::perror("chdir");
  std::system(("rm -rf '" + dir + "'").c_str());
  return 0;
}
