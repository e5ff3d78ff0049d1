// The first document from the Windows command line.
#pragma once

#include <string>

// The text after the program name, unparsed, except that one pair of double
// quotes enclosing the whole of it is removed: Explorer and "Send to" quote a
// path with blanks, and a quoted path would name no file.
std::string DocumentFromCommandLine(const std::string& commandLine);
