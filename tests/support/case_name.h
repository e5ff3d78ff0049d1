// Readable names for parameterised test cases: the case's number and the
// letters and digits of a short description (all a test name may hold), so
// that test lists show what each case is about rather than a byte dump.
#pragma once

#include <cctype>
#include <cstddef>
#include <string>

inline std::string CaseName(std::size_t index, const std::string& what) {
  std::string name = "c" + std::to_string(index);
  bool gap = true;
  for (unsigned char ch : what) {
    if (ch < 0x80 && std::isalnum(ch)) {
      if (gap) name += '_';
      name += static_cast<char>(ch);
      gap = false;
    } else {
      gap = true;
    }
  }
  return name;
}
