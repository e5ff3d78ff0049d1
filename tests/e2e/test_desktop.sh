#!/usr/bin/env bash
# The desktop's ways in and out. Opening a TeX source through the desktop
# (xdg-open, as a file manager does) starts the bar through the installed
# desktop entry in the user's settings folder: a Mirvan.ini planted next to
# the document is never read. And with Mirvan made the default for TeX
# sources, Edit opens the desktop's text editor, not a second bar.
source "$(dirname "$0")/lib.sh"
e2e_setup
LAUNCHER=$(dirname "$MIRVAN_BIN")/mirvan-desktop
[ -x "$LAUNCHER" ] || e2e_fail "no launcher next to the program: $LAUNCHER"

DOC=$E2E_TMP/download
mkdir -p "$DOC"
printf '%s\n' '\documentclass{jarticle}\begin{document}デスクトップ。\end{document}' >"$DOC/paper.tex"
# A downloaded folder with settings that would run the document as a script.
cat >"$E2E_TMP/planted" <<REC
#!/bin/sh
echo planted >"$E2E_TMP/planted.ran"
REC
chmod +x "$E2E_TMP/planted"
printf '[Settings]\nTeX=%s\nBib=pbibtex\nMkIdxNvr=1\n' "$E2E_TMP/planted" >"$DOC/Mirvan.ini"
cp "$DOC/Mirvan.ini" "$E2E_TMP/planted.ini"

# The installed desktop entry, its launcher named by full path, chosen by
# the user as the default for TeX sources; a text editor that is offered
# for them too (the desktop database indexed as a desktop does it).
sed "s|^Exec=mirvan-desktop |Exec=$LAUNCHER |" "$E2E_SOURCE_DIR/res/mirvan.desktop" \
  >"$XDG_DATA_HOME/applications/mirvan.desktop"
cat >"$E2E_TMP/record-editor" <<REC
#!/bin/sh
{ printf '%s\n' "\$PWD"; for a in "\$@"; do printf '%s\n' "\$a"; done; } >"$E2E_TMP/editor.log"
REC
chmod +x "$E2E_TMP/record-editor"
cat >"$XDG_DATA_HOME/applications/test-editor.desktop" <<DESK
[Desktop Entry]
Type=Application
Name=Test Editor
Exec=$E2E_TMP/record-editor %f
MimeType=text/x-tex;text/plain;
DESK
printf '[Default Applications]\ntext/x-tex=mirvan.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
update-desktop-database "$XDG_DATA_HOME/applications"

(cd "$DOC" && exec xdg-open "$DOC/paper.tex") >>"$E2E_TMP/mirvan.out" 2>&1 &
e2e_adopt_bar
# Started by another program, the bar still comes up as the active window.
e2e_poll 10 eval '[ "$(xdotool getactivewindow 2>/dev/null)" = "$BAR" ]' || e2e_fail "the bar is not active"
SETTINGS_DIR=$XDG_CONFIG_HOME/mirvan
e2e_expect_eq "the bar's folder" "$(readlink "/proc/$MIRVAN_PID/cwd")" "$SETTINGS_DIR"
E2E_WORK=$SETTINGS_DIR   # where e2e_ini reads Mirvan.ini
e2e_wait_ini Settings PdfSizeNo 1
e2e_pass "a desktop start uses $SETTINGS_DIR/Mirvan.ini"

e2e_press tex
e2e_wait_idle
[ -e "$E2E_TMP/planted.ran" ] && e2e_fail "the planted compiler ran"
e2e_expect_eq "the compile" "$(e2e_runs 1 "$DOC" | head -n1)" "platex paper"
cmp -s "$DOC/Mirvan.ini" "$E2E_TMP/planted.ini" || e2e_fail "the document folder's Mirvan.ini changed"
e2e_pass "the document folder's Mirvan.ini is not read"

e2e_press edit
e2e_poll 20 test -s "$E2E_TMP/editor.log" || e2e_fail "Edit did not start the text editor"
e2e_expect_eq "the editor's file" "$(sed -n 2p "$E2E_TMP/editor.log")" "$DOC/paper.tex"
bars=$(xdotool search --onlyvisible --name "^${BAR_TITLE}\$" | wc -l)
e2e_expect_eq "bars on the screen" "$bars" 1
e2e_pass "Edit skips Mirvan itself"
