#!/usr/bin/env bash
# Compile on save, switched on from the bar's context menu: a save of the
# source in place and one through a new file renamed over it (as many
# editors save) each start exactly one compile within a second; a touch or
# a save of the same bytes starts none; ten saves during a compile give one
# more; a save while TeX waits at its prompt starts the compile anew; the
# switch survives a restart, and off it compiles nothing.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
cat >"$DOC/paper.tex" <<'TEX'
\documentclass{jarticle}
\begin{document}
保存したらコンパイル。
\end{document}
TEX
e2e_write_ini "${E2E_INI_DEFAULT[@]}"
e2e_start "$DOC/paper.tex"

title_says() { [[ "$(e2e_window_text "$BAR")" == *"$1"* ]]; }
# Waits for the runs to reach $1 and stay there while the bar is idle.
_runs_reach() { [ "$(e2e_run_count)" -ge "$1" ]; }
runs_settle_at() {
  e2e_poll 30 _runs_reach "$1" || e2e_fail "only $(e2e_run_count) runs, $1 expected"
  e2e_wait_idle
  e2e_expect_eq "runs" "$(e2e_run_count)" "$1"
}
# The seconds from $1 (a time) to the start of run number $2.
started_within() {
  local start
  start=$(sed -n "$2p" "$MIRVAN_TOOL_LOG.times" | cut -f2)
  awk -v a="$1" -v b="$start" -v lim="$3" 'BEGIN { exit !(b - a <= lim) }' ||
    e2e_fail "run $2 started $(awk -v a="$1" -v b="$start" 'BEGIN { print b - a }') s after the save"
}

e2e_bar_menu w
e2e_poll 10 title_says '保存でコンパイル' || e2e_fail "the title does not say that a save compiles"
e2e_expect_eq "CompileOnSave in Mirvan.ini" "$(e2e_ini Settings CompileOnSave)" 1

# In place.
t=$EPOCHREALTIME
printf '%s\n' '\documentclass{jarticle}' '\begin{document}' '一度目の保存。' '\end{document}' >"$DOC/paper.tex"
runs_settle_at 1
started_within "$t" 1 1.0
e2e_pass "a save in place compiles once"

# A new file renamed over the source.
t=$EPOCHREALTIME
printf '%s\n' '\documentclass{jarticle}' '\begin{document}' '二度目の保存。' '\end{document}' >"$DOC/.paper.tex.new"
mv "$DOC/.paper.tex.new" "$DOC/paper.tex"
runs_settle_at 2
started_within "$t" 2 1.0
e2e_pass "a save through a renamed new file compiles once"

# Nothing changed: a touch, the same bytes again.
touch "$DOC/paper.tex"
cp "$DOC/paper.tex" "$DOC/.same" && mv "$DOC/.same" "$DOC/paper.tex"
# Twice idle: a compile the watch had queued behind the first would come
# before the second.
e2e_wait_idle
e2e_wait_idle
e2e_expect_eq "runs after saves that changed nothing" "$(e2e_run_count)" 2

# Ten saves while a compile runs: one more compile after it.
cat >"$DOC/paper.tex" <<'TEX'
\documentclass{jarticle}
\begin{document}
\count255=0 \loop\advance\count255 by 1 \ifnum\count255<3000000 \repeat
遅い文書。
\end{document}
TEX
e2e_poll 10 _runs_reach 3 || e2e_fail "the save did not compile"
for i in 1 2 3 4 5 6 7 8 9 10; do printf '%% %s\n' "$i" >>"$DOC/paper.tex"; done
[ -z "$(e2e_tool_running)" ] && e2e_fail "the compile ended before the ten saves: make it slower"
runs_settle_at 4
e2e_pass "ten saves during a compile give one more"

# A save while TeX waits at its prompt: that compile is stopped, a new one starts.
printf '%s\n' '\documentclass{jarticle}' '\begin{document}' '\undefinedcommand' '\end{document}' >"$DOC/paper.tex"
console=$(e2e_wait_window 'platex.*paper' 30) || e2e_fail "no console"
e2e_console_shows "$console" '! Undefined control sequence.' || e2e_fail "TeX did not stop at the error"
printf '%s\n' '\documentclass{jarticle}' '\begin{document}' '直した。' '\end{document}' >"$DOC/paper.tex"
# The stopped run, then the new compile: two runs, the .aux having changed.
runs_settle_at 7
e2e_expect_eq "how the waiting run ended" "$(sed -n 5p "$MIRVAN_TOOL_LOG.times" | cut -f4)" 143
e2e_expect_eq "the new compile's runs" "$(sed -n '6,7p' "$MIRVAN_TOOL_LOG.times" | cut -f4 | tr '\n' ' ')" "0 0 "
e2e_pass "a save while TeX waits at its prompt compiles anew"

# The switch is kept; turned off, a save compiles nothing.
wmctrl -i -c "$BAR"; e2e_wait_exit
e2e_start "$DOC/paper.tex"
e2e_poll 10 title_says '保存でコンパイル' || e2e_fail "the switch was not kept"
e2e_bar_menu w
_off() { ! title_says '保存でコンパイル'; }
e2e_poll 10 _off || e2e_fail "the title still says a save compiles"
printf '%s\n' '\documentclass{jarticle}' '\begin{document}' '切った後。' '\end{document}' >"$DOC/paper.tex"
e2e_wait_idle
e2e_wait_idle
e2e_expect_eq "runs after turning it off" "$(e2e_run_count)" 7
e2e_expect_eq "CompileOnSave in Mirvan.ini" "$(e2e_ini Settings CompileOnSave)" 0
e2e_pass "turned off, a save compiles nothing"
