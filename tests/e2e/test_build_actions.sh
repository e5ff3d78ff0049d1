#!/usr/bin/env bash
# The sample document from the command line through every build action:
# TeX (the run sequence and a .dvi with every reference resolved), PDF with
# the paper size dialog answered (A4, then A5), compile-and-PDF, Dvi and
# PDF Read through the desktop's file associations.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
e2e_copy_sample "$DOC"
e2e_write_ini "${E2E_INI_DEFAULT[@]}"

# A viewer associated with PDF and DVI that records what it was asked to open.
VIEWED=$E2E_TMP/viewed.log
cat >"$E2E_TMP/record-viewer" <<REC
#!/bin/sh
printf '%s\t%s\n' "\$PWD" "\$*" >>"$VIEWED"
REC
chmod +x "$E2E_TMP/record-viewer"
cat >"$XDG_DATA_HOME/applications/test-viewer.desktop" <<DESK
[Desktop Entry]
Type=Application
Name=Test Viewer
Exec=$E2E_TMP/record-viewer %f
MimeType=application/pdf;application/x-dvi;
DESK
cat >"$XDG_CONFIG_HOME/mimeapps.list" <<LIST
[Default Applications]
application/pdf=test-viewer.desktop
application/x-dvi=test-viewer.desktop
LIST

e2e_start "$DOC/paper.tex"

# --- TeX ------------------------------------------------------------------
e2e_press tex
e2e_wait_idle
runs=$(e2e_runs 1 "$DOC")
e2e_log "TeX ran:"$'\n'"$runs"
# A fresh folder: the first run asks for the bibliography, the BibTeX run is
# followed by a compiler run, the new index by mendex (with the configured
# style) and a compiler run, and the new table of contents by one or two
# final runs. Never more than five compiler runs.
head=$(head -n5 <<<"$runs")
e2e_expect_eq "first runs" "$head" "platex paper
pbibtex paper
platex paper
mendex -s myindex paper
platex paper"
tail=$(tail -n +6 <<<"$runs" | sort -u)
[ "$tail" = "platex paper" ] || e2e_fail "final runs: [$tail]"
n=$(grep -c '^platex' <<<"$runs")
[ "$n" -ge 4 ] && [ "$n" -le 5 ] || e2e_fail "$n compiler runs"
[ -s "$DOC/paper.dvi" ] || e2e_fail "no paper.dvi"
[ -s "$DOC/paper.bbl" ] && [ -s "$DOC/paper.ind" ] || e2e_fail "no .bbl or .ind"
if grep -E "LaTeX Warning: .*undefined|There were undefined|Rerun to get|Label\(s\)" "$DOC/paper.log"; then
  e2e_fail "unresolved references in paper.log"
fi
e2e_pass "TeX"

# --- PDF, A4 --------------------------------------------------------------
page_size() { pdfinfo "$1" | awk -F': *' '/^Page size/ { print $2 }'; }
mark=$(($(e2e_run_count) + 1))
e2e_press pdf
dlg=$(e2e_wait_window "^${PDFSIZE_TITLE}\$" 20) || e2e_fail "no paper size dialog"
e2e_press_pdfsize "$dlg" A4
e2e_press_pdfsize "$dlg" ok
e2e_wait_closed "$dlg" || e2e_fail "paper size dialog stayed"
e2e_wait_idle
e2e_expect_eq "PDF runs" "$(e2e_runs "$mark" "$DOC")" "dvipdfmx paper"
[[ "$(page_size "$DOC/paper.pdf")" == "595.28 x 841.89"* ]] || e2e_fail "A4: $(page_size "$DOC/paper.pdf")"
e2e_expect_eq "Acr after the first PDF" "$(e2e_ini Settings Acr)" 1
e2e_pass "PDF A4"

# --- PDF, A5: the dialog asks again, the choice reaches dvipdfmx ----------
mark=$(($(e2e_run_count) + 1))
e2e_press pdf
dlg=$(e2e_wait_window "^${PDFSIZE_TITLE}\$" 20) || e2e_fail "no paper size dialog"
e2e_press_pdfsize "$dlg" A5
e2e_key "$dlg" Return
e2e_wait_closed "$dlg" || e2e_fail "paper size dialog stayed"
e2e_wait_idle
e2e_expect_eq "PDF runs" "$(e2e_runs "$mark" "$DOC")" "dvipdfmx -p a5 paper"
[[ "$(page_size "$DOC/paper.pdf")" == "419.53 x 595.28"* ]] || e2e_fail "A5: $(page_size "$DOC/paper.pdf")"
e2e_expect_eq "PdfSizeNo" "$(e2e_ini Settings PdfSizeNo)" 2
e2e_pass "PDF A5"

# --- compile-and-PDF: compile, then convert with the size chosen now ------
mark=$(($(e2e_run_count) + 1))
before=$(stat -c %y "$DOC/paper.pdf")
e2e_press texpdf
dlg=$(e2e_wait_window "^${PDFSIZE_TITLE}\$" 60) || e2e_fail "no paper size dialog"
e2e_press_pdfsize "$dlg" A4
e2e_press_pdfsize "$dlg" ok
e2e_wait_idle
runs=$(e2e_runs "$mark" "$DOC")
e2e_log "compile-and-PDF ran:"$'\n'"$runs"
[ "$(head -n1 <<<"$runs")" = "platex paper" ] || e2e_fail "compile-and-PDF did not start with platex"
[ "$(tail -n1 <<<"$runs")" = "dvipdfmx paper" ] || e2e_fail "compile-and-PDF did not end with dvipdfmx"
[ "$(grep -c dvipdfmx <<<"$runs")" = 1 ] || e2e_fail "more than one conversion"
[ "$(stat -c %y "$DOC/paper.pdf")" != "$before" ] || e2e_fail "paper.pdf not rewritten"
[[ "$(page_size "$DOC/paper.pdf")" == "595.28 x 841.89"* ]] || e2e_fail "A4: $(page_size "$DOC/paper.pdf")"
e2e_pass "compile-and-PDF"

# --- Dvi and PDF Read: the associated viewer opens the outputs ------------
viewed_file() {  # absolute path of the n-th file the viewer was given
  local line cwd file
  line=$(sed -n "${1}p" "$VIEWED")
  cwd=${line%%$'\t'*}; file=${line#*$'\t'}
  case "$file" in /*) ;; *) file=$cwd/$file ;; esac
  realpath -m "$file"
}
mark=$(e2e_run_count)
e2e_press dvi
e2e_poll 20 test -s "$VIEWED" || e2e_fail "the DVI viewer was not started"
e2e_expect_eq "Dvi opened" "$(viewed_file 1)" "$(realpath "$DOC/paper.dvi")"
e2e_press pdfread
e2e_poll 20 eval '[ "$(wc -l <"$VIEWED")" -ge 2 ]' || e2e_fail "the PDF viewer was not started"
e2e_expect_eq "PDF Read opened" "$(viewed_file 2)" "$(realpath "$DOC/paper.pdf")"
e2e_wait_idle
e2e_expect_eq "runs for existing outputs" "$(e2e_run_count)" "$mark"

# PDF Read without a PDF converts first (asking for the size), then opens it.
rm "$DOC/paper.pdf"
e2e_press pdfread
dlg=$(e2e_wait_window "^${PDFSIZE_TITLE}\$" 20) || e2e_fail "no paper size dialog"
e2e_key "$dlg" Return
e2e_poll 30 eval '[ "$(wc -l <"$VIEWED")" -ge 3 ]' || e2e_fail "the PDF viewer was not started"
e2e_expect_eq "PDF Read opened" "$(viewed_file 3)" "$(realpath "$DOC/paper.pdf")"
e2e_expect_eq "PDF Read runs" "$(e2e_runs $((mark + 1)) "$DOC")" "dvipdfmx paper"
e2e_wait_idle
e2e_pass "Dvi and PDF Read"
