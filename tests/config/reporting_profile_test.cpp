// Settings that cannot be saved are said once per run, never dropped
// silently: the start-up rule's writes, then every later choice, on a real
// settings file that cannot be written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ini_profile.h"
#include "config/reporting_profile.h"
#include "config/tool_config.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace {

TEST(ReportingProfile, AFileThatCannotBeWrittenIsSaidOnce) {
  TempDir dir;
  struct Case {
    std::string path;  // where the store writes
    std::string box;
  };
  const std::string unwritable = dir.File("no such folder/Mirvan.ini");
  const Case cases[] = {
      {unwritable, "box:|exclamation|設定ファイル \"" + unwritable +
                       "\" に書き込めません。この実行中に変えた設定と履歴は保存されません。\n読み取り専用になっていないか、フォルダーのパスが長すぎないか確かめて下さい。"},
      {"", "box:|exclamation|起動したフォルダーのパスが読み取れない（長すぎる）ため、設定ファイル Mirvan.ini を置けません。この実行中に変えた設定と履歴は保存されません。"},
  };
  for (const Case& c : cases) {
    IniProfile store(c.path);
    ScriptedPrompts prompts;
    ReportingProfile profile(store, prompts, c.path);
    ToolConfig config(profile, WindowsPlatformValues());
    config.LoadStartupRule();  // three writes at every start
    config.Store(&ToolSettings::m_strTeX, "c:\\tex\\bin\\platex.exe");
    config.Forget(&ToolSettings::m_strBib);
    config.Store(&ToolSettings::m_nMkIdxNvr, 1);
    EXPECT_EQ(prompts.shown, std::vector<std::string>{c.box}) << c.path;
    EXPECT_EQ(config.Get().m_strTeX, "c:\\tex\\bin\\platex.exe");  // the run goes on with it
  }
}

TEST(ReportingProfile, AWritableFileSaysNothingAndKeepsEverything) {
  TempDir dir;
  IniProfile store(dir.File("Mirvan.ini"));
  ScriptedPrompts prompts;
  ReportingProfile profile(store, prompts, store.Path());
  ToolConfig config(profile, WindowsPlatformValues());
  config.LoadStartupRule();
  config.Store(&ToolSettings::m_strTeX, "uplatex");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(profile.GetProfileString("Settings", "TeX", ""), "uplatex");
  EXPECT_EQ(profile.GetProfileInt("Settings", "PdfSizeNo", 9), 1);
}

}  // namespace
