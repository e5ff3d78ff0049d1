// The texts of the compile driver: the two boxes it shows, byte for byte as
// users know them, and the words of the action's end.
#pragma once

#include <string>

namespace compile_text {

// No document chosen yet.
inline constexpr char kNoDocumentText[] = "処理したい TeX ﾌｧｲﾙ をドラッグ＆ドロップするか、\n「ﾌｧｲﾙ 選択」で、選んで下さい。";
// The closing box when the last log still holds a LaTeX warning.
inline constexpr char kWarningCaption[] = "Warning!!";
inline constexpr char kWarningText[] = "コンパイルは成功しました！！\nしかし \"LaTeX Warning\" があります。\n(\"Font Warning\" ではありません。) \nログファイルで確認して下さい。";

// A compile that made its DVI: the warning box's first line, whether or not
// the box is shown.
inline std::string CompiledText() {
  const std::string box = kWarningText;
  return box.substr(0, box.find('\n'));
}

// Why a compile failed after the compiler ran, where no box says it.
inline constexpr char kFailedNoDvi[] = "コンパイルに失敗しました: 新しい DVI ファイルができませんでした。";
inline constexpr char kFailedStopped[] = "コンパイルに失敗しました: TeX のエラーで中断されました。";
inline constexpr char kFailedLastRun[] = "コンパイルに失敗しました: 最後の TeX の実行がエラーで終わりました。";

}  // namespace compile_text
