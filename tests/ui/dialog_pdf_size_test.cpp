// The paper size dialog driven as a user would: stored keys in, clicks,
// OK or Cancel, and what the model holds afterwards.
#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "config/option_dialogs.h"
#include "dialog_driver.h"
#include "support/config_rig.h"
#include "support/fakes.h"
#include "ui/dialogs.h"
#include "ui/pdf_size_dialog.h"

using dlgtest::Click;
using dlgtest::Control;
using dlgtest::WhenModal;

namespace {

// The radio ids in template order: a button's number is its place here.
const int kRadioIds[CPdfSizeDlg::kRadioCount] = {1042, 1043, 1044, 1045, 1055, 1046, 1047,
                                                 1048, 1049, 1050, 1051, 1052, 1053, 1054};

// The ids of the checked radio buttons.
std::vector<int> CheckedRadios(QWidget* dlg) {
  std::vector<int> out;
  for (int id : kRadioIds)
    if (Control<QRadioButton>(dlg, id)->isChecked()) out.push_back(id);
  return out;
}

bool Ticked(QWidget* dlg, int id) { return Control<QCheckBox>(dlg, id)->isChecked(); }

struct Stored {
  const char* nShow;
  const char* neShow;
  const char* sizeNo;
};

MemoryProfile ProfileWith(const Stored& s) {
  MemoryProfile p;
  if (s.nShow) p.Set("Settings", "PdfNShow", s.nShow);
  if (s.neShow) p.Set("Settings", "PdfNeShow", s.neShow);
  if (s.sizeNo) p.Set("Settings", "PdfSizeNo", s.sizeNo);
  return p;
}

TEST(PdfSizeDialog, OpensWithTheStoredChoice) {
  struct Case {
    Stored stored;
    std::vector<int> radios;
    bool box1012, box1013;
  };
  const Case cases[] = {
      {{nullptr, nullptr, nullptr}, {1043}, false, false},  // no keys: A4
      {{nullptr, nullptr, "4"}, {1055}, false, false},      // 4 is Landscape
      {{nullptr, nullptr, "0"}, {1042}, false, false},
      {{nullptr, nullptr, "13"}, {1054}, false, false},
      {{nullptr, nullptr, "14"}, {}, false, false},  // edited file: nothing
      {{nullptr, nullptr, "-1"}, {}, false, false},
      {{"1", nullptr, "1"}, {1043}, true, false},
      {{nullptr, "1", "7"}, {1048}, false, true},
      {{"1", "1", "1"}, {1043}, true, true},  // both keys set: both ticked
  };
  for (const Case& c : cases) {
    MemoryProfile profile = ProfileWith(c.stored);
    CPdfSizeDlg model = PdfSizeModelOn(profile);
    PdfSizeDialog dlg(model, nullptr);
    SCOPED_TRACE(c.stored.sizeNo ? c.stored.sizeNo : "none");
    EXPECT_EQ(CheckedRadios(&dlg), c.radios);
    EXPECT_EQ(Ticked(&dlg, 1012), c.box1012);
    EXPECT_EQ(Ticked(&dlg, 1013), c.box1013);
  }
}

TEST(PdfSizeDialog, OkYieldsThePlaceOfTheChosenButton) {
  for (int index = 0; index < CPdfSizeDlg::kRadioCount; ++index) {
    MemoryProfile profile;
    CPdfSizeDlg model = PdfSizeModelOn(profile);
    WhenModal([&](QDialog* d) {
      Click(d, kRadioIds[index]);
      EXPECT_EQ(CheckedRadios(d), std::vector<int>{kRadioIds[index]});
      Click(d, 1);
    });
    EXPECT_TRUE(ExecPdfSizeDialog(model, nullptr)) << index;
    EXPECT_EQ(model.SizeNo(), index);
  }
}

TEST(PdfSizeDialog, OkWithoutAChoiceYieldsMinusOne) {
  MemoryProfile profile;
  profile.Set("Settings", "PdfSizeNo", "99");
  CPdfSizeDlg model = PdfSizeModelOn(profile);
  WhenModal([](QDialog* d) { Click(d, 1); });
  EXPECT_TRUE(ExecPdfSizeDialog(model, nullptr));
  EXPECT_EQ(model.SizeNo(), -1);
}

TEST(PdfSizeDialog, TheTwoBoxesExcludeEachOther) {
  struct Case {
    const char* name;
    Stored stored;
    std::vector<int> clicks;
    bool box1012, box1013;
    int nShow, neShow;
  };
  const Case cases[] = {
      {"1012 while 1013 is ticked", {nullptr, "1", nullptr}, {1012}, true, false, 1, 0},
      {"1013 while 1012 is ticked", {"1", nullptr, nullptr}, {1013}, false, true, 0, 1},
      {"1012 twice", {nullptr, nullptr, nullptr}, {1012, 1012}, false, false, 0, 0},
      {"1012 then 1013", {nullptr, nullptr, nullptr}, {1012, 1013}, false, true, 0, 1},
      {"both stored, 1013 clicked", {"1", "1", nullptr}, {1013}, true, false, 1, 0},
      {"both stored, 1012 clicked", {"1", "1", nullptr}, {1012}, false, true, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryProfile profile = ProfileWith(c.stored);
    CPdfSizeDlg model = PdfSizeModelOn(profile);
    WhenModal([&](QDialog* d) {
      for (int id : c.clicks) Click(d, id);
      EXPECT_EQ(Ticked(d, 1012), c.box1012);
      EXPECT_EQ(Ticked(d, 1013), c.box1013);
      Click(d, 1);
    });
    EXPECT_TRUE(ExecPdfSizeDialog(model, nullptr));
    EXPECT_EQ(model.NShow(), c.nShow);
    EXPECT_EQ(model.NeShow(), c.neShow);
  }
}

TEST(PdfSizeDialog, CancelEscAndCloseBoxEndWithoutTheExchange) {
  const std::function<void(QDialog*)> ways[] = {
      [](QDialog* d) { Click(d, 2); },
      [](QDialog* d) {
        dlgtest::PressKey(d, Qt::Key_Escape);
        EXPECT_FALSE(d->isVisible()) << "Esc closes";
      },
      [](QDialog* d) {
        d->close();
        EXPECT_FALSE(d->isVisible());
      },
  };
  for (const auto& closeIt : ways) {
    MemoryProfile profile;
    profile.Set("Settings", "PdfSizeNo", "3");
    CPdfSizeDlg model = PdfSizeModelOn(profile);
    WhenModal([&](QDialog* d) {
      Click(d, 1055);
      closeIt(d);
    });
    EXPECT_FALSE(ExecPdfSizeDialog(model, nullptr));
    EXPECT_EQ(model.SizeNo(), 3) << "the radio group is not read back";
    EXPECT_TRUE(profile.log.empty()) << "the dialog itself writes nothing";
  }
}

TEST(PdfSizeDialog, OkHasTheFocusAndIsTheDefault) {
  MemoryProfile profile;
  CPdfSizeDlg model = PdfSizeModelOn(profile);
  WhenModal([](QDialog* d) {
    EXPECT_EQ(d->focusWidget(), Control<QWidget>(d, 1));
    // Enter presses the default button.
    Click(d, 1044);
    dlgtest::PressKey(d, Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
  });
  EXPECT_TRUE(ExecPdfSizeDialog(model, nullptr));
  EXPECT_EQ(model.SizeNo(), 2);
}

TEST(PdfSizeDialog, EnterPressesTheFocusedButtonElseTheDefault) {
  struct Case {
    int focus;
    bool ok;
  };
  const Case cases[] = {{2, false}, {1, true}, {1012, true}, {1048, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focus);
    MemoryProfile profile;
    CPdfSizeDlg model = PdfSizeModelOn(profile);
    WhenModal([&](QDialog* d) { dlgtest::EnterOn(d, c.focus); });
    EXPECT_EQ(ExecPdfSizeDialog(model, nullptr), c.ok);
  }
}

}  // namespace
