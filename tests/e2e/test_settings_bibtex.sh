#!/usr/bin/env bash
# Settings → "jBibTeX の選択": the question answered OK, the program picked
# in the file dialog by typing its path; the bar then compiles with it.
# Answering the question with Cancel restores the default.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
e2e_copy_sample "$DOC"
# No Bib key: the default is the bare pbibtex, which the wrappers catch.
e2e_write_ini '[Settings]' 'MkIdxNvr=1' 'MkIdxOpt=-s myindex'
e2e_start "$DOC/paper.tex"

open_settings() {
  e2e_press settings
  SETTINGS=$(e2e_wait_window "^${SETTINGS_TITLE}\$" 20) || e2e_fail "no Settings dialog"
}

open_settings
e2e_press_settings "$SETTINGS" bib
e2e_answer_box "the BibTeX chooser's question" Return
# The file dialog: the one window of the program besides the bar, the
# Settings dialog and the box.
picker=
e2e_poll 20 eval 'picker=$(for w in $(xdotool search --onlyvisible --pid "$MIRVAN_PID"); do
    [ "$w" = "$BAR" ] || [ "$w" = "$SETTINGS" ] || [ -z "$(e2e_window_text "$w")" ] || echo "$w"; done | head -n1); [ -n "$picker" ]' \
  || e2e_fail "no file dialog"
e2e_log "file dialog $picker: $(e2e_window_text "$picker")"
e2e_type "$picker" /usr/bin/pbibtex
xdotool key --clearmodifiers Return
e2e_wait_closed "$picker" || e2e_fail "file dialog stayed open"
e2e_wait_ini Settings Bib /usr/bin/pbibtex
e2e_press_settings "$SETTINGS" close
e2e_wait_closed "$SETTINGS" || e2e_fail "Settings dialog stayed open"
e2e_pass "BibTeX picked"

# The bar uses the picked program (a full path, so the wrapper is bypassed):
# the bibliography is built and every citation resolved.
e2e_press tex
e2e_wait_idle
[ -s "$DOC/paper.bbl" ] || e2e_fail "no paper.bbl"
grep -q '^pbibtex' "$MIRVAN_TOOL_LOG" && e2e_fail "the bare pbibtex ran instead of /usr/bin/pbibtex"
grep -E "Citation .* undefined|undefined references" "$DOC/paper.log" && e2e_fail "citations unresolved"
e2e_pass "compile with the picked BibTeX"

# Cancel at the question: the key is deleted and no file dialog opens.
open_settings
e2e_press_settings "$SETTINGS" bib
e2e_answer_box "the BibTeX chooser's question" Escape
e2e_key "$SETTINGS" Escape
e2e_wait_closed "$SETTINGS" || e2e_fail "Settings dialog stayed open"
e2e_wait_idle
grep -q '^Bib=' "$E2E_WORK/Mirvan.ini" && e2e_fail "Bib still set after Cancel"
e2e_pass "Cancel restores the default"
