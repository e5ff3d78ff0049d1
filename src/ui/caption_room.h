// How both bars give a caption room when the system's face draws it wider
// or taller than the template's box (IPA Pゴシック for ＭＳ Ｐゴシック, a scaled
// display): the control grows into the free space to its right and below,
// never over another control or past the dialog's edge. Toolkit-free, over
// rectangles in the dialog's pixels.
#pragma once

#include <functional>
#include <vector>

namespace caption_room {

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }  // one past the last pixel
  int Bottom() const { return top + height; }
};

// What a caption needs: a line of text its width and height; a wrapped text
// the height of its lines at a given width. Neither: nothing to grow for.
struct Need {
  int width = 0, height = 0;
  std::function<int(int width)> wrappedHeight;
};

// `controls` in template order, changed in place. A control grown earlier
// counts with its new size for those after it. A wrapped text keeps its
// width while its lines fit the room below, and takes the room to its right
// only when they do not.
void GiveCaptionsRoom(std::vector<Box>& controls, const std::vector<Need>& needs, int dialogWidth,
                      int dialogHeight);

}  // namespace caption_room
