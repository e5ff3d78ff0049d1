// What the compile driver looks for in the compiler's output files. Each is a
// case-sensitive substring; those that TeX writes as lines of their own
// ("No file", "\bibdata") count only at the start of a line.
#pragma once

namespace marker {

// .log: the user stopped the compiler at its error prompt by answering x.
inline constexpr char kStoppedLower[] = "\n? x";
inline constexpr char kStoppedUpper[] = "\n? X";
// .log: "No file " + name + ".bbl" means the bibliography has to be built.
inline constexpr char kNoFile[] = "No file ";
inline constexpr char kBblExtension[] = ".bbl";
// .log: a warning that outlived the last run, shown to the user.
inline constexpr char kLaTeXWarning[] = "LaTeX Warning";
// .log: labels may have changed; another run may be needed.
inline constexpr char kLabels[] = "Label(s)";
// .aux: the document has a bibliography.
inline constexpr char kBibData[] = "\\bibdata";

}  // namespace marker
