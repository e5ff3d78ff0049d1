#include "ui/win32/win_text.h"

#include "ui/win32/windows_ui.h"

namespace wintext {
namespace {

// Length of a UTF-8 sequence of the program's own texts at s[i], or 0. They
// hold nothing but three-byte characters (kana, kanji, full- and half-width
// forms, punctuation), so a two-byte sequence is always the code page: two
// half-width katakana in CP932 look exactly like one two-byte character.
std::size_t Utf8Length(const std::string& s, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = at(i);
  if (c < 0xE0 || c > 0xEF || i + 3 > s.size()) return 0;
  if ((at(i + 1) & 0xC0) != 0x80 || (at(i + 2) & 0xC0) != 0x80) return 0;
  // Overlong forms and surrogates are not UTF-8.
  if ((c == 0xE0 && at(i + 1) < 0xA0) || (c == 0xED && at(i + 1) >= 0xA0)) return 0;
  return 3;
}

void Append(std::wstring& out, UINT cp, const char* p, int n) {
  wchar_t buf[8];
  const int m = MultiByteToWideChar(cp, 0, p, n, buf, 8);
  if (m > 0) out.append(buf, static_cast<std::size_t>(m));
}

}  // namespace

std::wstring ToWide(const std::string& text, unsigned codePage) {
  std::wstring out;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<wchar_t>(c);
      ++i;
      continue;
    }
    if (const std::size_t n = Utf8Length(text, i)) {
      Append(out, CP_UTF8, text.data() + i, static_cast<int>(n));
      i += n;
      continue;
    }
    const std::size_t n = (IsDBCSLeadByteEx(codePage, c) && i + 1 < text.size()) ? 2 : 1;
    Append(out, codePage, text.data() + i, static_cast<int>(n));
    i += n;
  }
  return out;
}

std::string ToAcp(const std::string& text) {
  const std::wstring wide = ToWide(text);
  if (wide.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  }
  return out;
}

}  // namespace wintext
