// What the decision logic needs of the operating system. The POSIX and the
// Windows implementation sit behind this one interface; the build actions
// never see which one they talk to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/mbcs.h"

// Values that differ between the platforms. Windows keeps the original ones.
struct PlatformValues {
  std::vector<std::string> probeFolders;  // tried in order; each ends in a separator
  std::string probeSuffix;                // appended to folder + name (".exe" / "")
  std::string programFileMarker;          // "names a program file" test (".exe" / "/")
  std::string separator;                  // last-separator search in ChooseTeX ("\\" / "/")
  mbcs::PathStyle pathStyle = mbcs::PathStyle::Windows;  // how a document path splits
  bool pathsIgnoreCase = false;           // A.tex and a.tex are one document (Windows)
  std::string defaultEditor;              // "c:\\WINDOWS\\NOTEPAD.exe" / "xdg-open"
  std::string programFilter;              // ChooseTeX & co. ("Exe files (*.exe)|*.exe||" / all files)
  std::string editorFilter;               // ChooseEditor
  std::string editorDefExt;               // ChooseEditor default extension
  std::string editorInitialName;          // ChooseEditor initial file name
  std::string settingsFileName;           // joined to the start-up folder ("\\Mirvan.ini" / "/Mirvan.ini")
  // The Japanese BibTeX program: default, fallback and derived name
  // ("jbibtex" / "pbibtex", TeX Live has no jbibtex).
  std::string japaneseBibTeX;
  // The texts that name program files and where they are: Windows folders
  // and ".exe" there, the POSIX probe folders and bare names here.
  struct ToolTexts {
    const char* locateTeXQuestion;
    const char* changeTeXQuestion;
    const char* chooseBibTeXQuestion;
    const char* chooseMkIdxQuestion;
    const char* chooseDviPdfQuestion;
    const char* bibTeXError;
    const char* bibTeXHint;
    const char* mkIdxError;
    const char* mkIdxHint;
    const char* dviOpenFailure;
  } texts{};
};

PlatformValues WindowsPlatformValues();
PlatformValues PosixPlatformValues();

struct FileStatus {
  bool exists = false;
  // Last-write time at the file system's full resolution, in nanoseconds
  // since the epoch (whole seconds * 1e9 where the system has no finer).
  std::int64_t mtimeNs = 0;
};

class IPlatform {
 public:
  virtual ~IPlatform() = default;

  virtual const PlatformValues& Values() const = 0;

  // Start `program` with exactly these argument words (no shell, no
  // re-splitting), in the current working directory, and wait for it.
  // Returns the exit status, or -1 when the program could not be started.
  virtual int RunTool(const std::string& program, const std::vector<std::string>& args) = 0;

  // _chdir / _getcwd. A failing change is the caller's to ignore.
  virtual bool ChangeDir(const std::string& dir) = 0;
  virtual bool GetCwd(std::string& out) = 0;

  // Existence and last-write time of a file.
  virtual FileStatus Stat(const std::string& path) = 0;

  // ShellExecute "open" of a document (.dvi, .pdf) with `dir` as working
  // directory; returns at once. false is the "32 or less" case.
  virtual bool OpenDocument(const std::string& file, const std::string& dir) = 0;

  // ShellExecute "open" of the editor program with the document's full path
  // (empty: no document) as its one parameter, in `dir`. false = failure.
  virtual bool OpenEditor(const std::string& editor, const std::string& documentPath,
                          const std::string& dir) = 0;

  // The command prompt / terminal, started without waiting in the current
  // working directory. Its failure is silent by rule.
  virtual void StartCommandPrompt() = 0;

  // Starts argv[0] (found as RunTool finds a program) with exactly these
  // words, no shell, in `dir` (the current folder when empty), without
  // waiting. false when it could not be started.
  virtual bool StartDetached(const std::vector<std::string>& argv, const std::string& dir) {
    (void)argv;
    (void)dir;
    return false;
  }
  // The desktop's editor for TeX sources, which the default editor
  // (Values().defaultEditor) stands for: its program and fixed arguments,
  // without the desktop's placeholders for the file. Empty where there is
  // none, or no desktop to ask.
  virtual std::vector<std::string> DesktopEditor() { return {}; }

  // One button action's tool runs are shown together. A failure found in
  // the tools' output files (no new DVI, no PDF) is told with NoteFailure,
  // so that it is shown with what the tools printed.
  virtual void BeginAction() {}
  virtual void NoteFailure(const std::string& text) { (void)text; }
  virtual void EndAction() {}
};
