// The Windows bar's text crossings: messages that mix the program's UTF-8
// texts with paths in the system code page, and the open-file filters.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "ui/win32/win32_prompts.h"
#include "ui/win32/win_text.h"

namespace {

struct MixedCase {
  const char* what;
  std::string bytes;
  std::wstring shown;
};

TEST(Win32Text, MessagesWithCodePagePathsReadAsOneText) {
  // 表 is 0x95 0x5C in CP932: its trail byte is a backslash.
  const std::string cp932Path = "C:\\\x95\x5C\x8E\xA6\\a.tex";
  const MixedCase cases[] = {
      {"ASCII", "PDF file", L"PDF file"},
      {"UTF-8 with half-width katakana", "\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99", L"\xFF8C\xFF67\xFF72\xFF99"},
      {"file-not-found text around a CP932 path", cp932Path + " \xE3\x81\x8C\xE8\xA6\x8B",
       L"C:\\\x8868\x793A\\a.tex \x304C\x898B"},
      {"CP932 half-width katakana that would be a two-byte UTF-8 character", "\xCC\xA7", L"\xFF8C\xFF67"},
  };
  for (const MixedCase& c : cases) {
    EXPECT_EQ(wintext::ToWide(c.bytes, 932), c.shown) << c.what;
  }
}

TEST(Win32Text, OpenFileFiltersBecomeNulSeparatedPairs) {
  EXPECT_EQ(Win32Prompts::OfnFilter({{"TeX file (*.tex)", "*.tex"}}), std::string("TeX file (*.tex)\0*.tex\0\0", 24));
  EXPECT_EQ(Win32Prompts::OfnFilter({{"A", "*.a"}, {"B", "*.b;*.c"}}), std::string("A\0*.a\0B\0*.b;*.c\0\0", 17));
  // The choosers' filters, as Mirvan.exe has always shown them.
  const PlatformValues windows = WindowsPlatformValues();
  EXPECT_EQ(Win32Prompts::OfnFilter(windows.programTypes), std::string("Exe files (*.exe)\0*.exe\0\0", 25));
  EXPECT_EQ(Win32Prompts::OfnFilter(windows.editorTypes),
            wintext::ToAcp("実行ファイル(*.exe)") + std::string("\0*.exe\0\0", 8));
}

}  // namespace
