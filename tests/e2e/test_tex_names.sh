#!/usr/bin/env bash
# A document whose name TeX would read as code: every button that would run
# a tool on it says so in a box and starts nothing, the file the name would
# empty keeps its text, and Mirvan.ini is not touched. A name that only
# looks odd (an ampersand, braces, a blank, a hash) compiles as usual.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
hello='\documentclass{jarticle}\begin{document}こんにちは。\end{document}'
printf '%s\n' '\documentclass{jarticle}\begin{document}論文の本文。\end{document}' >"$DOC/thesis.tex"
cp "$DOC/thesis.tex" "$E2E_TMP/thesis.orig"
# Given to platex, this name opens thesis.tex for writing and closes it.
hostile='\immediate\openout1=thesis.tex\immediate\closeout1'
printf '%s\n' "$hello" >"$DOC/$hostile.tex"
e2e_write_ini "${E2E_INI_DEFAULT[@]}"

e2e_start "$DOC/$hostile.tex"
ini_before=$(md5sum <"$E2E_WORK/Mirvan.ini")
for button in tex pdf texpdf dvi pdfread; do
  e2e_press "$button"
  e2e_answer_box "$button: the name is refused" Return
  e2e_wait_idle
done
e2e_expect_eq "tool runs" "$(e2e_run_count)" 0
cmp -s "$DOC/thesis.tex" "$E2E_TMP/thesis.orig" || e2e_fail "thesis.tex changed: $(wc -c <"$DOC/thesis.tex") bytes"
e2e_expect_eq "files in the document's folder" "$(ls "$DOC" | sort)" "$(printf '%s\n' "$hostile.tex" thesis.tex | sort)"
e2e_expect_eq "Mirvan.ini" "$(md5sum <"$E2E_WORK/Mirvan.ini")" "$ini_before"
e2e_stop
e2e_pass "a name TeX reads as code: five buttons, five boxes, no tool, thesis.tex intact"

odd='a&b {c}#'
printf '%s\n' "$hello" >"$DOC/$odd.tex"
e2e_start "$DOC/$odd.tex"
e2e_press tex
e2e_wait_idle
e2e_expect_eq "runs" "$(e2e_runs 1 "$DOC")" "platex $odd"
[ -s "$DOC/$odd.dvi" ] || e2e_fail "no $odd.dvi"
e2e_stop
e2e_pass "an odd but harmless name compiles"
