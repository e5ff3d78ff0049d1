// Every text of the configuration layer, byte for byte as users know them
// (UTF-8 here; "\n" is a line break).
#pragma once

// What the bar says, once a run, when the settings file cannot be written;
// the platform layer's settings_text::Unreadable says when it cannot be read.
namespace settings_text {

// %1 is the settings file.
inline constexpr char kSettingsNotSaved[] =
    "設定ファイル \"%1\" に書き込めません。この実行中に変えた設定と履歴は保存されません。\n読み取り専用になっていないか、フォルダーのパスが長すぎないか確かめて下さい。";
// The start folder's path could not be read: there is no settings file.
inline constexpr char kSettingsNowhere[] =
    "起動したフォルダーのパスが読み取れない（長すぎる）ため、設定ファイル Mirvan.ini を置けません。この実行中に変えた設定と履歴は保存されません。";

}  // namespace settings_text
