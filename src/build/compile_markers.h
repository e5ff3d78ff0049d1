// What the compile driver looks for in the compiler's output files, and the
// two texts it shows. The texts are bytes of the program's own messages and
// must not be reworded.
#pragma once

namespace compile_markers {

// The user stopped the compiler at its error prompt by answering x or X.
constexpr const char kAbortLower[] = "\n? x";
constexpr const char kAbortUpper[] = "\n? X";
// The bibliography is missing: "No file " + name + ".bbl".
constexpr const char kNoFilePrefix[] = "No file ";
constexpr const char kBblExt[] = ".bbl";
// A warning is left after the last run. "LaTeX Font Warning" does not
// contain it, so font substitutions alone never raise the box.
constexpr const char kLaTeXWarning[] = "LaTeX Warning";
// "Label(s) may have changed": the labels need one more run.
constexpr const char kLabels[] = "Label(s)";
// In the .aux: the document has a bibliography.
constexpr const char kBibData[] = "\\bibdata";
// A compiler whose name holds this takes the full procedure.
constexpr const char kLaTeXName[] = "latex";

// No document chosen yet.
constexpr const char kNoDocumentText[] = "処理したい TeX ﾌｧｲﾙ をドラッグ＆ドロップするか、\n「ﾌｧｲﾙ 選択」で、選んで下さい。";
// The closing box when the last log still holds a LaTeX warning.
constexpr const char kWarningCaption[] = "Warning!!";
constexpr const char kWarningText[] = "コンパイルは成功しました！！\nしかし \"LaTeX Warning\" があります。\n(\"Font Warning\" ではありません。) \nログファイルで確認して下さい。";

}  // namespace compile_markers
