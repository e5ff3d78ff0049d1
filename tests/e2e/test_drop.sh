#!/usr/bin/env bash
# Files dropped on the bar through the window system (XDND, as a file
# manager does): a .tex file becomes the current document, anything else is
# refused with a message, and a drop on the file select button does nothing.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC" "$E2E_TMP/other"
hello='\documentclass{jarticle}\begin{document}こんにちは。\end{document}'
printf '%s\n' "$hello" >"$DOC/hello.tex"
printf '%s\n' "$hello" >"$E2E_TMP/other/second.tex"
echo notes >"$DOC/notes.txt"
e2e_write_ini "${E2E_INI_DEFAULT[@]}"
e2e_start

drop() {  # drop at control $1's place: files...
  local where=$1; shift
  local r=${BAR_RECT[$where]}
  # shellcheck disable=SC2086
  read -r px py < <(e2e_bar_point $r)
  /usr/bin/python3 "$E2E_DIR/xdnd_drop.py" "$BAR" "$px" "$py" "$@"
}
# Between the compile-and-PDF and the command prompt buttons: the bar itself.
BAR_RECT[gap]="150 2 30 17"

# Not a TeX file: the message box, and nothing changes. The drop finishes
# once the box is answered.
drop gap "$DOC/notes.txt" & dropper=$!
e2e_answer_box "not a TeX file" Return
wait $dropper; rc=$?
[ $rc = 0 ] || [ $rc = 2 ] || e2e_fail "drop helper failed ($rc)"
e2e_expect_eq "history after a refused drop" "$(e2e_history_text)" ""
e2e_press tex
e2e_answer_box "no document chosen" Return

# Two files at once: only the first counts.
drop gap "$DOC/hello.tex" "$E2E_TMP/other/second.tex" || e2e_fail "drop refused"
e2e_expect_eq "history after the drop" "$(e2e_history_text)" "$DOC/hello.tex"
e2e_press tex
e2e_wait_idle
e2e_expect_eq "runs after the drop" "$(e2e_runs 1 "$DOC")" "platex hello"
[ -s "$DOC/hello.dvi" ] || e2e_fail "no hello.dvi"
e2e_pass "dropped .tex file"

# On the file select button: delivered to the button, which ignores it.
drop select "$E2E_TMP/other/second.tex"; rc=$?
[ $rc = 0 ] || [ $rc = 2 ] || e2e_fail "drop helper failed ($rc)"
[ -z "$(e2e_other_window)" ] || e2e_fail "a window opened after a drop on the file select button"
e2e_expect_eq "history after a drop on ﾌｧｲﾙ選択" "$(e2e_history_text)" "$DOC/hello.tex"
e2e_pass "drop on the file select button"
