// What a button action has come to: each operation says so where it ends
// (a compile that made its DVI, a PDF that could not be made). A success
// stands until something fails after it; a failure stands over those that
// follow from it (a converter given up on after its folder could not be
// entered). A stop by the user ends the action and outranks it all.
#pragma once

#include <string>
#include <utility>

#include "platform/platform.h"

class VerdictLog {
 public:
  void Begin() { m_verdict = ActionVerdict(); }
  void Succeeded(std::string text, bool shownInBox = false) {
    Say(ActionVerdict::Kind::Success, std::move(text), shownInBox);
  }
  void Failed(std::string text, bool shownInBox) {
    if (m_verdict.kind != ActionVerdict::Kind::Failure) Say(ActionVerdict::Kind::Failure, std::move(text), shownInBox);
  }
  void Stopped(std::string text) { Say(ActionVerdict::Kind::Stopped, std::move(text), false); }
  const ActionVerdict& Verdict() const { return m_verdict; }

 private:
  void Say(ActionVerdict::Kind kind, std::string text, bool shownInBox) {
    m_verdict.kind = kind;
    m_verdict.text = std::move(text);
    m_verdict.shownInBox = shownInBox;
  }
  ActionVerdict m_verdict;
};
