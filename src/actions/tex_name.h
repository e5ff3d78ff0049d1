// Document names that TeX does not read as a file name. The compiler gets
// the document's name as its first line of input, and TeX expands what it
// reads there: a backslash starts a control sequence (a name can write or
// empty any file the user can), a leading '&' names a format, a leading
// '{' opens an expanded group, '%' starts a comment, '~' is an active
// character, "^^" spells any byte, a quote or two blanks in a row change the
// name, and a tab, form feed, carriage return or delete end or spoil it.
// Every other character, blanks and Japanese included, reaches TeX as it is.
#pragma once

#include <string>

#include "text/mbcs.h"

// What in `arg`, the document as the tools get it, TeX would not take as
// part of the file's name, as the user is told it; nullptr when TeX reads
// all of `arg` as the name. Double-byte characters are units: a CP932 trail
// byte 0x5C is no backslash.
const char* TeXNameHazard(const std::string& arg, mbcs::CodePage cp = mbcs::SystemCodePage());
