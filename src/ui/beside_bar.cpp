#include "ui/beside_bar.h"

#include <algorithm>

namespace beside_bar {

namespace {
int Below(const Rect& bar, const Rect& area, int gap) { return area.Bottom() - bar.Bottom() - gap; }
int Above(const Rect& bar, const Rect& area, int gap) { return bar.top - area.top - gap; }
}  // namespace

int Room(const Rect& bar, const Rect& area, int gap) {
  return std::max(Below(bar, area, gap), Above(bar, area, gap));
}

Point Place(const Rect& bar, int width, int height, const Rect& area, int gap) {
  const int below = Below(bar, area, gap);
  const int above = Above(bar, area, gap);
  const bool goesBelow = height <= below || (height > above && below >= above);
  Point p;
  p.y = goesBelow ? bar.Bottom() + gap : bar.top - gap - height;
  p.y = std::max(area.top, std::min(p.y, area.Bottom() - height));
  p.x = std::max(area.left, std::min(bar.left, area.Right() - width));
  return p;
}

}  // namespace beside_bar
