// This test program doubles as a tool (see main.cpp): where it lives, and
// how to read back what it recorded.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "platform/win/win_api.h"

inline std::string SelfPath() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return std::string(buf, n);
}

inline std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}
