#!/usr/bin/env bash
# Document paths as a user gives them: a relative path on the command line
# still compiles after an action has moved the working folder; a folder
# that is gone is said so and nothing runs; a name that begins with '-'
# reaches the compiler as ./-name.
source "$(dirname "$0")/lib.sh"
e2e_setup

hello='\documentclass{jarticle}\begin{document}こんにちは。\end{document}'
mkdir -p "$E2E_WORK/sub"
printf '%s\n' "$hello" >"$E2E_WORK/sub/rel.tex"
# The paper size question off, so compile-and-PDF runs unattended.
e2e_write_ini "${E2E_INI_DEFAULT[@]}" 'PdfNeShow=1' 'PdfSizeNo=1'

# Relative to the start folder, twice: the first action leaves the working
# folder in sub/. A compile that judged the wrong folder's files would fail
# without a word, and no PDF would be made.
e2e_start sub/rel.tex
for i in 1 2; do
  mark=$(($(e2e_run_count) + 1))
  e2e_press texpdf
  e2e_wait_idle
  runs=$(e2e_runs "$mark" "$E2E_WORK/sub")
  e2e_expect_eq "compile-and-PDF $i" "$runs" $'platex rel\ndvipdfmx rel'
done
[ -s "$E2E_WORK/sub/rel.pdf" ] || e2e_fail "no sub/rel.pdf"
e2e_stop
e2e_pass "a relative command-line path compiles and converts, also a second time"

# A name that begins with '-': pLaTeX would take -ini.tex for its -ini option.
DOC=$E2E_TMP/doc
mkdir -p "$DOC"
printf '%s\n' "$hello" >"$DOC/-ini.tex"
e2e_start "$DOC/-ini.tex"
mark=$(($(e2e_run_count) + 1))
e2e_press tex
e2e_wait_idle
runs=$(e2e_runs "$mark" "$DOC")
grep -qx 'platex ./-ini' <<<"$runs" || e2e_fail "runs: $runs"
[ -s "$DOC/-ini.dvi" ] || e2e_fail "no -ini.dvi"
e2e_stop
e2e_pass "a name beginning with '-' is compiled as ./-name"

# The document's folder goes away: a box says so, and nothing runs.
mkdir -p "$DOC/docs"
printf '%s\n' "$hello" >"$DOC/docs/b.tex"
e2e_start "$DOC/docs/b.tex"
mv "$DOC/docs" "$DOC/moved"
mark=$(e2e_run_count)
e2e_press tex
e2e_answer_box "the folder cannot be entered" Return
e2e_wait_idle
e2e_expect_eq "runs after the folder went" "$(e2e_run_count)" "$mark"
e2e_stop
e2e_pass "a folder that is gone stops the action"
