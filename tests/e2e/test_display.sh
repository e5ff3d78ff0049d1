#!/usr/bin/env bash
# Which display the bar starts on when the user has chosen none: with no
# display at all it says so and ends; in a Wayland session that has an X
# display (XWayland) it starts on X11, where it can place itself and stay
# on top, and says why once.
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_write_ini "${E2E_INI_DEFAULT[@]}"

out=$(cd "$E2E_WORK" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$MIRVAN_BIN" 2>&1)
status=$?
e2e_expect_eq "exit status without a display" "$status" 1
[[ "$out" == *"no display"* ]] || e2e_fail "no plain message without a display: $out"
e2e_pass "no display: $out"

unset QT_QPA_PLATFORM
export WAYLAND_DISPLAY=e2e-wayland-0   # a Wayland session, beside the X display
e2e_start
said=$(grep -c 'starting on X11' "$E2E_TMP/mirvan.out")
e2e_expect_eq "times the choice of X11 is said" "$said" 1
e2e_press tex
e2e_answer_box "no document chosen" Return
e2e_pass "Wayland session with XWayland: the bar runs on X11"
