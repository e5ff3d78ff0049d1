// What the tools' transcripts say went wrong, and where: the TeX .log, the
// BibTeX .blg and the index program's .ilg read into a list of entries with
// the file (relative to the document's folder) and the line they name.
// Toolkit-free; reads any bytes in time linear in their size.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/mbcs.h"

namespace texlog {

enum class Kind { Error, Warning, BadBox };

struct Entry {
  Kind kind = Kind::Warning;
  // Relative to the document's folder for a file inside its tree ("chap/two.tex"),
  // as the tool wrote it otherwise (a package under /usr/share); empty when
  // the transcript does not tell.
  std::string file;
  int line = 0;  // 1-based; 0 when the transcript names no line
  // The tool's own words, wrapped lines joined, a package's continuation
  // prefixes dropped ("Undefined control sequence.",
  // "LaTeX Warning: Reference `x' on page 1 undefined on input line 4.").
  std::string message;
  // For a TeX error, what TeX had read of the line when it stopped (the
  // text after "l.7 "); empty otherwise.
  std::string detail;

  bool operator==(const Entry& o) const {
    return kind == o.kind && file == o.file && line == o.line && message == o.message && detail == o.detail;
  }
};

struct Options {
  // The document's folder, ending in a separator: names under it become relative.
  std::string docDir;
  mbcs::CodePage cp = mbcs::SystemCodePage();
  // Windows paths: '\\' separates too, letter case is ignored.
  bool windowsPaths = false;
  // The transcript's line width (TeX Live's max_print_line).
  int maxPrintLine = 79;
  // Optional: whether a file the transcript names exists (a relative name is
  // relative to the document's folder). Consulted only where a name meets a
  // line wrap, to tell "./a.tex" at the end of a full line from a longer name.
  std::function<bool(const std::string&)> exists;
};

struct Report {
  std::vector<Entry> entries;  // in the transcript's order
  // The files the run read from the document's folder tree, relative to
  // it, in the order first read, without the tools' own outputs (.aux,
  // .toc, .bbl, ...): what a save of the document can have changed.
  std::vector<std::string> files;
  // Entries past the first 10 000 of their kind (a run gone astray): counted, not kept.
  std::size_t dropped = 0;
};

Report ReadTeXLog(std::string_view log, const Options& options);
Report ReadBibTeXLog(std::string_view blg, const Options& options);
Report ReadIndexLog(std::string_view ilg, const Options& options);

// The kind's name in the lists the tests and the bench read and write:
// "error", "warning", "badbox".
const char* KindName(Kind kind);

// Errors, then warnings, then bad boxes; the transcript's order within each.
std::vector<Entry> ErrorsFirst(std::vector<Entry> entries);

// Reads a file of the document's tree by its relative name; false when it cannot.
using ReadSource = std::function<bool(const std::string& file, std::string& bytes)>;

// Gives a place to the entries whose transcript names none, or names a file
// the tools wrote, but whose cause the document's own sources show: a label
// defined twice (its second \label), an entry the index program refused in
// the .idx (the \index that wrote it). `sources` are the files a TeX run
// read (Report::files); only the .tex files among them are searched.
void PlaceInSources(std::vector<Entry>& entries, const std::vector<std::string>& sources, const Options& options,
                    const ReadSource& read);

}  // namespace texlog
