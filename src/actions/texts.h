// Every text of the build actions, byte for byte as users know them (UTF-8
// here; "\n" is a line break, every other backslash a literal one): those
// about the tools, and the compile driver's boxes and the words of its end.
#pragma once

#include <string>

// Those that name program files and the folders they are in differ by
// platform: they are platform values.
#include "platform/texts.h"

namespace msg {

// Finding the TeX compiler. %s is the compiler's name as it was when the
// search began.
inline constexpr char kLocateTeXHint[] =
    "TeX のコンパイラーは\n「設定」→「TeX の変更」からも選択できます。";
inline constexpr char kLocateTeXFailure[] =
    "TeX のコンパイラー \"%s\" が実行できません。\nTeX のコンパイラーは\n「設定」→「TeX の変更」からも選択できます。";

// The bibliography and index runs.
inline constexpr char kBibTeXNotStarted[] =
    "BibTeX が起動できません。";
inline constexpr char kMkIdxNotStarted[] =
    "MakeIndex が起動できません。";

// A document folder that cannot be entered (gone, or not allowed); the
// folder follows.
inline constexpr char kFolderUnreachable[] = "フォルダに移動できません: ";

// A document whose name TeX would read as code or as another name: %1 is
// one of the characters below, %2 the file's name. Nothing runs.
inline constexpr char kNameRefused[] =
    "ﾌｧｲﾙ名にある %1 を TeX は命令や区切りとして読むため、ﾂｰﾙ を起動しません。\nﾌｧｲﾙ名を変えて下さい。\n%2";
inline constexpr char kNameBackslash[] = "「\\」";
inline constexpr char kNamePercent[] = "「%」";
inline constexpr char kNameTilde[] = "「~」";
inline constexpr char kNameQuote[] = "「\"」";
inline constexpr char kNameCarets[] = "「^^」";
inline constexpr char kNameLeadingAmpersand[] = "先頭の「&」";
inline constexpr char kNameLeadingBrace[] = "先頭の「{」";
inline constexpr char kNameBlanks[] = "続けて並んだ空白";
inline constexpr char kNameTab[] = "タブ";
inline constexpr char kNameFormFeed[] = "改ページ文字 (^^L)";
inline constexpr char kNameReturn[] = "復帰文字 (^^M)";
inline constexpr char kNameDelete[] = "削除文字 (^^?)";

// Editor and viewers.
inline constexpr char kEditorHint[] =
    "好きな ｴﾃﾞｨﾀ を登録できます。(ﾃﾞﾌｫﾙﾄは ﾒﾓ帳 Notepad です。)\n「設定」->「ｴﾃﾞｨﾀ の登録」で選択して下さい。";
inline constexpr char kEditorFailure[] =
    "Editor が起動できません！登録して下さい！";
inline constexpr char kPdfOpenFailure[] =
    "PDF file が開けません！";

// PDF creation: the retry question and the failure notice, and the end of
// an action whose conversion made the PDF, and of one that gave up without
// the failure notice (the converter was never found).
inline constexpr char kPdfRetryQuestion[] = "PDF file が作れません！\n もし Acrobat (Adobe Reader) が起動中なら \n閉じてから、「OK」ボタンを下さい。";
inline constexpr char kPdfFailureNotice[] = "PDF file が作れません！";
inline constexpr char kPdfMade[] = "PDF ファイルを作りました。";
inline constexpr char kPdfNotMade[] = "PDF ファイルができませんでした。";

}  // namespace msg

// The compile driver's.
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
