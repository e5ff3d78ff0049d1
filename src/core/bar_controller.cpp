#include "core/bar_controller.h"

#include <algorithm>

#include "config/resource_ids.h"
#include "core/texts.h"

BarController::BarController(MirvanEnv env, IBarView& view) : m_env(env), m_view(view), m_dlg(env) {}

void BarController::Open() {
  m_dlg.InitDialogCore();
  m_dlg.History().SetFocus();
  if (CompileOnSave()) SetCompileOnSave(true);
  Refresh();
}

void BarController::Refresh() {
  HistoryBox& history = m_dlg.History();
  if (!m_shown || history.Revision() != m_shownRevision) {
    m_shown = true;
    m_shownRevision = history.Revision();
    ShowHistory();
  }
  if (history.TakeFocusRequest()) m_view.FocusHistory();
}

void BarController::ShowHistory() {
  const HistoryBox& history = m_dlg.History();
  // The list is refilled only when it changed: refilling closes an open
  // list and loses the place in it.
  const bool entriesChanged = !m_shownEntries || *m_shownEntries != history.Items();
  if (entriesChanged) m_shownEntries = history.Items();
  m_view.ShowHistory(history, entriesChanged);
}

void BarController::Run(const std::function<void()>& action, bool compile) {
  if (m_busy || m_ended) return;
  m_busy = true;
  m_view.SetBusy(true);
  std::function<void()> next = action;
  for (;;) {
    m_compiling = compile;
    m_compileAgain = false;
    const ProblemList& problems = m_dlg.Problems();
    const std::size_t before = problems.Generation();
    m_lastVerdict = m_dlg.RunAction(next);
    const bool failed = m_lastVerdict.kind == ActionVerdict::Kind::Failure;
    const bool listed = problems.Generation() != before;
    if (listed) m_view.ShowProblems(problems, failed && problems.HasErrors());
    // Where no console keeps the action's end in view (the consoles Windows
    // gives the tools close with them), a failure no box has told is told
    // now: the user would otherwise be left guessing. Where there is a list
    // of what went wrong, it is offered with it.
    if (failed && !m_env.platform.ShowsVerdicts()) {
      if (listed && problems.HasErrors()) {
        if (m_env.prompts.AskOkCancel(m_lastVerdict.text + "\n\n" + msg::kOfferProblems))
          m_view.OpenProblemList();
      } else if (!m_lastVerdict.shownInBox) {
        m_env.prompts.Notice(m_lastVerdict.text);
      }
    }
    Rewatch();
    // Saves made meanwhile compile once more, however many there were.
    if (!m_compileAgain || !CompileOnSave() || m_ended) break;
    next = [this] { m_dlg.Compile(); };
    compile = true;
  }
  m_compiling = false;
  m_compileAgain = false;
  m_busy = false;
  m_view.SetBusy(false);
  Refresh();
}

void BarController::OpenProblem(std::size_t index) {
  const std::vector<texlog::Entry>& entries = m_dlg.Problems().Entries();
  if (m_busy || index >= entries.size()) return;
  m_dlg.OpenProblem(entries[index]);
}

std::vector<MenuEntry> BarController::ContextMenu() const {
  std::vector<MenuEntry> menu;
  // Where a console keeps each action's transcript, the list is in it.
  if (m_env.platform.ShowsVerdicts()) {
    menu.push_back({string_id::kLastOutputMenu});
  } else {
    menu.push_back({string_id::kProblemsMenu});
  }
  MenuEntry watch{string_id::kCompileOnSaveMenu, true, CompileOnSave()};
  menu.push_back(watch);
  menu.push_back({string_id::kAboutMenu});
  for (MenuEntry& e : menu) e.enabled = !m_busy;
  return menu;
}

void BarController::Choose(int command) {
  if (m_busy) return;
  if (command == string_id::kLastOutputMenu || command == string_id::kProblemsMenu) m_view.OpenProblemList();
  if (command == string_id::kCompileOnSaveMenu) SetCompileOnSave(!CompileOnSave());
  if (command == string_id::kAboutMenu) m_view.ShowAbout();
}

void BarController::SetCompileOnSave(bool on) {
  if (on != CompileOnSave()) m_dlg.SetCompileOnSave(on);
  if (on && !m_watch) m_watch = m_env.platform.MakeFileWatch();
  if (!on) {
    m_watch.reset();
    m_watched.clear();
  }
  Rewatch();
  m_view.ShowCompileOnSave(on);
}

void BarController::Rewatch() {
  if (!m_watch) return;
  std::vector<std::string> files = m_dlg.Problems().Sources();
  // The last compile's files belong to its document; another one chosen
  // since is watched alone until it is compiled.
  if (files.empty() || files.front() != m_dlg.DocumentFile()) files.assign(1, m_dlg.DocumentFile());
  if (files.front().empty()) files.clear();
  if (files == m_watched) return;
  m_watched = files;
  m_watch->Watch(files);
}

bool BarController::StillSaving() {
  const bool changed = !m_watch->Poll().empty();
  if (changed) m_saved = true;
  // A file truncated and then written, or written in pieces, is compiled
  // once it is whole: after a quiet moment, and never while the system
  // says a file is still being written (then it is looked at again).
  const int retry = m_watch->RetryMs();
  if (!changed && retry < 0) return false;
  m_view.SettleAfter(std::max(kSettleMs, retry));
  return true;
}

void BarController::FilesMayHaveChanged() {
  if (m_watch && !m_ended) StillSaving();
}

void BarController::SavesSettled() {
  if (m_ended || !m_watch || StillSaving() || !m_saved) return;
  m_saved = false;
  if (m_busy) {
    m_compileAgain = true;
    // A compile that waits for an answer to an error in what was just
    // saved would only compile the old text: it starts anew.
    if (m_compiling && m_env.platform.ToolAwaitsAnswer()) m_env.platform.StopTool();
    return;
  }
  Run([this] { m_dlg.Compile(); }, true);
}

void BarController::Press(int control) {
  const std::function<void()> action = m_dlg.ActionFor(control);
  if (action) Run(action, control == control::kCompile);
}

void BarController::Drop(const std::vector<std::string>& paths) {
  Run([&] { m_dlg.OnDropFiles(paths); });
}

void BarController::ChooseHistory(int index) {
  if (m_busy || m_ended) {
    // The box may show a choice the bar did not take: it shows the list as it is.
    ShowHistory();
    return;
  }
  Run([&] {
    m_dlg.History().SetCurSel(index);
    m_dlg.SelectHistory();
  });
}

bool BarController::End(BarEnd how) {
  if (m_ended) return true;
  if (m_busy && (how == BarEnd::CloseBox || how == BarEnd::Escape)) return false;
  m_ended = true;
  m_dlg.OnClose();
  return true;
}

std::string BarController::ManualPath(const std::string& programDir) {
  static const char* const kCandidates[] = {
      "manual.html",
      "../share/doc/mirvan/manual.html",  // installed
      "../docs/manual.html",              // a build folder in the checkout
      "../../docs/manual.html",           // a build's tests folder
  };
  const std::string& separator = m_env.platform.Values().separator;
  std::string first;
  for (const char* candidate : kCandidates) {
    std::string path = programDir;
    for (const char* c = candidate; *c; ++c) {
      if (*c == '/') path += separator;
      else path += *c;
    }
    if (m_env.platform.Stat(path).exists) return path;
    if (first.empty()) first = path;
  }
  return first;
}

int BarController::IconSide(int buttonWidth, int buttonHeight) {
  return std::max(8, std::min(buttonWidth, buttonHeight) - 4);
}

std::string BarController::ToolTipOf(const std::string& resourceString) {
  const std::string::size_type nl = resourceString.find('\n');
  return nl == std::string::npos ? resourceString : resourceString.substr(nl + 1);
}
