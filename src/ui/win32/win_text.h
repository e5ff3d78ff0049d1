// The program's own texts are UTF-8 in the source; paths and everything the
// user types are in the system code page. Windows shows both only through
// the ANSI calls, so every text crosses to the code page here.
#pragma once

#include <string>

namespace wintext {

// A message as the core composes it: UTF-8 text, possibly with a path in the
// system code page put into it. Each three-byte UTF-8 sequence is read as
// UTF-8, every other byte (with its trail byte) as the code page; the result
// is in the system code page (CP_ACP). A path whose CP932 bytes happen to
// form a three-byte UTF-8 sequence (a rare level-2 kanji followed by a
// character that starts with a byte 0x80-0xBF) would be misread.
std::string ToAcp(const std::string& text);

// The same text as UTF-16; `codePage` reads the bytes that are not UTF-8.
std::wstring ToWide(const std::string& text, unsigned codePage = 0 /* CP_ACP */);

}  // namespace wintext
