#include "platform/win/command_line.h"

#include "text/mbcs.h"

std::string DocumentFromCommandLine(const std::string& commandLine) {
  if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"' &&
      commandLine.find('"', 1) == commandLine.size() - 1) {
    return commandLine.substr(1, commandLine.size() - 2);
  }
  return commandLine;
}

std::vector<std::string> ProgramCandidates(const std::string& program, const std::string& pathVariable) {
  std::vector<std::string> bases{program};
  if (mbcs::FindLastOf(program, "\\/:") == std::string::npos) {
    for (std::size_t at = 0; at <= pathVariable.size();) {
      std::size_t end = pathVariable.find(';', at);
      if (end == std::string::npos) end = pathVariable.size();
      std::string folder = pathVariable.substr(at, end - at);
      at = end + 1;
      // A folder may be written in quotes.
      if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') folder = folder.substr(1, folder.size() - 2);
      if (folder.empty()) continue;
      const std::size_t last = mbcs::FindLastOf(folder, "\\/");
      if (last != folder.size() - 1) folder += '\\';
      bases.push_back(folder + program);
    }
  }
  const bool hasExtension = !mbcs::SplitPath(program).ext.empty();
  std::vector<std::string> out;
  for (const std::string& base : bases) {
    if (hasExtension) {
      out.push_back(base);
      continue;
    }
    for (const char* ext : {".com", ".exe", ".bat", ".cmd"}) out.push_back(base + ext);
  }
  return out;
}

bool IsBatchFile(const std::string& path) {
  const std::string ext = mbcs::SplitPath(path).ext;
  return mbcs::EqualsNoCase(ext, ".bat") || mbcs::EqualsNoCase(ext, ".cmd");
}

BatchHazard BatchHazardIn(const std::string& word) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(word[i]);
    if (mbcs::IsLeadByte(c)) {
      // CP932 trail bytes run from 0x40 to 0xFC, less 0x7F.
      const unsigned char t = i + 1 < word.size() ? static_cast<unsigned char>(word[i + 1]) : 0;
      if (t < 0x40 || t == 0x7F || t > 0xFC) return BatchHazard::BrokenCharacter;
      ++i;
      continue;
    }
    if (c == '%') return BatchHazard::Percent;
    if (c == '"') return BatchHazard::Quote;
    if (c == '\r' || c == '\n') return BatchHazard::LineBreak;
  }
  return BatchHazard::None;
}
