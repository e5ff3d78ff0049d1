// CMirvanDlg: the main window's state and operations, free of any toolkit.
// It owns the current document, the history box's list and the tool
// configuration, and reaches the world only through IProfile (Mirvan.ini),
// IPlatform (processes, files, shell) and IPrompts (boxes and dialogs).
//
// The Qt window (src/ui) shows one of these; the Settings dialog holds a
// second one as its working instance, never shown.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/prompts.h"
#include "document/history_box.h"
#include "platform/platform.h"

struct MirvanEnv {
  IProfile& profile;
  IPlatform& platform;
  IPrompts& prompts;
};

class CMirvanDlg {
 public:
  explicit CMirvanDlg(MirvanEnv env);
  CMirvanDlg(const CMirvanDlg&) = delete;
  CMirvanDlg& operator=(const CMirvanDlg&) = delete;

  // ---- Tool configuration (configuration.cpp) ----------------------------
  std::string m_strEditor;
  std::string m_strTeX;
  std::string m_strBib;
  std::string m_strDviPdf;
  std::string m_strMkIdx;
  std::string m_strMkIdxOpt;
  int m_nMkIdxNvr = 0;
  int m_nPdfSizeNo = 0;
  int m_nPdfNShow = 0;
  int m_nPdfNeShow = 0;
  int m_nAcr = 0;

  // Start-up rule of the paper size switches, then (later in OnInitDialog)
  // the program load.
  void LoadSettingsStartupRule();
  void LoadSettingsPrograms();
  void ReloadSettings();

  // ---- Current document and history (doc/document.cpp) ------------------
  std::string m_strFile;
  std::string m_strDir;
  std::string m_strName;
  int m_nHistoryMax = 0;
  HistoryBox m_history;  // control 1017's list

  void SplitPath(const std::string& path);
  bool SameDocument(const std::string& a, const std::string& b);
  void RemoveFromHistory(const std::string& path, int from);
  void AddToHistory(bool selectEntry);  // selectEntry: SelectFile's step 4
  // Paths of the dropped files, in drop order. A drop that carries no local
  // file is passed as a single empty path (refused like a non-.tex file).
  void OnDropFiles(const std::vector<std::string>& paths);
  void SelectFile();
  void SelectHistory();  // CBN_SELENDOK: acts on m_history.GetCurSel()
  void LoadHistory();       // steps 1-4
  void LoadHistoryFinish(); // step 5
  void OnClose();           // saves the history; the window then closes

  // OnInitDialog's decision steps, in order (4, 6, 7, 8 of the window's list).
  void InitDialogCore();

  // ---- Tools (build/tools.cpp) --------------------------------------------
  // Runs `program` with the document argument words; see BuildArgs.
  int RunTool(const std::string& program, const std::vector<std::string>& args);
  int LocateTeX();
  int ChooseTeX();
  void ChangeTeX();
  int ChooseBibTeX();
  int ChooseMkIdx();
  int ChooseDviPdf();
  // Changes into m_strDir (nothing to change when it is empty: a bare name is
  // in the working folder). On failure says so with the stop icon: the
  // caller then runs nothing.
  bool EnterDocumentFolder();
  // The document as a tool's argument: a name that begins with '-' is
  // passed as ./-name, so that no tool takes it for an option.
  std::string DocumentArgument() const;
  // The double-byte-aware "contains" of the system code page.
  static bool Contains(const std::string& text, const std::string& what);
  // "Names a program file": contains ".exe" on Windows, "/" on POSIX.
  bool NamesProgramFile(const std::string& program) const;

  // ---- BibTeX and index runs (build/bib_index.cpp) -------------------------
  int RunBibTeX();
  int RunMakeIndex();
  void EditMkIdxOptions();

  // ---- Compile driver (build/compile.cpp) ----------------------------------
  int Compile();

  // ---- PDF creation (build/pdf.cpp) ----------------------------------------
  int MakePdf();
  void EditPdfSize();
  // The paper size exchange shared by MakePdf and EditPdfSize; true = OK.
  bool PdfSizeExchange();
  // The converter option words of a paper size number (" -p a3 " -> -p a3).
  static std::string PdfSizeOption(int sizeNo);

  // ---- Editor, viewers, prompt (build/shell_actions.cpp) -------------------
  void EditSource();
  void ViewDvi();
  void ViewPdf();
  void OpenCommandPrompt();
  void CompileAndMakePdf();

  // ---- Settings (config/settings_dlg.cpp) ----------------------------------
  void OpenSettings();
  void ChooseEditor();
  // Set by the paper size exchange when its dialog closed with OK: the sum
  // of the two box states. OpenSettings reads it from the working instance.
  bool m_bPdfSizeOk = false;
  int m_nPdfSizeOkShow = 0;

  // ---- Button dispatch (core/dispatch.cpp) ---------------------------------
  // Runs one button action; a FileError or MemoryError raised inside ends it
  // and is reported here, once. Returns false when an error ended it.
  bool RunAction(const std::function<void()>& action);

  // Repaint request (the window redraws after drops, picks, history choices).
  std::function<void()> onInvalidate;
  void Invalidate() { if (onInvalidate) onInvalidate(); }

  IProfile& Profile() { return m_env.profile; }
  IPlatform& Platform() { return m_env.platform; }
  IPrompts& Prompts() { return m_env.prompts; }
  const MirvanEnv& Env() const { return m_env; }

 private:
  MirvanEnv m_env;
};

// ReadWholeFile: the whole file up to its first NUL byte, opened with full
// sharing. Throws FileError(path) when it cannot be opened or read and
// MemoryError when the buffer cannot be had. (build/read_file.cpp)
void ReadWholeFile(const std::string& path, std::string& out);
