// The actions' parts wired to a scripted world, with the document set and a
// table of which programs start and with what status.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/actions_rig.h"

struct ToolRig : ActionsOn<> {
  // Program -> exit status; a program not listed cannot be started.
  std::map<std::string, int> starts;

  explicit ToolRig(bool posix) : ActionsOn(posix ? PosixPlatformValues() : WindowsPlatformValues()) {
    platform.onRun = [this](const ToolCall& call) {
      auto it = starts.find(call.program);
      return it == starts.end() ? -1 : it->second;
    };
    Configure(posix ? "/home/u/論文 2/my paper.tex" : "C:\\work\\paper.tex");
  }
};

// Replaces every "$X" token of `pattern` by its value.
inline std::string Expand(std::string pattern, const std::map<std::string, std::string>& tokens) {
  for (const auto& [token, value] : tokens) {
    for (auto at = pattern.find(token); at != std::string::npos; at = pattern.find(token, at + value.size()))
      pattern.replace(at, token.size(), value);
  }
  return pattern;
}

inline std::vector<std::string> Expand(const std::vector<std::string>& patterns,
                                       const std::map<std::string, std::string>& tokens) {
  std::vector<std::string> out;
  for (const auto& p : patterns) out.push_back(Expand(p, tokens));
  return out;
}
