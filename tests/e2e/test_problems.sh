#!/usr/bin/env bash
# Errors where they are: a document whose \input'ed chap/two.tex has an
# undefined command on its line 7, compiled and the prompt answered x. The
# console's list holds chap/two.tex:7 with TeX's message, selected and with
# the keyboard focus; Enter opens the editor at that line, for a known
# editor (stand-ins named like them record their arguments) and for a
# command of one's own (EDITLINE).
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc TOOLS=$E2E_TMP/tools
mkdir -p "$DOC/chap" "$TOOLS"
cat >"$DOC/main.tex" <<'TEX'
\documentclass{jarticle}
\begin{document}
はじめに。
\input{chap/two}
\end{document}
TEX
printf '%s\n' '第二章' '' '一行目。' '二行目。' '三行目。' '' '未定義の命令 \undefinedcommand があります。' >"$DOC/chap/two.tex"
# Editors that only say what they were asked to open.
for name in code emacsclient myedit; do
  printf '#!/bin/sh\nprintf "%%s\\n" "$(basename "$0")" "$@" >"%s/opened"\n' "$E2E_TMP" >"$TOOLS/$name"
  chmod +x "$TOOLS/$name"
done

# Compiles main.tex, answers x, and presses Enter on the list.
compile_and_open() {
  rm -f "$E2E_TMP/opened"
  e2e_press tex
  local console
  console=$(e2e_wait_window 'platex.*main' 30) || e2e_fail "no console for platex"
  e2e_console_shows "$console" '! Undefined control sequence.' || e2e_fail "platex did not stop at the error"
  e2e_console_answer "$console" x
  e2e_wait_idle
  console=$(e2e_console) || e2e_fail "the console closed after the failed compile"
  e2e_focus "$console"
  # The list has the focus, its first error selected: Ctrl+C copies it.
  printf 'none' | xclip -selection clipboard -i
  xdotool key --clearmodifiers ctrl+c
  _copied() { [ "$(xclip -selection clipboard -o 2>/dev/null)" != none ]; }
  e2e_poll 5 _copied || e2e_fail "nothing copied from the list"
  e2e_expect_eq "the list's first entry" "$(xclip -selection clipboard -o)" \
    "chap/two.tex:7: Undefined control sequence."
  xdotool key --clearmodifiers Return
  e2e_poll 10 test -s "$E2E_TMP/opened" || e2e_fail "Enter opened no editor"
}

e2e_write_ini "${E2E_INI_DEFAULT[@]}" '[Editor]' "EDIT=$TOOLS/code"
e2e_start "$DOC/main.tex"
compile_and_open
e2e_expect_eq "VS Code" "$(cat "$E2E_TMP/opened")" "code
--goto
$DOC/chap/two.tex:7"
e2e_pass "the list shows chap/two.tex:7; Enter opens VS Code there"

wmctrl -i -c "$BAR"; e2e_wait_exit
e2e_write_ini "${E2E_INI_DEFAULT[@]}" '[Editor]' "EDIT=$TOOLS/emacsclient"
e2e_start "$DOC/main.tex"
compile_and_open
e2e_expect_eq "emacsclient" "$(cat "$E2E_TMP/opened")" "emacsclient
+7
$DOC/chap/two.tex"
e2e_pass "Enter opens emacsclient at the line"

wmctrl -i -c "$BAR"; e2e_wait_exit
e2e_write_ini "${E2E_INI_DEFAULT[@]}" '[Editor]' "EDIT=$TOOLS/code" "EDITLINE=$TOOLS/myedit --at=%l \"%f\""
e2e_start "$DOC/main.tex"
compile_and_open
e2e_expect_eq "one's own command" "$(cat "$E2E_TMP/opened")" "myedit
--at=7
$DOC/chap/two.tex"
e2e_pass "Enter opens one's own command (EDITLINE) at the line"
