// Where a window of the bar's own goes (the Qt console, the Windows list of
// errors): beside the bar rather than over it, below where it fits, else
// above, else on the side with more room, and within the screen's area.
// Toolkit-free, over rectangles in screen pixels, for both front ends.
#pragma once

namespace beside_bar {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }  // one past the last pixel
  int Bottom() const { return top + height; }
};

struct Point {
  int x = 0, y = 0;
};

// The top-left corner of a window of `width` x `height` (frame included)
// `gap` pixels from `bar`, inside `area`.
Point Place(const Rect& bar, int width, int height, const Rect& area, int gap);

// The room above and below the bar, less the gap: what a window may take.
int Room(const Rect& bar, const Rect& area, int gap);

}  // namespace beside_bar
