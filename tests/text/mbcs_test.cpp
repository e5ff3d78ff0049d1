#include <gtest/gtest.h>

#include "text/mbcs.h"

TEST(SplitWords, OptionStrings) {
  EXPECT_EQ(mbcs::SplitWords(" -p a3 "), (std::vector<std::string>{"-p", "a3"}));
  EXPECT_EQ(mbcs::SplitWords(" -p  b5"), (std::vector<std::string>{"-p", "b5"}));
  EXPECT_TRUE(mbcs::SplitWords("").empty());
}
