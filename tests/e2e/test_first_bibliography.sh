#!/usr/bin/env bash
# The first compile of a document with a bibliography and an index, with no
# settings at all: the default Japanese BibTeX is TeX Live's pbibtex, which
# runs at once without a question; the index run first asks for mendex's
# options. The answer is remembered, and the next compile asks nothing.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
e2e_copy_sample "$DOC"
e2e_start "$DOC/paper.tex"

e2e_press tex
# The index options dialog (template 198, 191 x 136 dialog units): type the
# options, tick "from now on, do not show this", OK.
opts=$(e2e_wait_window '^MakeIndex のオプション$' 60) || e2e_fail "no MakeIndex options dialog"
e2e_click_du "$opts" 191 136 18 63 149 14
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 -- '-s myindex'
e2e_click_du "$opts" 191 136 12 99 144 10
e2e_click_du "$opts" 191 136 134 7 50 14
e2e_wait_closed "$opts" || e2e_fail "options dialog stayed open"
e2e_wait_idle

e2e_expect_eq "Bib" "$(e2e_ini Settings Bib)" ""
e2e_expect_eq "MkIdxOpt" "$(e2e_ini Settings MkIdxOpt)" "-s myindex"
e2e_expect_eq "MkIdxNvr" "$(e2e_ini Settings MkIdxNvr)" 1
# The bare pbibtex ran (through the wrappers); mendex got the options as
# two words.
grep -qx $'pbibtex\t'"$DOC"$'\tpaper' "$MIRVAN_TOOL_LOG" || e2e_fail "pbibtex did not run on paper"
grep -qx $'mendex\t'"$DOC"$'\t-s\tmyindex\tpaper' "$MIRVAN_TOOL_LOG" || e2e_fail "mendex did not get the options"
[ -s "$DOC/paper.bbl" ] && [ -s "$DOC/paper.ind" ] || e2e_fail "no .bbl or .ind"
e2e_pass "first bibliography and index"

# The next compile asks nothing and runs both tools again.
mark=$(($(e2e_run_count) + 1))
e2e_press tex
e2e_wait_idle
runs=$(e2e_runs "$mark" "$DOC")
grep -qx 'mendex -s myindex paper' <<<"$runs" || e2e_fail "no index run: $runs"
if grep -E "LaTeX Warning: .*undefined|There were undefined|Rerun to get" "$DOC/paper.log"; then
  e2e_fail "unresolved references in paper.log"
fi
e2e_pass "second compile asks nothing"
