#include "actions/tex_name.h"

#include "actions/texts.h"

const char* TeXNameHazard(const std::string& arg, mbcs::CodePage cp) {
  if (arg.empty()) return nullptr;
  if (arg[0] == '&') return msg::kNameLeadingAmpersand;
  if (arg[0] == '{') return msg::kNameLeadingBrace;
  for (std::size_t i = 0; i < arg.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(arg[i]);
    if (mbcs::IsLeadByte(c, cp) && i + 1 < arg.size()) {
      ++i;  // the trail byte is part of the character, whatever its code
      continue;
    }
    const char next = i + 1 < arg.size() ? arg[i + 1] : '\0';
    switch (c) {
      case '\\': return msg::kNameBackslash;
      case '%': return msg::kNamePercent;
      case '~': return msg::kNameTilde;
      case '"': return msg::kNameQuote;
      case '^':
        if (next == '^') return msg::kNameCarets;
        break;
      case ' ':
        if (next == ' ') return msg::kNameBlanks;
        break;
      case '\t': return msg::kNameTab;
      case '\f': return msg::kNameFormFeed;
      case '\r': return msg::kNameReturn;
      case 0x7F: return msg::kNameDelete;
      default: break;
    }
  }
  return nullptr;
}
