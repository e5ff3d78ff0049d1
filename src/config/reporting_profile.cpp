#include "config/reporting_profile.h"

namespace {

// %1 is the settings file.
constexpr char kSettingsNotSaved[] =
    "設定ファイル \"%1\" に書き込めません。この実行中に変えた設定と履歴は保存されません。\n読み取り専用になっていないか、フォルダーのパスが長すぎないか確かめて下さい。";
constexpr char kSettingsNowhere[] =
    "起動したフォルダーのパスが読み取れない（長すぎる）ため、設定ファイル Mirvan.ini を置けません。この実行中に変えた設定と履歴は保存されません。";

}  // namespace

bool ReportingProfile::Told(bool written) {
  if (written || m_told) return written;
  // Said once: every later change fails the same way, and a box per change
  // would stand in the way of the work.
  m_told = true;
  std::string text = m_path.empty() ? kSettingsNowhere : kSettingsNotSaved;
  const std::size_t at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, m_path);
  m_prompts.MessageBox(std::string(), text, BoxIcon::Exclamation);
  return written;
}
