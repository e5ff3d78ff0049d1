#!/usr/bin/env bash
# Stopping a tool ends its action where it stands: a compile whose BibTeX
# run is stopped (Esc in the console) and a PDF whose converter is stopped
# (the console closed) start no further tool, show no box or dialog
# afterwards, leave Mirvan.ini byte for byte as it was, and end the
# transcript with a line saying so. A compile whose first TeX run exits
# non-zero but which the driver completes ends as a success.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc TOOLS=$E2E_TMP/tools
mkdir -p "$DOC" "$TOOLS"
e2e_copy_sample "$DOC"
# A tool that records its start like the wrappers, then waits to be
# stopped, recording its end when it is.
for name in slow-bibtex slow-dvipdfmx; do
  cat >"$TOOLS/$name" <<'SH'
#!/usr/bin/env bash
tool=${0##*/} start=$EPOCHREALTIME
line=$tool$'\t'$PWD; for a in "$@"; do line+=$'\t'$a; done
printf '%s\n' "$line" >>"$MIRVAN_TOOL_LOG"
trap 'printf "%s\t%s\t%s\t143\n" "$tool" "$start" "$EPOCHREALTIME" >>"$MIRVAN_TOOL_LOG.times"; exit 143' TERM
sleep 3000 & wait
SH
  chmod +x "$TOOLS/$name"
done

_running() { [ "$(e2e_tool_running)" = "$1" ]; }
wait_for_tool() { e2e_poll 60 _running "$1" || e2e_fail "$1 did not start"; }

# BibTeX stopped with Esc in its console.
e2e_write_ini "[Settings]" "Bib=$TOOLS/slow-bibtex" "MkIdxNvr=1" "MkIdxOpt=-s myindex" "PdfNeShow=1" "PdfSizeNo=1"
e2e_start "$DOC/paper.tex"
cp "$E2E_WORK/Mirvan.ini" "$E2E_TMP/ini.before"
e2e_press tex
wait_for_tool slow-bibtex
e2e_key "$(e2e_console)" Escape
e2e_wait_idle
e2e_expect_eq "runs after the stopped BibTeX" "$(e2e_runs 1 "$DOC")" "platex paper
slow-bibtex paper"
cmp -s "$E2E_TMP/ini.before" "$E2E_WORK/Mirvan.ini" || e2e_fail "Mirvan.ini changed: $(diff "$E2E_TMP/ini.before" "$E2E_WORK/Mirvan.ini")"
e2e_expect_console '停止したので、処理をここで終えました。' 'slow-bibtex を停止しました。'

# The converter stopped by closing its console, while no converter has ever
# succeeded (Acr=0): no question to choose another, DviPdf kept.
wmctrl -i -c "$BAR"
e2e_wait_exit
e2e_write_ini "${E2E_INI_DEFAULT[@]}" "DviPdf=$TOOLS/slow-dvipdfmx" 'Acr=0' 'PdfNeShow=1' 'PdfSizeNo=1'
e2e_start "$DOC/paper.tex"
cp "$E2E_WORK/Mirvan.ini" "$E2E_TMP/ini.before"
from=$(($(e2e_run_count) + 1))
e2e_press pdf
wait_for_tool slow-dvipdfmx
wmctrl -i -c "$(e2e_console)"
e2e_wait_idle
e2e_expect_eq "runs after the stopped converter" "$(e2e_runs "$from" "$DOC")" "slow-dvipdfmx paper"
cmp -s "$E2E_TMP/ini.before" "$E2E_WORK/Mirvan.ini" || e2e_fail "Mirvan.ini changed: $(diff "$E2E_TMP/ini.before" "$E2E_WORK/Mirvan.ini")"
e2e_expect_console '停止したので、処理をここで終えました。' 'slow-dvipdfmx を停止しました。'

# The first TeX run stops at an error the user scrolls past (Enter), so it
# exits non-zero; it writes its DVI and the later runs go through.
cat >"$DOC/first.tex" <<'TEX'
\documentclass{jarticle}
\begin{document}
\IfFileExists{\jobname.toc}{}{\errmessage{only on the first run}}
\tableofcontents
\section{はじめに}\label{s}
第\ref{s}節を見よ。
\end{document}
TEX
wmctrl -i -c "$BAR"
e2e_wait_exit
e2e_write_ini "${E2E_INI_DEFAULT[@]}"
e2e_start "$DOC/first.tex"
from=$(($(e2e_run_count) + 1))
e2e_press tex
console=$(e2e_wait_window 'platex.*first' 30) || e2e_fail "no console for platex"
e2e_console_shows "$console" '! only on the first run.' || e2e_fail "the first run did not stop at the error"
e2e_console_answer "$console" ""
e2e_wait_idle
status=$(head -n "$from" "$MIRVAN_TOOL_LOG.times" | tail -n1 | cut -f4)
[ "$status" != 0 ] || e2e_fail "the first TeX run exited 0"
[ "$(e2e_run_count)" -ge $((from + 1)) ] || e2e_fail "the driver did not run TeX again"
# A success closes the console by itself; the last transcript, shown again
# from the bar's menu, ends with the compile's success.
_no_console() { ! _e2e_find_console >/dev/null; }
e2e_poll 5 _no_console || e2e_fail "the console stayed open after the compile"
e2e_bar_menu l
w=$(e2e_console) || e2e_fail "the last output did not show"
last=$(grep -v '^$' <<<"$(e2e_console_text "$w")" | tail -n1)
e2e_log "console last line: $last"
[[ "$last" == *'✔ コンパイルは成功しました！！'* ]] || e2e_fail "last line: $last"
e2e_pass "Stop ends the action where it stands; a completed compile is a success whatever its first run's status"
