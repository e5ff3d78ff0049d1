// Every text of the document layer, byte for byte as users know them.
#pragma once

namespace msg {

// A dropped file that is not a .tex file.
inline constexpr char kNotTeXFile[] = "TeX のファイルではありません！登録して直して下さい！";
// The file type of the open-file dialog that picks the document.
inline constexpr char kTeXFile[] = "TeX file (*.tex)";

}  // namespace msg
