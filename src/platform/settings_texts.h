// What both bars say, once, about a settings file they cannot use. UTF-8;
// the path is put in as it is (the system code page).
#pragma once

#include <string>

#include "platform/files.h"

namespace settings_text {

inline std::string Unreadable(const std::string& path, files::ReadStatus why) {
  const char* reason = "読み取れません";
  if (why == files::ReadStatus::NotAFile) reason = "通常のファイルではありません";
  if (why == files::ReadStatus::TooBig) reason = "16 MB を超えています";
  return "設定ファイル " + path + " を読み込めません（" + reason +
         "）。\n既定の設定で動きます。設定と履歴はこのファイルに保存されません。";
}

}  // namespace settings_text
