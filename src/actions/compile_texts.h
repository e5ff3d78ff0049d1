// The two texts of the compile driver. They are the program's own messages,
// byte for byte.
#pragma once

namespace compile_text {

// No document chosen yet.
inline constexpr char kNoDocumentText[] = "処理したい TeX ﾌｧｲﾙ をドラッグ＆ドロップするか、\n「ﾌｧｲﾙ 選択」で、選んで下さい。";
// The closing box when the last log still holds a LaTeX warning.
inline constexpr char kWarningCaption[] = "Warning!!";
inline constexpr char kWarningText[] = "コンパイルは成功しました！！\nしかし \"LaTeX Warning\" があります。\n(\"Font Warning\" ではありません。) \nログファイルで確認して下さい。";

}  // namespace compile_text
