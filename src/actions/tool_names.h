// Names of the tools, the settings keys that remember them, and the bare
// names they fall back to.
#pragma once

namespace tool {

inline constexpr char kSection[] = "Settings";

inline constexpr char kKeyTeX[] = "TeX";
inline constexpr char kKeyBib[] = "Bib";
inline constexpr char kKeyDviPdf[] = "DviPdf";
inline constexpr char kKeyMkIdx[] = "MkIdx";

inline constexpr char kPLaTeX[] = "platex";
// Any LaTeX compiler's name contains this; pLaTeX's also contains kPLaTeX.
inline constexpr char kLaTeX[] = "latex";
inline constexpr char kBibTeX[] = "bibtex";
inline constexpr char kMendex[] = "mendex";
inline constexpr char kMakeIndex[] = "makeindex";
inline constexpr char kDvipdfmx[] = "dvipdfmx";

}  // namespace tool
