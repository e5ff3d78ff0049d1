// The bare names of the tools, as they fall back to them and as the
// compiler's name tells which companions belong to it.
#pragma once

namespace tool {

inline constexpr char kPLaTeX[] = "platex";
// Any LaTeX compiler's name contains this; pLaTeX's also contains kPLaTeX.
inline constexpr char kLaTeX[] = "latex";
inline constexpr char kBibTeX[] = "bibtex";
inline constexpr char kMendex[] = "mendex";
inline constexpr char kMakeIndex[] = "makeindex";
inline constexpr char kDvipdfmx[] = "dvipdfmx";

}  // namespace tool
