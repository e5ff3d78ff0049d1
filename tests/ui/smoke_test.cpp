#include <QWidget>

#include <gtest/gtest.h>

TEST(UiSmoke, OffscreenWidgetShows) {
  QWidget w;
  w.resize(100, 40);
  w.show();
  EXPECT_TRUE(w.isVisible());
}
