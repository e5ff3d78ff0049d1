#include "ui/caption_room.h"

#include <algorithm>

namespace caption_room {

void GiveCaptionsRoom(std::vector<Box>& controls, const std::vector<Need>& needs, int dialogWidth,
                      int dialogHeight) {
  for (std::size_t i = 0; i < controls.size() && i < needs.size(); ++i) {
    Box& r = controls[i];
    Need need = needs[i];
    if (need.wrappedHeight) {
      need.width = r.width;
      need.height = need.wrappedHeight(r.width);
    }
    if (need.width <= r.width && need.height <= r.height) continue;
    int maxRight = dialogWidth, maxBottom = dialogHeight;
    for (std::size_t j = 0; j < controls.size(); ++j) {
      if (j == i) continue;
      const Box& g = controls[j];
      if (g.top < r.Bottom() && g.Bottom() > r.top && g.left >= r.Right()) maxRight = std::min(maxRight, g.left);
      if (g.left < r.Right() && g.Right() > r.left && g.top >= r.Bottom()) maxBottom = std::min(maxBottom, g.top);
    }
    if (need.wrappedHeight) {
      // Fewer lines at a greater width, as far as the room to the right goes.
      while (need.height > maxBottom - r.top && r.left + need.width < maxRight)
        need.height = need.wrappedHeight(++need.width);
    }
    const int right = std::max(r.Right(), std::min(r.left + need.width, maxRight));
    const int bottom = std::max(r.Bottom(), std::min(r.top + need.height, maxBottom));
    r.width = right - r.left;
    r.height = bottom - r.top;
  }
}

}  // namespace caption_room
