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

// Editor and viewers.
inline constexpr char kEditorHint[] =
    "好きな ｴﾃﾞｨﾀ を登録できます。(ﾃﾞﾌｫﾙﾄは ﾒﾓ帳 Notepad です。)\n「設定」->「ｴﾃﾞｨﾀ の登録」で選択して下さい。";
inline constexpr char kEditorFailure[] =
    "Editor が起動できません！登録して下さい！";
inline constexpr char kPdfOpenFailure[] =
    "PDF file が開けません！";

}  // namespace msg
