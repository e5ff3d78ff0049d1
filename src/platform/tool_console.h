// How the tools of one button action meet the user: the Qt console window in
// the bar, or a headless attendant (tests, no display).
#pragma once

#include <string>
#include <vector>

class IToolConsole {
 public:
  virtual ~IToolConsole() = default;
  // Runs argv[0] (already resolved to a path) with argv in the current
  // working directory `dir`, shows its output, forwards typed lines to its
  // input, and returns its status. -1 only when it could not be started.
  virtual int Run(const std::vector<std::string>& argv, const std::string& title, const std::string& dir) = 0;

  // One button action: everything between Begin and End is one transcript.
  virtual void BeginAction() {}
  // A line saying what failed; the action counts as failed.
  virtual void Fail(const std::string& text) { (void)text; }
  // A program that could not be found. It fails the action unless a later
  // tool of the same action starts (the program was found elsewhere).
  virtual void Missing(const std::string& program) { (void)program; }
  virtual void EndAction() {}
};
