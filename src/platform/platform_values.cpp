#include "platform/platform.h"

#include "platform/texts.h"

PlatformValues WindowsPlatformValues() {
  PlatformValues v;
  v.probeFolders = {"c:\\w32tex\\bin\\", "c:\\tex\\bin\\", "c:\\usr\\local\\bin\\"};
  v.probeSuffix = ".exe";
  v.programFileMarker = ".exe";
  v.separator = "\\";
  v.pathsIgnoreCase = true;
  v.defaultEditor = "c:\\WINDOWS\\NOTEPAD.exe";
  v.programTypes = {{msg::kExeFiles, "*.exe"}};
  v.editorTypes = {{msg::kExecutableFiles, "*.exe"}};
  v.editorDefExt = "exe";
  v.editorInitialName = "*.exe";
  v.settingsFileName = "\\Mirvan.ini";
  v.japaneseBibTeX = "jbibtex";
  v.texts = {msg::kLocateTeXQuestion,   msg::kChangeTeXQuestion, msg::kChooseBibTeXQuestion,
             msg::kChooseMkIdxQuestion, msg::kChooseDviPdfQuestion, msg::kBibTeXError,
             msg::kBibTeXHint,          msg::kMkIdxError,        msg::kMkIdxHint,
             msg::kDviOpenFailure};
  return v;
}

PlatformValues PosixPlatformValues() {
  PlatformValues v;
  v.pathStyle = mbcs::PathStyle::Posix;
  // Where TeX Live's symlinks, distributions and macOS's TeX put the programs
  // that a desktop launcher's minimal PATH may lack.
  v.probeFolders = {"/usr/local/bin/", "/usr/bin/", "/Library/TeX/texbin/"};
  v.probeSuffix = "";
  v.programFileMarker = "/";
  v.separator = "/";
  v.defaultEditor = "xdg-open";
  v.programTypes = {};  // all files: programs have no extension here
  v.editorTypes = {};
  v.editorDefExt = "";
  v.editorInitialName = "";
  v.settingsFileName = "/Mirvan.ini";
  v.japaneseBibTeX = "pbibtex";
  v.texts = {msg::posix::kLocateTeXQuestion,   msg::posix::kChangeTeXQuestion, msg::posix::kChooseBibTeXQuestion,
             msg::posix::kChooseMkIdxQuestion, msg::posix::kChooseDviPdfQuestion, msg::posix::kBibTeXError,
             msg::posix::kBibTeXHint,          msg::posix::kMkIdxError,        msg::posix::kMkIdxHint,
             msg::posix::kDviOpenFailure};
  return v;
}
