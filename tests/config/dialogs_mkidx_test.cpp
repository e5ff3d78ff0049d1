// The MakeIndex options dialog's model and the exchange that stores it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/option_dialogs.h"
#include "support/config_rig.h"

namespace {

using Log = std::vector<std::string>;

class MkIdxOptionsTest : public ::testing::Test, public ConfigOn<> {
 protected:
  void SetUp() override {
    // The main window's start-up values when the file has no key.
    config.Set(&ToolSettings::m_strMkIdxOpt, "-s myindex");
    config.Set(&ToolSettings::m_nMkIdxNvr, 0);
  }
};

TEST_F(MkIdxOptionsTest, ModelReadsTheFile) {
  profile.Set("Settings", "MkIdxOpt", "-s myindex -g");
  profile.Set("Settings", "MkIdxNvr", "1");
  CMkIdxOptDlg d = MkIdxOptModelOn(profile);
  EXPECT_EQ(d.Options(), "-s myindex -g");
  EXPECT_EQ(d.Never(), 1);
}

TEST_F(MkIdxOptionsTest, MissingKeyOpensEmptyAndOkStoresTheEmptyText) {
  std::string shownText = "unset";
  prompts.mkIdx.push_back([&](CMkIdxOptDlg& d) {
    shownText = d.Options();
    return true;
  });
  config.EditMkIdxOptions(prompts);
  EXPECT_EQ(shownText, "");
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "");
  // Written as an empty value, never deleted, and the text before the switch.
  EXPECT_EQ(profile.log, (Log{"W Settings/MkIdxOpt=", "W Settings/MkIdxNvr=0"}));
  EXPECT_TRUE(profile.Has("Settings", "MkIdxOpt"));
}

TEST_F(MkIdxOptionsTest, OkWithTheBoxTickedStopsTheAutomaticDialog) {
  prompts.mkIdx.push_back([](CMkIdxOptDlg& d) {
    d.SaveExchange("-s myindex -q", 1 != 0);
    return true;
  });
  config.EditMkIdxOptions(prompts);
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "-s myindex -q");
  EXPECT_EQ(config.Get().m_nMkIdxNvr, 1);
  EXPECT_EQ(profile.log, (Log{"W Settings/MkIdxOpt=-s myindex -q", "W Settings/MkIdxNvr=1"}));
}

TEST_F(MkIdxOptionsTest, CancelKeepsTheOptionsAndWritesNothing) {
  prompts.mkIdx.push_back([](CMkIdxOptDlg& d) {
    d.SaveExchange("-x", 1 != 0);
    return false;
  });
  config.EditMkIdxOptions(prompts);
  EXPECT_EQ(prompts.shown, Log{"mkidx"});
  EXPECT_EQ(config.Get().m_strMkIdxOpt, "-s myindex");
  EXPECT_EQ(config.Get().m_nMkIdxNvr, 0);
  EXPECT_TRUE(profile.log.empty());
}

}  // namespace
