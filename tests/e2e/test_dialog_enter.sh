#!/usr/bin/env bash
# Enter in the dialogs, from the keyboard alone: on a push button reached
# with Tab it presses that button; elsewhere it presses the default one.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
printf '%s\n' '\documentclass{jarticle}\begin{document}キーの試験。\end{document}' >"$DOC/keys.tex"
e2e_write_ini "${E2E_INI_DEFAULT[@]}"
e2e_start "$DOC/keys.tex"

# The paper size dialog opens with OK focused; Tab reaches ｷｬﾝｾﾙ.
e2e_press pdf
dlg=$(e2e_wait_window "^${PDFSIZE_TITLE}\$" 60) || e2e_fail "no paper size dialog"
e2e_key "$dlg" Tab Return
e2e_wait_closed "$dlg" 10 || e2e_fail "Enter on ｷｬﾝｾﾙ left the dialog open"
e2e_wait_idle
e2e_expect_eq "conversions after ｷｬﾝｾﾙ" "$(e2e_runs | grep -c dvipdfmx)" 0
e2e_pass "Tab to ｷｬﾝｾﾙ, Enter: nothing is converted"

# Settings opens with 閉じる focused; two Tabs reach "TeX の変更", whose
# question must appear while the dialog stays open.
e2e_press settings
dlg=$(e2e_wait_window "^${SETTINGS_TITLE}\$" 30) || e2e_fail "no Settings dialog"
e2e_key "$dlg" Tab Tab Return
e2e_answer_box "the question of TeX の変更" Escape
_e2e_not_viewable "$dlg" && e2e_fail "Enter on TeX の変更 closed the Settings dialog"
# With the focus on a push button again, Enter presses it; Esc closes.
e2e_key "$dlg" Escape
e2e_wait_closed "$dlg" 10 || e2e_fail "the Settings dialog did not close"
e2e_wait_idle
e2e_pass "Tab to TeX の変更, Enter: its question, the dialog stays"
