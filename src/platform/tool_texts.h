// The consoles' own lines around a tool's output: what was started where,
// and how it ended. UTF-8, as every fixed text of the program.
#pragma once

#include <string>
#include <vector>

#include "platform/child_process.h"

namespace tool_text {

inline std::string BaseName(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "▶ /usr/bin/platex paper  （フォルダ /home/u/doc）"
inline std::string Header(const std::vector<std::string>& argv, const std::string& dir) {
  std::string line = "▶";
  for (const std::string& word : argv) line += " " + word;
  if (!dir.empty()) line += "  （フォルダ " + dir + "）";
  return line;
}

inline std::string Exited(const std::string& program, int status) {
  return BaseName(program) + " は終了コード " + std::to_string(status) +
         " で終わりました。";
}

inline std::string EndedBySignal(const std::string& program, int sig) {
  return BaseName(program) + " はシグナル " + SignalName(sig) + " (" + std::to_string(sig) +
         ") で終了しました。";
}

inline std::string Missing(const std::string& program) {
  return "プログラム " + program +
         " が見つかりません。";
}

inline std::string Stopped(const std::string& program) {
  return BaseName(program) + " を停止しました。";
}

}  // namespace tool_text
