// The history box model behaves like the Windows combo box it replaces.
#include <gtest/gtest.h>

#include "support/case_name.h"

#include <initializer_list>
#include <ostream>
#include <string>

#include "document/history_box.h"

namespace {

HistoryBox Box(std::initializer_list<const char*> items) {
  HistoryBox box;
  for (const char* s : items) box.InsertString(-1, s);
  return box;
}

struct FindCase {
  int startAfter;
  const char* prefix;
  int expected;
};

void PrintTo(const FindCase& c, std::ostream* os) {
  *os << "after " << c.startAfter << " prefix " << (*c.prefix ? c.prefix : "empty");
}

class FindStringTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindStringTest, PrefixWithoutCaseWrapping) {
  const HistoryBox box = Box({"/w/a.tex", "/W/A.TEX.d/x.tex", "/w/b.tex", "/w/a.tex"});
  const FindCase& c = GetParam();
  EXPECT_EQ(box.FindString(c.startAfter, c.prefix), c.expected) << c.startAfter << " " << c.prefix;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindStringTest,
    ::testing::Values(FindCase{-1, "/w/a.tex", 0}, FindCase{0, "/w/a.tex", 1},
                      FindCase{1, "/w/a.tex", 3}, FindCase{3, "/w/a.tex", 0},
                      FindCase{2, "/w/b", 2},  // wraps all the way round to the start item
                      FindCase{-1, "/w/c", HistoryBox::kErr},
                      FindCase{-1, "/w/a.tex.d/x.tex.more", HistoryBox::kErr},
                      FindCase{7, "/w/b", 2},  // a start past the end searches the whole list
                      FindCase{1, "", 2}),
    [](const ::testing::TestParamInfo<FindCase>& i) { return CaseName(i.index, ::testing::PrintToString(i.param)); });

TEST(HistoryBoxTest, EmptyBoxFindsNothing) {
  HistoryBox box;
  EXPECT_EQ(box.FindString(-1, ""), HistoryBox::kErr);
  EXPECT_EQ(box.SelectString(-1, "x"), HistoryBox::kErr);
}

TEST(HistoryBoxTest, SelectionFollowsItsEntryOnInsertAndDelete) {
  HistoryBox box = Box({"a", "b", "c"});
  box.SetCurSel(1);
  box.InsertString(0, "z");
  EXPECT_EQ(box.GetCurSel(), 2);
  EXPECT_EQ(box.GetText(box.GetCurSel()), "b");
  box.DeleteString(0);
  EXPECT_EQ(box.GetCurSel(), 1);
  box.DeleteString(2);
  EXPECT_EQ(box.GetCurSel(), 1);
  box.DeleteString(1);
  EXPECT_EQ(box.GetCurSel(), -1);
  // The edit field keeps what it showed.
  EXPECT_EQ(box.GetEditText(), "b");
}

TEST(HistoryBoxTest, SelectStringShowsTheEntryAndKeepsSelectionWhenNotFound) {
  HistoryBox box = Box({"/w/A.tex", "/w/b.tex"});
  EXPECT_EQ(box.SelectString(-1, "/W/a"), 0);
  EXPECT_EQ(box.GetEditText(), "/w/A.tex");
  EXPECT_EQ(box.SelectString(-1, "/x"), HistoryBox::kErr);
  EXPECT_EQ(box.GetCurSel(), 0);
  EXPECT_EQ(box.GetEditText(), "/w/A.tex");
}

TEST(HistoryBoxTest, ClearingTheSelectionEmptiesTheEditField) {
  HistoryBox box = Box({"a", "b"});
  box.SetCurSel(1);
  EXPECT_EQ(box.GetEditText(), "b");
  box.SetCurSel(-1);
  EXPECT_EQ(box.GetCurSel(), -1);
  EXPECT_EQ(box.GetEditText(), "");
}

}  // namespace
