// The Windows tests' own main: besides running the tests, the same program
// stands in for a tool. Copied to a probe folder or started by RunTool with
// MIRVAN_RECORD set, it appends its argument words and working directory to
// that file and exits with MIRVAN_EXIT.
#include <direct.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
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
