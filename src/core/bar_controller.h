// The bar's behaviour, once for both front ends: which event starts what,
// that one action runs at a time, how an action ends, what the history box
// shows and when, how the bar ends, and where its manual is. A front end
// draws what this says and passes every event in; it decides nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/mirvan_dlg.h"

// What the controller asks of the window that shows the bar.
class IBarView {
 public:
  virtual ~IBarView() = default;
  // The history box as it is now: after every event that changed it, once.
  // `entriesChanged`: its list differs from the one shown last (or none was
  // shown yet); otherwise only the selection and the edit text are new.
  virtual void ShowHistory(const HistoryBox& history, bool entriesChanged) = 0;
  // While an action runs the bar's controls take no input; they stay drawn,
  // and the boxes and dialogs the action opens stay usable.
  virtual void SetBusy(bool busy) = 0;
  // The keyboard focus goes to the history box.
  virtual void FocusHistory() = 0;
  // What the tools of the last action that wrote a transcript reported;
  // `failed`: the action ended with an error the list holds, so the list
  // takes the keyboard focus with the first error selected.
  virtual void ShowProblems(const ProblemList& problems, bool failed) = 0;
  // The list of the last errors and warnings, and the last transcript
  // where the bar keeps one, brought into view.
  virtual void OpenProblemList() = 0;
  // The window title says whether a save compiles.
  virtual void ShowCompileOnSave(bool on) = 0;
  // Calls SavesSettled after `ms` milliseconds, unless asked again before:
  // then after `ms` from then.
  virtual void SettleAfter(int ms) = 0;
  virtual void ShowAbout() = 0;
};

// One entry of the bar's context menu, as the front end draws it.
struct MenuEntry {
  int command;  // what Choose is given; also the number of its text in the string table
  bool checkable = false;
  bool checked = false;
  bool enabled = true;
};

// The ways the bar is asked to end.
enum class BarEnd {
  CloseBox,  // the close box, Alt+F4, the window menu's Close
  Escape,    // Esc on the bar
  Session,   // the desktop session is ending
  Signal,    // the program is told to end from outside (TERM, HUP, INT)
};

class BarController {
 public:
  BarController(MirvanEnv env, IBarView& view);
  BarController(const BarController&) = delete;
  BarController& operator=(const BarController&) = delete;

  // Before the window opens: the document named on the command line,
  // relative to the start folder.
  void SetFirstDocument(const std::string& path) { m_dlg.SetDocumentFromCommandLine(path); }
  // The window has opened: settings, history and document are loaded and shown.
  void Open();

  // The user's events. Each is ignored while an action runs.
  void Press(int control);                           // a button of the bar
  void Drop(const std::vector<std::string>& paths);  // files dropped on the bar
  void ChooseHistory(int index);                     // an entry chosen from the list
  // The history box shows what the bar did not choose (a typed text the
  // toolkit took for a choice): it is shown as the history is.
  void ShowHistoryAgain() { ShowHistory(); }
  // Enter where no push button has the focus: nothing. (It never ends the
  // bar, which would lose the history unsaved.)
  void Enter() {}
  // The bar is asked to end; true when it ends now. Whichever way it ends,
  // the history is saved, once. The user's own ways wait for a running action.
  bool End(BarEnd how);

  // Opens entry `index` of the last list in the editor, at its line.
  void OpenProblem(std::size_t index);

  // The context menu: its entries, and one chosen.
  std::vector<MenuEntry> ContextMenu() const;
  void Choose(int command);

  // Compile on save: while on, a save that changed the document or a file
  // its last compile read from the document's folder tree compiles, as the
  // TeX button does. A save during an action compiles once more after it;
  // a compile waiting at TeX's prompt is stopped and started anew.
  bool CompileOnSave() const { return m_dlg.CompileOnSave(); }
  void SetCompileOnSave(bool on);
  // What a front end waits on for the watch (a descriptor on POSIX, a
  // handle on Windows), -1 when nothing is watched; then it calls
  // FilesMayHaveChanged.
  std::intptr_t WatchHandle() const { return m_watch ? m_watch->WaitHandle() : -1; }
  void FilesMayHaveChanged();
  // The moment SettleAfter asked for has passed: unless the files changed
  // meanwhile, an editor that writes a file in several pieces has finished.
  void SavesSettled();
  // How long the files must be quiet after a change before it compiles.
  static constexpr int kSettleMs = 80;

  bool Busy() const { return m_busy; }
  bool Ended() const { return m_ended; }
  const HistoryBox& History() { return m_dlg.History(); }
  // How the last action ended.
  const ActionVerdict& LastVerdict() const { return m_lastVerdict; }

  // The user manual: beside the program, in the installed documentation,
  // or in the checkout the program was built in. `programDir` ends in the
  // separator. The first candidate when none exists.
  std::string ManualPath(const std::string& programDir);
  // A control's tooltip from its string: what follows the line break (the
  // part before it would be a status bar text, which the bar has none of).
  static std::string ToolTipOf(const std::string& resourceString);
  // The side of a bar button's picture: the button less its frame, two
  // pixels on each side, and never below 8 pixels.
  static int IconSide(int buttonWidth, int buttonHeight);

 private:
  // The one way an event acts: one at a time, its errors and its verdict
  // handled, the view brought up to date once at its end.
  // `compile`: the action is the TeX button's, which a save may restart.
  void Run(const std::function<void()>& action, bool compile = false);
  void Refresh();
  // What is watched follows the document and its last compile.
  void Rewatch();
  // Polls the watch; true when a save goes on, and SavesSettled is asked for again.
  bool StillSaving();
  void ShowHistory();

  MirvanEnv m_env;
  IBarView& m_view;
  CMirvanDlg m_dlg;
  std::unique_ptr<IFileWatch> m_watch;
  std::vector<std::string> m_watched;
  bool m_compiling = false;     // the running action is a compile a save restarts
  bool m_compileAgain = false;  // a save came while an action ran
  bool m_saved = false;         // a change seen, waiting to settle
  bool m_busy = false;
  bool m_ended = false;
  bool m_shown = false;
  unsigned m_shownRevision = 0;
  std::optional<std::vector<std::string>> m_shownEntries;  // the list the view shows
  ActionVerdict m_lastVerdict;
};
