#include "core/bar_controller.h"

#include <algorithm>

BarController::BarController(MirvanEnv env, IBarView& view) : m_env(env), m_view(view), m_dlg(env) {}

void BarController::Open() {
  m_dlg.InitDialogCore();
  m_dlg.History().SetFocus();
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

void BarController::Run(const std::function<void()>& action) {
  if (m_busy || m_ended) return;
  m_busy = true;
  m_view.SetBusy(true);
  m_lastVerdict = m_dlg.RunAction(action);
  // Where no console keeps the action's end in view (the consoles Windows
  // gives the tools close with them), a failure no box has told is told
  // now: the user would otherwise be left guessing.
  if (m_lastVerdict.kind == ActionVerdict::Kind::Failure && !m_lastVerdict.shownInBox &&
      !m_env.platform.ShowsVerdicts())
    m_env.prompts.Notice(m_lastVerdict.text);
  m_busy = false;
  m_view.SetBusy(false);
  Refresh();
}

void BarController::Press(int control) {
  const std::function<void()> action = m_dlg.ActionFor(control);
  if (action) Run(action);
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
