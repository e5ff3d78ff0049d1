#!/usr/bin/env bash
# The console of one button action in the real bar: it closes by itself
# after a successful compile; after a compiler killed by SIGSEGV or a
# compiler that cannot be found it stays with a last line saying what
# failed; Ctrl+C (Stop) ends a looping tool and every child of it at once;
# a bar ended by TERM, HUP or INT, or killed outright, takes its running
# tools with it, also those that ignore TERM.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc TOOLS=$E2E_TMP/tools
mkdir -p "$DOC" "$TOOLS"
printf '%s\n' '\documentclass{jarticle}' '\begin{document}' '一行だけ。' '\end{document}' >"$DOC/fine.tex"
cp "$DOC/fine.tex" "$DOC/crash.tex"
cp "$DOC/fine.tex" "$DOC/loop.tex"
cp "$DOC/fine.tex" "$DOC/stubborn.tex"
# A compiler (its name says latex) that crashes, or loops with children, or
# loops with children and ignores the signals that ask it to end.
cat >"$TOOLS/odd-latex" <<'SH'
#!/bin/sh
case "$1" in
  crash) echo "about to crash"; kill -SEGV $$ ;;
  loop) sleep 3001 & sleep 3002 & echo "looping"; while :; do :; done ;;
  stubborn) trap '' TERM HUP INT; sleep 3003 & echo "stubborn"; while :; do :; done ;;
esac
SH
chmod +x "$TOOLS/odd-latex"

# Starts the bar with SIGCHLD ignored and SIGTERM blocked, as a careless
# parent may leave them: the tools' statuses must still come through.
cat >"$TOOLS/careless-parent" <<SH
#!/usr/bin/python3
import os, signal, sys
signal.signal(signal.SIGCHLD, signal.SIG_IGN)
signal.pthread_sigmask(signal.SIG_BLOCK, [signal.SIGTERM])
os.execv("$MIRVAN_BIN", ["$MIRVAN_BIN"] + sys.argv[1:])
SH
chmod +x "$TOOLS/careless-parent"
REAL_BIN=$MIRVAN_BIN

# Restarts the bar on document $2 with compiler $1.
start_with() {
  if [ -n "$MIRVAN_PID" ]; then
    wmctrl -i -c "$BAR"
    e2e_wait_exit
  fi
  e2e_write_ini "${E2E_INI_DEFAULT[@]}" "TeX=$1"
  e2e_start "$DOC/$2.tex"
}

MIRVAN_BIN=$TOOLS/careless-parent start_with platex fine
MIRVAN_BIN=$REAL_BIN
e2e_press tex
e2e_wait_idle
[ -s "$DOC/fine.dvi" ] || e2e_fail "no DVI"
_no_console() { ! _e2e_find_console >/dev/null; }
e2e_poll 5 _no_console || e2e_fail "console still open after a success: $(e2e_window_text "$(_e2e_find_console)")"

start_with "$TOOLS/odd-latex" crash
e2e_press tex
e2e_wait_idle
e2e_expect_console "コンパイルに失敗しました" "odd-latex はシグナル SIGSEGV (11) で終了しました。"

start_with /nonexistent/platex fine
e2e_press tex
e2e_answer_box "where is the compiler" Escape
e2e_answer_box "the hint" Return
e2e_wait_idle
e2e_expect_console "からも選択できます。" "プログラム /nonexistent/platex が見つかりません。"

_none_left() { ! pgrep -f 'sleep 300[123]|odd-latex (loop|stubborn)' >/dev/null; }

start_with "$TOOLS/odd-latex" loop
e2e_press tex
console=$(e2e_wait_window 'odd-latex - loop' 30) || e2e_fail "no console for the looping tool"
e2e_poll 10 pgrep -f 'sleep 300[12]' >/dev/null || e2e_fail "the tool's children did not start"
e2e_key "$console" ctrl+c
t0=$EPOCHREALTIME
e2e_poll 5 _none_left || e2e_fail "left running: $(pgrep -af 'sleep 300[12]|odd-latex')"
took=$(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
e2e_log "tool and children gone ${took}s after Ctrl+C"
awk -v t="$took" 'BEGIN { exit !(t <= 1.0) }' || e2e_fail "Stop took ${took}s"
e2e_wait_idle
e2e_expect_console "停止したので、処理をここで終えました。" "odd-latex を停止しました。"
# The bar ended by a signal, or killed outright (a watchdog process sees
# that), ends the running tool's group with it; what ignores TERM is killed.
for run in "loop TERM" "stubborn TERM" "stubborn HUP" "stubborn INT" "stubborn KILL"; do
  read -r tool sig <<<"$run"
  start_with "$TOOLS/odd-latex" "$tool"
  e2e_press tex
  e2e_wait_window "odd-latex - $tool" 30 >/dev/null || e2e_fail "no console for the $tool tool"
  e2e_poll 10 pgrep -f 'sleep 300[13]' >/dev/null || e2e_fail "the tool's children did not start"
  kill -"$sig" "$MIRVAN_PID"
  e2e_wait_exit
  MIRVAN_PID=
  e2e_poll 5 _none_left || e2e_fail "left running after SIG$sig to the bar: $(pgrep -af 'sleep 300[123]|odd-latex')"
  e2e_log "SIG$sig to the bar: the $tool tool and its children are gone"
done
e2e_pass "one console per action: closes after success, stays after failures, Stop ends the group, so does the bar's end"
