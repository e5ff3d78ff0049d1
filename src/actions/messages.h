// The texts this program shows about its tools, byte for byte as users know
// them (UTF-8 here; "\n" is a line break, every other backslash a literal one).
#pragma once

// Those that name program files and the folders they are in differ by
// platform: they are platform values.
#include "platform/program_texts.h"

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

}  // namespace msg
