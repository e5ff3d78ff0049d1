#include "platform/win/command_line.h"

std::string DocumentFromCommandLine(const std::string& commandLine) {
  if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"' &&
      commandLine.find('"', 1) == commandLine.size() - 1) {
    return commandLine.substr(1, commandLine.size() - 2);
  }
  return commandLine;
}
