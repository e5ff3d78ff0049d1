// libFuzzer entry point over the transcript reader: any bytes, read as a
// TeX, BibTeX and index transcript in either code page, must give a list
// without a crash, a hang or memory out of proportion (scripts/fuzz-log
// runs it under AddressSanitizer and UndefinedBehaviorSanitizer).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "actions/tex_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the options; the rest is the transcript.
  const std::uint8_t pick = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  texlog::Options o;
  o.cp = (pick & 1) ? mbcs::CodePage::Cp932 : mbcs::CodePage::Utf8;
  o.windowsPaths = (pick & 2) != 0;
  o.docDir = (pick & 4) ? "C:\\doc\\" : "/home/u/doc/";
  o.maxPrintLine = (pick & 8) ? 79 : static_cast<int>(pick >> 4);
  // Names that meet a break "exist" by a rule of their bytes.
  if (pick & 16) o.exists = [](const std::string& name) { return name.size() % 3 == 0; };

  texlog::Report tex = texlog::ReadTeXLog(text, o);
  texlog::Report bib = texlog::ReadBibTeXLog(text, o);
  texlog::Report index = texlog::ReadIndexLog(text, o);
  // The sources and the .idx are the same bytes again.
  const texlog::ReadSource read = [&](const std::string&, std::string& bytes) {
    bytes.assign(text);
    return true;
  };
  tex.files.push_back("x.tex");
  texlog::PlaceInSources(tex.entries, tex.files, o, read);
  texlog::PlaceInSources(index.entries, tex.files, o, read);
  const auto sorted = texlog::ErrorsFirst(tex.entries);
  // Bounded: no entry can be longer than what it was read from, plus the
  // joins between the pieces of a message.
  for (const texlog::Entry& e : sorted)
    if (e.message.size() > text.size() + 2001 || e.file.size() > text.size()) __builtin_trap();
  return static_cast<int>(bib.entries.size() & 0);
}
