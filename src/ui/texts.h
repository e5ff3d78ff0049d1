// Every text of the bars' own windows that is not in the resources (the
// dialog templates in res/dialogs, the string table res/strings.json): the
// Qt bar's console and its list, the Windows bar's list, and the notes of
// the Qt bar's start. UTF-8.
#pragma once

namespace ui_text {

// The console that shows an action's tools.
inline constexpr char kConsoleStop[] = "停止(&S)";
// After the program's name in the console's title, before the first tool.
inline constexpr char kConsoleTitleSuffix[] = " - 出力";
// The marks before the action's verdict, the transcript's last line.
inline constexpr char kVerdictSucceeded[] = "✔ ";
inline constexpr char kVerdictFailed[] = "✖ ";
inline constexpr char kVerdictStopped[] = "■ ";
// The marks before an entry of the list beside the transcript.
inline constexpr char kListError[] = "✖ ";
inline constexpr char kListWarning[] = "⚠ ";
// The same marks in the Windows bar's list, which draws in the system code
// page: characters that code page and its fonts have.
inline constexpr char kWinListError[] = "● ";
inline constexpr char kWinListWarning[] = "△ ";

// Which display the Qt bar starts on, said on the standard error.
inline constexpr char kStartOnXWayland[] =
    "mirvan: starting on X11 (XWayland): under Wayland the bar could neither place itself "
    "nor stay above other windows (QT_QPA_PLATFORM=wayland starts it there anyway)";
inline constexpr char kNoXWayland[] =
    "mirvan: no X display (XWayland) in this Wayland session: the bar cannot place itself "
    "or stay above other windows";
inline constexpr char kNoDisplay[] =
    "mirvan: no display to show the bar on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
    "start it from a desktop session";

}  // namespace ui_text
