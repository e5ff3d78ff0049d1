// Starting the tools, finding a program that will not start under its
// configured name, and letting the user pick a tool's program file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "actions/verdict.h"
#include "config/tool_config.h"
#include "document/document.h"
#include "platform/env.h"

class ToolRunner {
 public:
  ToolRunner(MirvanEnv env, ToolConfig& config, const Document& doc, VerdictLog& verdict)
      : m_env(env), m_config(config), m_doc(doc), m_verdict(verdict) {}

  // Runs `program` with exactly these argument words in the current working
  // directory; its exit status, or -1 when it could not be started. A run
  // the user stopped raises ActionStopped: the action ends there.
  int RunTool(const std::string& program, const std::vector<std::string>& args);

  // How a tool that would not start was found.
  struct Found {
    enum class Way { None, Probed, Picked } way = Way::None;
    std::string program;  // the program that ran
    int status = -1;      // its exit status
  };
  // The one search for a tool that would not start: the tool's current name
  // in each probe folder (when `probe`), the first that starts wins and is
  // not stored here; when none starts, `pick` may ask the user for the file
  // (and stores it), and the picked program runs once in the document's
  // folder.
  Found ProbeThenPick(TextSetting tool, const std::vector<std::string>& args, bool probe,
                      const std::function<bool()>& pick);

  // The compiler would not start: probe, then ask and pick. 1 when a
  // compiler has run on the document.
  int LocateTeX();
  // The choosers: 1 when a file was picked and stored.
  int ChooseTeX();
  void ChangeTeX();
  int ChooseBibTeX();
  int ChooseMkIdx();
  int ChooseDviPdf();
  void ChooseEditor();

  // "Names a program file": contains ".exe" on Windows, "/" on POSIX.
  bool NamesProgramFile(const std::string& program) const;

  // Changes into the document's folder. On failure says so with the stop
  // icon: the caller then runs nothing.
  bool EnterDocumentFolder();
  // The document as a tool's argument: a name that begins with '-' is
  // passed as ./-name, so that no tool takes it for an option.
  std::string DocumentArgument() const;
  // Whether the tools may be given the document at all. A name that TeX
  // would read as code or as another file's name is refused with the stop
  // icon, naming the character: every action asks this before its first
  // tool, its first question and its first write.
  bool DocumentNameReadable();

 private:
  int AskThenPick(TextSetting tool, const std::string& question);

  MirvanEnv m_env;
  ToolConfig& m_config;
  const Document& m_doc;
  VerdictLog& m_verdict;
};
