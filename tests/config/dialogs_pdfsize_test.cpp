// The paper size dialog's model and the exchange that stores its answer.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <ostream>
#include <string>
#include <vector>

#include "config/option_dialogs.h"
#include "support/config_rig.h"

namespace {

using Log = std::vector<std::string>;

// What the view does on a click of an automatic check box: toggle, then
// let the handler bring the members in line.
void Click1012(CPdfSizeDlg& d) {
  d.OnCheckNShow(!d.NShowBox());
}
void Click1013(CPdfSizeDlg& d) {
  d.OnCheckNeShow(!d.NeShowBox());
}

TEST(PdfSizeDialogModel, WithoutKeysA4AndBothBoxesClear) {
  MemoryProfile profile;
  CPdfSizeDlg d = PdfSizeModelOn(profile);
  d.OnInitDialog();
  EXPECT_EQ(d.Radio(), 1);
  EXPECT_FALSE(d.NShowBox());
  EXPECT_FALSE(d.NeShowBox());
  EXPECT_TRUE(profile.log.empty());
}

struct RadioCase {
  const char* stored;  // PdfSizeNo in the file
  int radio;           // the button shown selected
};

void PrintTo(const RadioCase& c, std::ostream* os) { *os << "stored " << c.stored; }

class PdfSizeRadioTest : public ::testing::TestWithParam<RadioCase> {};

TEST_P(PdfSizeRadioTest, StoredNumberSelectsItsButton) {
  MemoryProfile profile;
  profile.Set("Settings", "PdfSizeNo", GetParam().stored);
  CPdfSizeDlg d = PdfSizeModelOn(profile);
  d.OnInitDialog();
  EXPECT_EQ(d.Radio(), GetParam().radio);
  // OK without touching the group gives back what is shown.
  d.SaveExchange();
  EXPECT_EQ(d.SizeNo(), GetParam().radio);
}

INSTANTIATE_TEST_SUITE_P(Numbers, PdfSizeRadioTest,
                         ::testing::Values(RadioCase{"0", 0}, RadioCase{"4", 4}, RadioCase{"13", 13},
                                           RadioCase{"14", -1}, RadioCase{"-1", -1},
                                           RadioCase{"99", -1}, RadioCase{"", 1}),
                         [](const ::testing::TestParamInfo<RadioCase>& i) {
                           return CaseName(i.index, std::string("stored ") + i.param.stored);
                         });

TEST(PdfSizeDialogModel, ChoosingLandscapeYieldsFour) {
  MemoryProfile profile;
  CPdfSizeDlg d = PdfSizeModelOn(profile);
  d.OnInitDialog();
  d.SelectRadio(4);
  d.SaveExchange();
  EXPECT_EQ(d.SizeNo(), 4);
}

TEST(PdfSizeDialogModel, StoredBoxesOpenTicked) {
  MemoryProfile profile;
  profile.Set("Settings", "PdfNShow", "1");
  profile.Set("Settings", "PdfNeShow", "2");
  CPdfSizeDlg d = PdfSizeModelOn(profile);
  d.OnInitDialog();
  EXPECT_TRUE(d.NShowBox());
  EXPECT_TRUE(d.NeShowBox());
  // Clicking one of two ticked boxes clears only that one.
  Click1013(d);
  EXPECT_TRUE(d.NShowBox());
  EXPECT_FALSE(d.NeShowBox());
  EXPECT_EQ(d.NShow(), 1);
  EXPECT_EQ(d.NeShow(), 0);
}

TEST(PdfSizeDialogModel, TickingOneBoxClearsTheOther) {
  MemoryProfile profile;
  profile.Set("Settings", "PdfNeShow", "1");
  CPdfSizeDlg d = PdfSizeModelOn(profile);
  d.OnInitDialog();
  ASSERT_TRUE(d.NeShowBox());
  Click1012(d);
  EXPECT_TRUE(d.NShowBox());
  EXPECT_FALSE(d.NeShowBox());
  EXPECT_EQ(d.NShow(), 1);
  EXPECT_EQ(d.NeShow(), 0);
  Click1013(d);
  EXPECT_FALSE(d.NShowBox());
  EXPECT_TRUE(d.NeShowBox());
  EXPECT_EQ(d.NShow(), 0);
  EXPECT_EQ(d.NeShow(), 1);
}

TEST(PdfSizeDialogModel, ClickingTwiceLeavesBothClear) {
  MemoryProfile profile;
  CPdfSizeDlg d = PdfSizeModelOn(profile);
  d.OnInitDialog();
  Click1012(d);
  Click1012(d);
  EXPECT_FALSE(d.NShowBox());
  EXPECT_FALSE(d.NeShowBox());
  EXPECT_EQ(d.NShow(), 0);
  EXPECT_EQ(d.NeShow(), 0);
}

class PdfSizeExchangeTest : public ::testing::Test, public ConfigOn<> {
 protected:
  // A dialog closed with OK after the given clicks and radio choice.
  void Answer(bool ok, int radio, int click1012, int click1013) {
    prompts.pdfSize.push_back([=](CPdfSizeDlg& d) {
      d.OnInitDialog();
      for (int i = 0; i < click1012; ++i) Click1012(d);
      for (int i = 0; i < click1013; ++i) Click1013(d);
      d.SelectRadio(radio);
      if (ok) d.SaveExchange();
      return ok;
    });
  }

};

TEST_F(PdfSizeExchangeTest, OkWithTheOneRunBoxStopsTheQuestion) {
  Answer(true, 7, 1, 0);
  config.PdfSizeExchange(prompts);
  EXPECT_EQ(profile.log, (Log{"W Settings/PdfNShow=1", "W Settings/PdfNeShow=0", "W Settings/PdfSizeNo=7"}));
  EXPECT_EQ(config.Get().m_nPdfSizeNo, 7);
  EXPECT_EQ(config.Get().m_nPdfNShow, 1);
  EXPECT_EQ(config.Get().m_nPdfNeShow, 0);
  EXPECT_TRUE(config.PdfSizeOkShow().has_value());
  EXPECT_EQ(config.PdfSizeOkShow().value_or(-1), 1);
}

TEST_F(PdfSizeExchangeTest, OkWithTheLastingBoxAlsoStopsTheQuestion) {
  Answer(true, 0, 0, 1);
  EXPECT_TRUE(config.PdfSizeExchange(prompts));
  EXPECT_EQ(profile.log, (Log{"W Settings/PdfNShow=0", "W Settings/PdfNeShow=1", "W Settings/PdfSizeNo=0"}));
  EXPECT_EQ(config.Get().m_nPdfNShow, 1);
  EXPECT_EQ(config.Get().m_nPdfNeShow, 1);
  EXPECT_EQ(config.PdfSizeOkShow().value_or(-1), 1);
}

TEST_F(PdfSizeExchangeTest, BothBoxesFromAnEditedFileAddUp) {
  profile.Set("Settings", "PdfNShow", "1");
  profile.Set("Settings", "PdfNeShow", "1");
  Answer(true, 1, 0, 0);
  EXPECT_TRUE(config.PdfSizeExchange(prompts));
  EXPECT_EQ(config.Get().m_nPdfNShow, 2);
  EXPECT_EQ(config.PdfSizeOkShow().value_or(-1), 2);
}

TEST_F(PdfSizeExchangeTest, OkWithoutASizeStoresMinusOne) {
  profile.Set("Settings", "PdfSizeNo", "20");
  Answer(true, -1, 0, 0);
  config.PdfSizeExchange(prompts);
  EXPECT_EQ(config.Get().m_nPdfSizeNo, -1);
  EXPECT_EQ(profile.Get("Settings", "PdfSizeNo"), "-1");
}

TEST_F(PdfSizeExchangeTest, CancelStoresNothing) {
  config.Set(&ToolSettings::m_nPdfSizeNo, 5);
  config.Set(&ToolSettings::m_nPdfNShow, 1);
  config.Set(&ToolSettings::m_nPdfNeShow, 0);
  Answer(false, 9, 1, 1);
  EXPECT_FALSE(config.PdfSizeExchange(prompts));
  EXPECT_EQ(prompts.shown, Log{"pdfsize"});
  EXPECT_TRUE(profile.log.empty());
  EXPECT_EQ(config.Get().m_nPdfSizeNo, 5);
  EXPECT_EQ(config.Get().m_nPdfNShow, 1);
  EXPECT_EQ(config.Get().m_nPdfNeShow, 0);
  EXPECT_FALSE(config.PdfSizeOkShow().has_value());
}

TEST_F(PdfSizeExchangeTest, DialogStartsFromTheFileNotTheWindow) {
  config.Set(&ToolSettings::m_nPdfSizeNo, 9);
  config.Set(&ToolSettings::m_nPdfNShow, 1);
  profile.Set("Settings", "PdfSizeNo", "3");
  int seen = -2;
  bool box = true;
  prompts.pdfSize.push_back([&](CPdfSizeDlg& d) {
    d.OnInitDialog();
    seen = d.Radio();
    box = d.NShowBox();
    return false;
  });
  config.PdfSizeExchange(prompts);
  EXPECT_EQ(seen, 3);
  EXPECT_FALSE(box);
}

}  // namespace
