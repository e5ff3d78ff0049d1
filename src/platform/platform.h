// What the decision logic needs of the operating system. The POSIX and the
// Windows implementation sit behind this one interface; the build actions
// never see which one they talk to.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_watch.h"
#include "platform/prompts.h"
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
  std::vector<FileType> programTypes;     // ChooseTeX & co.: "Exe files (*.exe)" / none, all files
  std::vector<FileType> editorTypes;      // ChooseEditor
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

// How one button action ended, as the core judged it from the files the
// tools left (never from an exit status alone).
struct ActionVerdict {
  enum class Kind {
    None,     // nothing to say: the action ran no tool, or opened something
    Success,  // what the action was for was done
    Failure,  // it was not; `text` says why
    Stopped,  // the user stopped one of its tools, and so the action
  };
  Kind kind = Kind::None;
  // The end line's words: those of the box the bar showed, where it showed one.
  std::string text;
  // The user has read `text` in a box already.
  bool shownInBox = false;
};

// A tool run refused before anything started, because its words cannot reach
// the program as they are (a batch file's command interpreter would read
// part of them as commands of its own). It ends the whole button action; the
// action's dispatcher shows what() once.
class ToolRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
  // Throws ToolRefused when the words cannot be passed safely.
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

  // After a failed OpenDocument or OpenEditor: what the platform knows of
  // the cause beyond the failure (a library it could not load), as a text
  // for the user; empty when nothing.
  virtual std::string OpenTrouble() const { return std::string(); }

  // A watch of files for a change of what they hold (compile on save);
  // null where the system gives none.
  virtual std::unique_ptr<IFileWatch> MakeFileWatch() { return nullptr; }
  // The running tool waits for the user's answer (TeX's "?" prompt);
  // false where the platform cannot tell.
  virtual bool ToolAwaitsAnswer() const { return false; }
  // Stops the running tool as the user's Stop does.
  virtual void StopTool() {}

  // One button action's tool runs are shown together, and end with the
  // action's verdict.
  virtual void BeginAction() {}
  // The user stopped a tool run of this action (Stop, Ctrl+C, closing its
  // console): its later runs must not start.
  virtual bool ActionStopped() const { return false; }
  virtual void EndAction(const ActionVerdict& verdict) { (void)verdict; }
  // Whether the user sees the verdict of an action that ran tools without
  // being told in a box: a console of the program's own keeps its last line
  // in view; the consoles Windows gives each tool close with their tool.
  virtual bool ShowsVerdicts() const { return false; }
};
