// The Settings dialog's model: seven buttons that run configuration
// operations on a working copy of its own. What they change reaches the
// main window only through the settings file, read again on close.
#pragma once

#include "actions/tool_runner.h"

class CSettingsDlg {
 public:
  explicit CSettingsDlg(MirvanEnv env);
  CSettingsDlg(const CSettingsDlg&) = delete;
  CSettingsDlg& operator=(const CSettingsDlg&) = delete;

  // A click on one of the operation buttons; other ids do nothing.
  void OnButton(int id);
  // The working copy's configuration, as the buttons left it.
  const ToolConfig& Work() const { return m_config; }

 private:
  MirvanEnv m_env;
  // Never loaded: the configuration starts empty, so each operation sees
  // only what earlier buttons of the same opening set on it.
  ToolConfig m_config;
  Document m_doc;  // none: the choosers need no document
  VerdictLog m_verdict;  // no tool runs here
  ToolRunner m_tools;
};
