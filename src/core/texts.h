// Every text of the core, byte for byte as users know them: how a button
// action that could not go on ends.
#pragma once

namespace msg {

// A file the action must read and cannot; %1 is its path.
inline constexpr char kFileNotFoundText[] = "%1 が見つかりませんでした。";
inline constexpr char kNoMemoryText[] = "ﾒﾓﾘが不足しています。";
// The end of an action whose tool the user stopped.
inline constexpr char kStoppedText[] = "停止したので、処理をここで終えました。";

}  // namespace msg
