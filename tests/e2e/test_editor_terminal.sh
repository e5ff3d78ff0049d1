#!/usr/bin/env bash
# Edit opens the source in the desktop's editor for TeX files (the default
# editor is xdg-open, which follows the file associations); the command
# prompt button opens the user's terminal in the document's folder. Without
# GIO, the library that finds the applications, the failure boxes of Edit
# and Dvi are followed by one naming it.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC="$E2E_TMP/my doc"
mkdir -p "$DOC"
printf '%s\n' '\documentclass{jarticle}\begin{document}編集の試験。\end{document}' >"$DOC/論文 1.tex"

# Recording stand-ins: an editor associated with TeX sources, and $TERMINAL.
for who in editor terminal; do
  cat >"$E2E_TMP/record-$who" <<REC
#!/bin/sh
{ printf '%s\n' "\$PWD"; for a in "\$@"; do printf '%s\n' "\$a"; done; } >"$E2E_TMP/$who.log"
REC
  chmod +x "$E2E_TMP/record-$who"
done
cat >"$XDG_DATA_HOME/applications/test-editor.desktop" <<DESK
[Desktop Entry]
Type=Application
Name=Test Editor
Exec=$E2E_TMP/record-editor %f
MimeType=text/x-tex;
DESK
printf '[Default Applications]\ntext/x-tex=test-editor.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
export TERMINAL=$E2E_TMP/record-terminal

e2e_write_ini "${E2E_INI_DEFAULT[@]}"
e2e_start "$DOC/論文 1.tex"

e2e_press edit
e2e_poll 20 test -s "$E2E_TMP/editor.log" || e2e_fail "the editor was not started"
e2e_expect_eq "the editor's file" "$(sed -n 2p "$E2E_TMP/editor.log")" "$DOC/論文 1.tex"
e2e_expect_eq "the editor's arguments" "$(wc -l <"$E2E_TMP/editor.log")" 2
e2e_pass "Edit"

e2e_press prompt
e2e_poll 20 test -s "$E2E_TMP/terminal.log" || e2e_fail "the terminal was not started"
e2e_expect_eq "the terminal's folder" "$(sed -n 1p "$E2E_TMP/terminal.log")" "$DOC"
e2e_wait_idle
e2e_pass "command prompt"

# GIO unloadable: an empty file of its name first on the loader's path.
wmctrl -c "$BAR_TITLE"
e2e_wait_exit
mkdir -p "$E2E_TMP/nogio"
: >"$E2E_TMP/nogio/libgio-2.0.so.0"
: >"$DOC/論文 1.dvi"
LD_LIBRARY_PATH=$E2E_TMP/nogio e2e_start "$DOC/論文 1.tex"
for button in edit dvi; do
  e2e_press "$button"
  e2e_answer_box "the $button failure"
  # (Its text, the library's name and the loader's reason, is the platform
  # tests' to check: a box's text cannot be read from outside.)
  e2e_answer_box "the missing library after $button"
done
e2e_wait_idle
e2e_pass "without GIO a box follows each failure"
