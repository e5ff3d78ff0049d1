// Reading a tool's output file whole.
#pragma once

#include <string>

// The whole file up to its first NUL byte, opened with full sharing. Throws
// FileError(path) when it cannot be opened or read and MemoryError when the
// buffer cannot be had.
void ReadWholeFile(const std::string& path, std::string& out);
