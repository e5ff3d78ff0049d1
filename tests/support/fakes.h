// Test doubles for the three narrow interfaces: an in-memory settings store
// that logs writes, a scripted platform that logs runs, and scripted prompts
// that log what was shown and answer from a queue.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/env.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/prompts.h"

class MemoryProfile : public IProfile {
 public:
  // "Section/Key" -> value; exact names.
  std::map<std::string, std::string> values;
  // Every write in order: "W Section/Key=value" or "D Section/Key".
  std::vector<std::string> log;
  // How many WriteProfileKeys calls wrote their keys (each one file write).
  int batches = 0;

  bool Has(const std::string& section, const std::string& key) const {
    return values.count(section + "/" + key) != 0;
  }
  std::string Get(const std::string& section, const std::string& key) const {
    auto it = values.find(section + "/" + key);
    return it == values.end() ? std::string() : it->second;
  }
  void Set(const std::string& section, const std::string& key, const std::string& v) {
    values[section + "/" + key] = v;
  }

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& def) override;
  int GetProfileInt(const std::string& section, const std::string& key, int def) override;
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string* value) override;
  bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;
  bool WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) override;
  using IProfile::WriteProfileString;
};

struct ToolCall {
  std::string cwd;
  std::string program;
  std::vector<std::string> args;
};

// A file watch the test drives: what it was told to watch, and the changes
// its next polls report.
class FakeFileWatch : public IFileWatch {
 public:
  std::vector<std::string> watched;
  std::deque<std::vector<std::string>> changes;  // each Poll takes the first
  int polls = 0;
  int retryMs = -1;  // not -1: a file is still being written
  int RetryMs() const override { return retryMs; }
  void Watch(const std::vector<std::string>& paths) override { watched = paths; }
  std::intptr_t WaitHandle() const override { return 7; }
  bool Wait(int) override { return !changes.empty(); }
  std::vector<std::string> Poll() override {
    ++polls;
    if (changes.empty()) return {};
    std::vector<std::string> c = changes.front();
    changes.pop_front();
    return c;
  }
};

class ScriptedPlatform : public IPlatform {
 public:
  explicit ScriptedPlatform(PlatformValues values = WindowsPlatformValues()) : values_(std::move(values)) {}

  // Called for every RunTool; default: -1 (nothing can be started).
  std::function<int(const ToolCall&)> onRun;
  std::vector<ToolCall> runs;
  std::string cwd = "C:\\start\\";
  std::vector<std::string> chdirs;
  bool chdirFails = false;
  // Files that exist, path -> mtimeNs. Stat answers from here only.
  std::map<std::string, long long> files;
  // Shell opens: "doc|file|dir" or "editor|editor|path|dir"; "prompt|cwd";
  // detached starts: "start|word|word...|dir".
  std::vector<std::string> opens;
  bool openResult = true;
  // The verdict of every action that ended, in order.
  std::vector<ActionVerdict> verdicts;
  void EndAction(const ActionVerdict& verdict) override { verdicts.push_back(verdict); }
  // The user stopped a tool of this action: a script sets it in onRun for
  // the run that is stopped.
  bool stopped = false;
  void BeginAction() override { stopped = false; }
  bool ActionStopped() const override { return stopped; }
  // Whether a console of the program's own keeps each action's last line in view.
  bool showsVerdicts = false;
  bool ShowsVerdicts() const override { return showsVerdicts; }
  // The watch last made, and how many were made.
  FakeFileWatch* watch = nullptr;
  int watchesMade = 0;
  std::unique_ptr<IFileWatch> MakeFileWatch() override {
    auto w = std::make_unique<FakeFileWatch>();
    watch = w.get();
    ++watchesMade;
    return w;
  }
  // The running tool waits at a prompt; StopTool stops it as the user would.
  bool awaitsAnswer = false;
  int toolsStopped = 0;
  bool ToolAwaitsAnswer() const override { return awaitsAnswer && !stopped; }
  void StopTool() override {
    ++toolsStopped;
    stopped = true;
  }

  const PlatformValues& Values() const override { return values_; }
  int RunTool(const std::string& program, const std::vector<std::string>& args) override;
  bool ChangeDir(const std::string& dir) override;
  bool GetCwd(std::string& out) override;
  FileStatus Stat(const std::string& path) override;
  bool OpenDocument(const std::string& file, const std::string& dir) override;
  bool OpenEditor(const std::string& editor, const std::string& documentPath, const std::string& dir) override;
  void StartCommandPrompt() override;
  bool StartDetached(const std::vector<std::string>& argv, const std::string& dir) override;

  // Program names of the runs, in order.
  std::vector<std::string> Programs() const;

 private:
  PlatformValues values_;
};

// A file dialog's types as the scripted prompts record it:
// "pick:LABEL|PATTERNS|LABEL|PATTERNS..."; "pick:" for all files.
inline std::string PickText(const std::vector<FileType>& types) {
  std::string text = "pick:";
  for (const FileType& t : types) text += (text.size() > 5 ? "|" : "") + t.label + "|" + t.patterns;
  return text;
}

class ScriptedPrompts : public IPrompts {
 public:
  // Everything shown, in order: "notice:TEXT", "ask:TEXT", "box:CAPTION|ICON|TEXT",
  // "pick:TYPES" (PickText), "pdfsize", "mkidx", "settings", "wait+", "wait-".
  std::vector<std::string> shown;

  std::deque<bool> askAnswers;                      // default when empty: false (Cancel)
  std::deque<std::optional<std::string>> picks;     // nullopt = cancel; empty queue = cancel
  std::vector<FileRequest> pickRequests;
  // Dialog scripts: mutate the model and return OK (true) or not. Empty: Cancel.
  std::deque<std::function<bool(CPdfSizeDlg&)>> pdfSize;
  std::deque<std::function<bool(CMkIdxOptDlg&)>> mkIdx;
  std::deque<std::function<void(CSettingsDlg&)>> settings;

  void Notice(const std::string& text) override;
  bool AskOkCancel(const std::string& text) override;
  void MessageBox(const std::string& caption, const std::string& text, BoxIcon icon) override;
  // The unfoldable lines of each box that had some, in order.
  std::vector<std::string> details;
  void MessageBoxWithDetails(const std::string& caption, const std::string& text, BoxIcon icon,
                             const std::string& lines) override {
    details.push_back(lines);
    MessageBox(caption, text, icon);
  }
  bool PickFile(const FileRequest& request, std::string& path) override;
  bool ShowPdfSizeDialog(CPdfSizeDlg& dlg) override;
  bool ShowMkIdxOptDialog(CMkIdxOptDlg& dlg) override;
  void ShowSettingsDialog(CSettingsDlg& dlg) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
};

// The world of a part under test: the in-memory settings store, a platform
// (scripted unless another is named; the arguments are its constructor's)
// and scripted prompts. Each layer's rig adds the parts of that layer.
template <typename Platform = ScriptedPlatform>
struct WorldOn {
  template <typename... Args>
  explicit WorldOn(Args&&... platformArgs) : platform(std::forward<Args>(platformArgs)...) {}

  MemoryProfile profile;
  Platform platform;
  ScriptedPrompts prompts;
  MirvanEnv env{profile, platform, prompts};
};
