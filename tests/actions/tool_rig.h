// A main window object wired to a scripted world, with the document set and
// a table of which programs start and with what status.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/mirvan_dlg.h"
#include "support/fakes.h"

struct ToolRig {
  MemoryProfile profile;
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  CMirvanDlg dlg;
  // Program -> exit status; a program not listed cannot be started.
  std::map<std::string, int> starts;

  explicit ToolRig(bool posix)
      : platform(posix ? PosixPlatformValues() : WindowsPlatformValues()),
        dlg(MirvanEnv{profile, platform, prompts}) {
    platform.onRun = [this](const ToolCall& call) {
      auto it = starts.find(call.program);
      return it == starts.end() ? -1 : it->second;
    };
    if (posix) {
      dlg.m_strFile = "/home/u/論文 2/my paper.tex";
      dlg.m_strDir = "/home/u/論文 2/";
      dlg.m_strName = "my paper";
    } else {
      dlg.m_strFile = "C:\\work\\paper.tex";
      dlg.m_strDir = "C:\\work\\";
      dlg.m_strName = "paper";
    }
    dlg.m_strTeX = "platex";
    dlg.m_strBib = "jbibtex";
    dlg.m_strDviPdf = "dvipdfmx";
    dlg.m_strMkIdx = "mendex";
    dlg.m_strMkIdxOpt = "-s myindex";
    dlg.m_nMkIdxNvr = 1;
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
