#!/usr/bin/env bash
# The close box saves the history; the next start takes its newest entry as
# the current document. Esc and TERM end the bar and save it too; Enter in
# the history box ends nothing.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
for n in first second; do
  printf '%s\n' '\documentclass{jarticle}\begin{document}履歴の試験。\end{document}' >"$DOC/$n.tex"
done
e2e_write_ini "${E2E_INI_DEFAULT[@]}"

e2e_start "$DOC/first.tex"
wmctrl -c "$BAR_TITLE" || e2e_fail "wmctrl could not close the bar"
e2e_wait_exit
e2e_expect_eq "File0 after the close box" "$(e2e_ini RFL File0)" "$DOC/first.tex"
e2e_pass "close box saves the history"

# No document on the command line: the newest history entry is current.
e2e_start
e2e_expect_eq "history box at start" "$(e2e_history_text)" "$DOC/first.tex"
e2e_press tex
e2e_wait_idle
e2e_expect_eq "runs" "$(e2e_runs 1 "$DOC")" "platex first"
e2e_pass "restart finds the history"

# Enter in the history box changes nothing and ends nothing.
e2e_press history
e2e_key "$BAR" Return
e2e_press tex
e2e_wait_idle
e2e_expect_eq "runs after Enter" "$(e2e_runs 2 "$DOC")" "platex first"
e2e_pass "Enter in the history box leaves the bar open"

# Esc ends the bar, and a session's list is not lost by one key.
e2e_key "$BAR" Escape
e2e_wait_exit
e2e_start "$DOC/second.tex"
e2e_key "$BAR" Escape
e2e_wait_exit
e2e_expect_eq "File0 after Esc" "$(e2e_ini RFL File0)" "$DOC/second.tex"
e2e_expect_eq "File1 after Esc" "$(e2e_ini RFL File1)" "$DOC/first.tex"
e2e_pass "Esc saves the history"

# Ended from outside (TERM, as a logout or a service manager ends it): the
# history is saved all the same.
e2e_start "$DOC/first.tex"
kill -TERM "$MIRVAN_PID"
e2e_wait_exit
e2e_expect_eq "File0 after TERM" "$(e2e_ini RFL File0)" "$DOC/first.tex"
e2e_expect_eq "File1 after TERM" "$(e2e_ini RFL File1)" "$DOC/second.tex"
e2e_pass "TERM saves the history"

