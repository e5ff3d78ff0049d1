// The tool console without a window: output goes to a sink (Mirvan's own
// stderr by default) and stdin is at EOF, unless answers are scripted, as
// tests and unattended runs do for TeX's error prompt.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/tool_console.h"

class HeadlessConsole : public IToolConsole {
 public:
  using Sink = std::function<void(const char* data, std::size_t size)>;

  HeadlessConsole();

  void SetSink(Sink sink) { m_sink = std::move(sink); }
  // Once the tool's output (since the previous answer) contains `trigger`,
  // `line` and a newline go to its stdin. Answers are used in order; after
  // the last one the tool's stdin reaches EOF.
  void AddAnswer(const std::string& trigger, const std::string& line);

  int Run(const std::vector<std::string>& argv, const std::string& title, const std::string& dir) override;
  void Missing(const std::string& program) override;
  // A verdict with words goes to the sink as a line of its own.
  void EndAction(const ActionVerdict& verdict) override;

 private:
  struct Answer {
    std::string trigger, line;
  };
  void Line(const std::string& text);
  Sink m_sink;
  std::deque<Answer> m_answers;
};
