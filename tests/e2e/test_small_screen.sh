#!/usr/bin/env bash
# On a 1024×768 screen, and with the desktop scaled by 2 and by 1.5, the
# whole bar, frame and all, is on the screen.
E2E_SCREEN=1024x768
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_write_ini "${E2E_INI_DEFAULT[@]}"

on_screen() {
  local left right top bottom
  e2e_geometry "$BAR"
  read -r left right top bottom < <(xprop -id "$BAR" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  [ -n "$bottom" ] && [ $((X - left)) -ge 0 ] && [ $((Y - top)) -ge 0 ] &&
    [ $((X + WIDTH + right)) -le 1024 ] && [ $((Y + HEIGHT + bottom)) -le 768 ]
}

for scale in 1 2 1.5; do
  export QT_SCALE_FACTOR=$scale
  e2e_start
  e2e_poll 10 on_screen || e2e_fail "scale $scale: the bar at $X,$Y size ${WIDTH}x$HEIGHT is not all on 1024x768"
  e2e_pass "scale $scale: the bar at $X,$Y size ${WIDTH}x$HEIGHT"
  e2e_stop
done
