// How the tools of one button action meet the user: the Qt console window in
// the bar, or a headless attendant (tests, no display).
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// Whether what a tool printed last (its last few characters) is TeX's
// question to the user: a line of its own that holds only "? ".
inline bool EndsAtTeXPrompt(const std::string& tail) {
  return tail == "? " || (tail.size() >= 3 && tail.compare(tail.size() - 3, 3, "\n? ") == 0);
}

class IToolConsole {
 public:
  virtual ~IToolConsole() = default;
  // Runs argv[0] (already resolved to a path) with argv in the current
  // working directory `dir`, shows its output, forwards typed lines to its
  // input, and returns its status. -1 only when it could not be started.
  virtual int Run(const std::vector<std::string>& argv, const std::string& title, const std::string& dir) = 0;

  // One button action: everything between Begin and End is one transcript.
  virtual void BeginAction() {}
  // A program that could not be found: a line of the transcript.
  virtual void Missing(const std::string& program) { (void)program; }
  // The user stopped a tool since BeginAction.
  virtual bool Stopped() const { return false; }
  // The action's verdict: the transcript's last line.
  virtual void EndAction(const ActionVerdict& verdict) { (void)verdict; }
  // The running tool waits for an answer (TeX's "?" prompt).
  virtual bool AwaitsAnswer() const { return false; }
  // Stops the running tool as the user's Stop does.
  virtual void StopTool() {}
  // Whether the verdict stays in view after the action.
  virtual bool ShowsVerdicts() const { return false; }
};
