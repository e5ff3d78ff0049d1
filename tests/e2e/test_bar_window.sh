#!/usr/bin/env bash
# The bar as the window manager sees it: placed at 400, 50 dialog units from
# the screen's top-left corner, of a fixed size, and kept above a window
# that the user activates over it.
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_write_ini "${E2E_INI_DEFAULT[@]}"
e2e_start

e2e_geometry "$BAR"
# The frame's origin is the window's position: client origin less the
# frame's left and top extents.
read -r left _ top _ < <(xprop -id "$BAR" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
awk -v X="$X" -v Y="$Y" -v l="$left" -v t="$top" -v W="$WIDTH" -v H="$HEIGHT" 'BEGIN {
  fx = X - l; fy = Y - t; ex = 400 * W / 235; ey = 50 * H / 38
  if (fx - ex > 2 || ex - fx > 2 || fy - ey > 2 || ey - fy > 2) {
    printf "frame at %d,%d, want %.0f,%.0f\n", fx, fy, ex, ey; exit 1 }
}' || e2e_fail "the bar is not at 400, 50 dialog units"
e2e_pass "position"

hints=$(xprop -id "$BAR" WM_NORMAL_HINTS)
min=$(sed -n 's/.*minimum size: \([0-9]*\) by \([0-9]*\).*/\1x\2/p' <<<"$hints")
max=$(sed -n 's/.*maximum size: \([0-9]*\) by \([0-9]*\).*/\1x\2/p' <<<"$hints")
[ -n "$min" ] && [ "$min" = "$max" ] && [ "$min" = "${WIDTH}x$HEIGHT" ] \
  || e2e_fail "the bar can be resized: min $min, max $max, size ${WIDTH}x$HEIGHT"
e2e_pass "fixed size"

# A plain window over the whole screen, activated as a user would.
/usr/bin/python3 - <<'PY' &
from Xlib import X, display
d = display.Display()
s = d.screen()
w = s.root.create_window(0, 0, s.width_in_pixels, s.height_in_pixels, 0, s.root_depth,
                         X.InputOutput, X.CopyFromParent, background_pixel=s.white_pixel)
w.set_wm_name("e2e-cover")
w.map()
d.flush()
while True:
    d.next_event()
PY
E2E_PIDS+=($!); echo $! >>"$E2E_TMP/pids"
cover=
e2e_poll 20 eval 'cover=$(xdotool search --onlyvisible --name "^e2e-cover$" | head -n1); [ -n "$cover" ]' \
  || e2e_fail "no cover window"
xdotool windowactivate --sync "$cover"
above() {  # the bar comes after the cover in the bottom-to-top stacking list
  local list
  list=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  awk -v bar="$(printf '0x%x' "$BAR")" -v cov="$(printf '0x%x' "$cover")" '
    { for (i = 1; i <= NF; i++) { if ($i == bar) b = i; if ($i == cov) c = i } }
    END { exit !(b && c && b > c) }' <<<"$list"
}
e2e_poll 10 above || e2e_fail "the cover window went over the bar: $(xprop -root _NET_CLIENT_LIST_STACKING)"
# And the bar still takes clicks where the cover lies under it.
e2e_press tex
e2e_answer_box "no document chosen" Return
e2e_pass "stays above an active window"
