// The program's own texts are UTF-8 in the source; paths and everything the
// user types are in the system code page. Windows shows both only through
// the ANSI calls, so every text crosses to the code page here.
#pragma once

#include <string>

namespace wintext {

// A message as the core composes it: UTF-8 text, possibly with a path in the
// system code page put into it. Each valid UTF-8 sequence is read as UTF-8,
// every other byte (with its trail byte) as the code page; the result is in
// the system code page (CP_ACP).
std::string ToAcp(const std::string& text);

// The same text as UTF-16, for the few calls that want it.
std::wstring ToWide(const std::string& text);

}  // namespace wintext
