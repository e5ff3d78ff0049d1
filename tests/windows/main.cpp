// The Windows tests' own main: besides running the tests, the same program
// stands in for a tool. Copied to a probe folder or started by RunTool with
// MIRVAN_RECORD set, it appends its argument words and working directory to
// that file and exits with MIRVAN_EXIT. With MIRVAN_HANG set to a folder it
// is a bar ("bar": runs itself as a tool through RunTool), a tool that never
// ends ("tool": starts a child and hangs) or that child ("child"); the two
// write their process ids into that folder.
#include <direct.h>
#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/win/win_api.h"
#include "platform/win/win_platform.h"
#include "self_tool.h"

namespace {

[[noreturn]] void HangAs(const std::string& folder, const std::string& name) {
  const std::string file = folder + "\\" + name + ".pid";
  if (FILE* f = std::fopen((file + ".tmp").c_str(), "wb")) {
    std::fprintf(f, "%lu", static_cast<unsigned long>(GetCurrentProcessId()));
    std::fclose(f);
    MoveFileA((file + ".tmp").c_str(), file.c_str());
  }
  for (;;) Sleep(INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
  const char* hang = std::getenv("MIRVAN_HANG");
  if (hang && *hang && argc == 2) {
    const std::string self = SelfPath(), role = argv[1];
    if (role == "bar") return WinPlatform().RunTool(self, {"tool"});
    if (role == "tool") _spawnl(_P_NOWAIT, self.c_str(), self.c_str(), "child", static_cast<const char*>(nullptr));
    HangAs(hang, role);
  }
  const char* record = std::getenv("MIRVAN_RECORD");
  if (record && *record && (argc < 2 || std::strncmp(argv[1], "--gtest", 7) != 0)) {
    if (FILE* f = std::fopen(record, "ab")) {
      char cwd[512] = "";
      _getcwd(cwd, sizeof cwd);
      std::fprintf(f, "cwd=%s\n", cwd);
      for (int i = 1; i < argc; ++i) std::fprintf(f, "arg=%s\n", argv[i]);
      std::fprintf(f, "end\n");
      std::fclose(f);
    }
    const char* code = std::getenv("MIRVAN_EXIT");
    return code ? std::atoi(code) : 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
