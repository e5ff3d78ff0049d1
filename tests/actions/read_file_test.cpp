// ReadWholeFile on real files: the text ends at the first NUL, big logs come
// through whole, and a file that cannot be read raises the error that ends
// the button action, carrying the path exactly as passed.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/mirvan_dlg.h"
#include "support/temp_dir.h"

namespace {

TEST(ReadWholeFile, StopsAtTheFirstNul) {
  TempDir dir;
  dir.Write("a.log", std::string("before\0after", 12));
  std::string out = "stale";
  ReadWholeFile(dir.File("a.log"), out);
  EXPECT_EQ(out, "before");
}

TEST(ReadWholeFile, KeepsEveryByteOtherwise) {
  TempDir dir;
  std::string bytes;
  for (int i = 1; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += "\r\n\x82\xa0\n";  // CR LF and a CP932 character are just bytes
  dir.Write("b.log", bytes);
  std::string out;
  ReadWholeFile(dir.File("b.log"), out);
  EXPECT_EQ(out, bytes);
}

TEST(ReadWholeFile, EmptyFileGivesEmptyText) {
  TempDir dir;
  dir.Write("e.aux", "");
  std::string out = "stale";
  ReadWholeFile(dir.File("e.aux"), out);
  EXPECT_EQ(out, "");
}

TEST(ReadWholeFile, FiftyMegabyteLog) {
  TempDir dir;
  const std::string line = "Overfull \\hbox (1.2pt too wide) in paragraph at lines 10--12\n";
  std::string bytes;
  bytes.reserve(50u << 20);
  while (bytes.size() + line.size() <= (50u << 20)) bytes += line;
  bytes += "LaTeX Warning: end";
  dir.Write("big.log", bytes);
  std::string out;
  ReadWholeFile(dir.File("big.log"), out);
  EXPECT_EQ(out.size(), bytes.size());
  EXPECT_TRUE(out == bytes);
}

TEST(ReadWholeFile, FileHeldOpenForWritingByAnotherWriter) {
  TempDir dir;
  std::ofstream writer(dir.File("open.log"), std::ios::binary);
  writer << "still being written\n";
  writer.flush();
  std::string out;
  ReadWholeFile(dir.File("open.log"), out);
  EXPECT_EQ(out, "still being written\n");
}

TEST(ReadWholeFile, MissingFileRaisesFileErrorWithThePathAsPassed) {
  TempDir dir;
  for (const std::string& path : {dir.File("none.toc"), std::string("paper.log"), std::string("../x/y.aux")}) {
    std::string out = "kept";
    try {
      ReadWholeFile(path, out);
      ADD_FAILURE() << "no error for " << path;
    } catch (const FileError& e) {
      EXPECT_EQ(e.Path(), path);
    }
    EXPECT_EQ(out, "kept");
  }
}

TEST(ReadWholeFile, FolderIsNoFile) {
  TempDir dir;
  std::string out;
  EXPECT_THROW(ReadWholeFile(dir.Path(), out), FileError);
}

}  // namespace
