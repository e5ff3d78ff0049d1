// The current document and the history box: how a document is chosen (drop,
// file dialog, history entry, command line), how its path is split into the
// folder and name that every tool run uses, and how the history survives
// between runs (in Mirvan.ini, read and written by ToolConfig).
#pragma once

#include <string>
#include <vector>

#include "document/history_box.h"
#include "platform/env.h"

class Document {
 public:
  // Made when the program starts: the working folder then is where a
  // document named without a folder lives.
  explicit Document(MirvanEnv env);

  // The full path, its folder (with the separator; the start folder for a
  // bare name) and its name without extension; all empty until a document
  // is chosen.
  const std::string& File() const { return m_strFile; }
  const std::string& Dir() const { return m_strDir; }
  const std::string& Name() const { return m_strName; }
  // Makes `path` the document, as given: no test of its extension.
  void SetFile(const std::string& path);
  // The document named on the command line: a relative path is taken from
  // the start folder before anything else sees it, since every action later
  // changes the working folder (leading "./" parts dropped). Empty stays empty.
  void SetFileFromCommandLine(const std::string& path);

  HistoryBox& History() { return m_history; }
  int HistoryMax() const { return m_nHistoryMax; }  // 0 until the history is loaded
  const HistoryBox& History() const { return m_history; }

  // Each returns whether the window must be drawn anew.
  // Paths of the dropped files, in drop order. A drop that carries no local
  // file is passed as a single empty path (refused like a non-.tex file).
  bool OnDropFiles(const std::vector<std::string>& paths);
  void SelectFile();
  bool SelectHistory();  // acts on the history box's current selection

  // The history from the settings file at start: the list, then (once the
  // programs are loaded) the selection of the current document.
  void LoadHistory();
  void LoadHistoryFinish();
  void OnClose();  // saves the history; the window then closes

 private:
  void SplitPath(const std::string& path);
  bool SameDocument(const std::string& a, const std::string& b) const;
  void RemoveFromHistory(const std::string& path, int from);
  // selectEntry: select the new top entry, as a pick from the file dialog does.
  void AddToHistory(bool selectEntry);

  MirvanEnv m_env;
  std::string m_startDir;
  std::string m_strFile;
  std::string m_strDir;
  std::string m_strName;
  int m_nHistoryMax = 0;
  HistoryBox m_history;  // the history box's list
};
