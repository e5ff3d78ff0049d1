// The bar's own windows go beside it, never over it, and stay on the screen.
#include <gtest/gtest.h>

#include "ui/beside_bar.h"

namespace {

TEST(BesideBar, BelowWhereItFitsElseAboveElseTheLargerSideAndOnTheScreen) {
  using beside_bar::Rect;
  const Rect screen{0, 0, 1280, 800};
  const struct {
    const char* what;
    Rect bar;
    int width, height;
    int x, y;
  } cases[] = {
      {"room below", {400, 50, 470, 70}, 640, 400, 400, 128},
      {"room only above", {400, 600, 470, 70}, 640, 400, 400, 192},
      {"neither: the larger side, kept on the screen", {400, 300, 470, 70}, 640, 700, 400, 100},
      {"the bar near the right edge", {1000, 50, 270, 70}, 640, 400, 640, 128},
  };
  for (const auto& c : cases) {
    const beside_bar::Point p = beside_bar::Place(c.bar, c.width, c.height, screen, 8);
    EXPECT_EQ(p.x, c.x) << c.what;
    EXPECT_EQ(p.y, c.y) << c.what;
  }
}

}  // namespace
