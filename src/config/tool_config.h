// The tool configuration: which programs the buttons run and how the paper
// size and index options are asked for. Loaded at start, read again after
// the Settings dialog; every change an operation makes to a stored value is
// written to Mirvan.ini at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/option_dialogs.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/prompts.h"

// The values themselves, as the settings file names them.
struct ToolSettings {
  std::string m_strEditor;
  std::string m_strEditLine;  // the editor's command for a file at a line (EDITLINE)
  std::string m_strTeX;
  std::string m_strBib;
  std::string m_strDviPdf;
  std::string m_strMkIdx;
  std::string m_strMkIdxOpt;
  int m_nMkIdxNvr = 0;
  int m_nPdfSizeNo = 0;
  int m_nPdfNShow = 0;
  int m_nPdfNeShow = 0;
  int m_nAcr = 0;
  int m_nCompileOnSave = 0;
};

using TextSetting = std::string ToolSettings::*;
using NumberSetting = int ToolSettings::*;

class ToolConfig {
 public:
  // `defaultEditor`: the editor when Mirvan.ini names none.
  // The editor and the Japanese BibTeX program default to platform values.
  ToolConfig(IProfile& profile, const PlatformValues& values);

  // Start-up rule of the paper size switches, then (later at start) the
  // programs and options.
  void LoadStartupRule();
  void LoadPrograms();
  // After the Settings dialog: neither PdfNShow nor Acr, which belong to
  // this run.
  void Reload();

  const ToolSettings& Get() const { return m_values; }
  // In memory only: the next load forgets it.
  void Set(TextSetting which, const std::string& value) { m_values.*which = value; }
  void Set(NumberSetting which, int value) { m_values.*which = value; }
  // In memory and in the settings file.
  void Store(TextSetting which, const std::string& value);
  void Store(NumberSetting which, int value);
  // Back to its default (the bare program name) in memory; the key is
  // deleted, so the same default is read from now on.
  void Forget(TextSetting which);

  // The two option dialogs; true = closed with OK, answers stored.
  void EditMkIdxOptions(IPrompts& prompts);
  bool PdfSizeExchange(IPrompts& prompts);
  // Their models as the settings file has them now, not as this run holds
  // them: the paper size switches are kept apart there, and the MakeIndex
  // options take the later default, the empty text.
  CPdfSizeDlg PdfSizeModel();
  CMkIdxOptDlg MkIdxOptModel();
  // The question switch of the last paper size OK of this instance: the
  // Settings dialog's owner takes it over.
  std::optional<int> PdfSizeOkShow() const { return m_pdfSizeOkShow; }

  // The history box's list in the settings file, the most recent first:
  // read at start up to the first empty entry, written whole at the end.
  // An entry the file cannot hold takes no key; the keys past the list go.
  static int HistoryCapacity();
  static std::vector<std::string> ReadHistory(IProfile& profile);
  static void WriteHistory(IProfile& profile, const std::vector<std::string>& entries);

 private:
  const std::string& PlatformDefault(TextSetting member) const;
  // A stored value with its later default (not the start-up one).
  std::string Read(TextSetting member);
  int Read(NumberSetting member);

  IProfile& m_profile;
  std::string m_defaultEditor;
  std::string m_defaultBib;
  ToolSettings m_values;
  std::optional<int> m_pdfSizeOkShow;
};
