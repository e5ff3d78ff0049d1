#!/usr/bin/env bash
# A reference that stays undefined: the compile succeeds and ends with the
# "Warning!!" box; compile-and-PDF still converts.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
cat >"$DOC/dangling.tex" <<'TEX'
\documentclass{jarticle}
\begin{document}
存在しない節~\ref{sec:nowhere} を参照する。
\end{document}
TEX
e2e_write_ini "${E2E_INI_DEFAULT[@]}" 'PdfNeShow=1' 'PdfSizeNo=1'
e2e_start "$DOC/dangling.tex"

e2e_press texpdf
e2e_answer_box "the LaTeX Warning box" Return '^Warning!!$'
e2e_wait_idle
runs=$(e2e_runs 1 "$DOC")
[ "$(head -n1 <<<"$runs")" = "platex dangling" ] || e2e_fail "runs: $runs"
[ "$(tail -n1 <<<"$runs")" = "dvipdfmx dangling" ] || e2e_fail "no conversion after the warning: $runs"
[ -s "$DOC/dangling.pdf" ] || e2e_fail "no PDF"
e2e_pass "warning box, then the PDF"
