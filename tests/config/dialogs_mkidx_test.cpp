// The MakeIndex options dialog's model and the exchange that stores it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/option_dialogs.h"
#include "core/mirvan_dlg.h"
#include "support/fakes.h"

namespace {

using Log = std::vector<std::string>;

class MkIdxOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The main window's start-up values when the file has no key.
    dlg.m_strMkIdxOpt = "-s myindex";
    dlg.m_nMkIdxNvr = 0;
  }
  MemoryProfile profile;
  ScriptedPlatform platform;
  ScriptedPrompts prompts;
  CMirvanDlg dlg{MirvanEnv{profile, platform, prompts}};
};

TEST_F(MkIdxOptionsTest, ModelReadsTheFile) {
  profile.Set("Settings", "MkIdxOpt", "-s myindex -g");
  profile.Set("Settings", "MkIdxNvr", "1");
  CMkIdxOptDlg d(profile);
  EXPECT_EQ(d.m_strOptions, "-s myindex -g");
  EXPECT_EQ(d.m_nNever, 1);
}

TEST_F(MkIdxOptionsTest, MissingKeyOpensEmptyAndOkStoresTheEmptyText) {
  std::string shownText = "unset";
  prompts.mkIdx.push_back([&](CMkIdxOptDlg& d) {
    shownText = d.m_strOptions;
    return true;
  });
  dlg.EditMkIdxOptions();
  EXPECT_EQ(shownText, "");
  EXPECT_EQ(dlg.m_strMkIdxOpt, "");
  // Written as an empty value, never deleted, and the text before the switch.
  EXPECT_EQ(profile.log, (Log{"W Settings/MkIdxOpt=", "W Settings/MkIdxNvr=0"}));
  EXPECT_TRUE(profile.Has("Settings", "MkIdxOpt"));
}

TEST_F(MkIdxOptionsTest, OkWithTheBoxTickedStopsTheAutomaticDialog) {
  prompts.mkIdx.push_back([](CMkIdxOptDlg& d) {
    d.m_strOptions = "-s myindex -q";
    d.m_nNever = 1;
    return true;
  });
  dlg.EditMkIdxOptions();
  EXPECT_EQ(dlg.m_strMkIdxOpt, "-s myindex -q");
  EXPECT_EQ(dlg.m_nMkIdxNvr, 1);
  EXPECT_EQ(profile.log, (Log{"W Settings/MkIdxOpt=-s myindex -q", "W Settings/MkIdxNvr=1"}));
}

TEST_F(MkIdxOptionsTest, CancelKeepsTheOptionsAndWritesNothing) {
  prompts.mkIdx.push_back([](CMkIdxOptDlg& d) {
    d.m_strOptions = "-x";
    d.m_nNever = 1;
    return false;
  });
  dlg.EditMkIdxOptions();
  EXPECT_EQ(prompts.shown, Log{"mkidx"});
  EXPECT_EQ(dlg.m_strMkIdxOpt, "-s myindex");
  EXPECT_EQ(dlg.m_nMkIdxNvr, 0);
  EXPECT_TRUE(profile.log.empty());
}

}  // namespace
