// Every text of the core, byte for byte as users know them: how a button
// action that could not go on ends, and what the bar offers after it.
#pragma once

namespace msg {

// A file the action must read and cannot; %1 is its path.
inline constexpr char kFileNotFoundText[] = "%1 が見つかりませんでした。";
inline constexpr char kNoMemoryText[] = "ﾒﾓﾘが不足しています。";
// The end of an action whose tool the user stopped.
inline constexpr char kStoppedText[] = "停止したので、処理をここで終えました。";
// Offered after a failed action, below what failed, where no console keeps
// the tools' transcript in view.
inline constexpr char kOfferProblems[] = "エラーと警告の一覧を開きますか？";

}  // namespace msg
