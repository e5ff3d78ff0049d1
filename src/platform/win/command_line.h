// Command lines on Windows: the first document from Mirvan.exe's own, and
// the search and words of a tool's.
#pragma once

#include <string>
#include <vector>

// The text after the program name, unparsed, except that one pair of double
// quotes enclosing the whole of it is removed: Explorer and "Send to" quote a
// path with blanks, and a quoted path would name no file.
std::string DocumentFromCommandLine(const std::string& commandLine);

// The files _spawnlp would try for `program`, in its order: a name with an
// extension as it is, one without with .com, .exe, .bat and .cmd; a name
// without a folder in the working folder first, then in each folder of
// `pathVariable` (the value of PATH).
std::vector<std::string> ProgramCandidates(const std::string& program, const std::string& pathVariable);

// A file Windows runs through cmd.exe: a .bat or .cmd.
bool IsBatchFile(const std::string& path);

// What in one word cmd.exe would still act on when the word is quoted: a
// "%" (it expands variables even inside quotes), a double quote (it ends
// the quoting), a line break (it ends the command), or a lead byte without
// its trail byte (the conversion to UTF-16 may swallow the closing quote).
// Empty when there is none; otherwise what to call it in a message.
enum class BatchHazard { None, Percent, Quote, LineBreak, BrokenCharacter };
BatchHazard BatchHazardIn(const std::string& word);
