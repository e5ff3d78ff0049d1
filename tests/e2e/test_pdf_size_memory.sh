#!/usr/bin/env bash
# The paper size dialog's two switches: "until the next start" stops the
# question for this run only; "from now on" stops it across starts, and the
# chosen size stays with it.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
printf '%s\n' '\documentclass{jarticle}\begin{document}用紙の試験。\end{document}' >"$DOC/hello.tex"
e2e_write_ini "${E2E_INI_DEFAULT[@]}"
b5() { [[ "$(pdfinfo "$DOC/hello.pdf")" == *"498.9 x 708.66"* ]] || e2e_fail "not B5: $(pdfinfo "$DOC/hello.pdf" | grep 'Page size')"; }

pdf_asked() {  # presses PDF, answers the dialog with size $1 and box $2
  local mark=$(($(e2e_run_count) + 1)) dlg
  e2e_press pdf
  dlg=$(e2e_wait_window "^${PDFSIZE_TITLE}\$" 30) || e2e_fail "no paper size dialog"
  e2e_press_pdfsize "$dlg" "$1"
  e2e_press_pdfsize "$dlg" "$2"
  e2e_press_pdfsize "$dlg" ok
  e2e_wait_idle
  CONVERSION=$(e2e_runs "$mark" "$DOC" | grep dvipdfmx)
}
pdf_unasked() {  # presses PDF; e2e_wait_idle fails on a paper size dialog
  local mark=$(($(e2e_run_count) + 1))
  e2e_press pdf
  e2e_poll 30 eval '[ "$(tail -n +"'"$mark"'" "$MIRVAN_TOOL_LOG.times" 2>/dev/null | grep -c dvipdfmx)" = 1 ]' \
    || e2e_fail "no conversion without the question"
  e2e_wait_idle
  CONVERSION=$(e2e_runs "$mark" "$DOC" | grep dvipdfmx)
}
restart() { e2e_key "$BAR" Escape; e2e_wait_exit; e2e_start "$DOC/hello.tex"; }

# Until the next start: B5, no question for the rest of this run.
e2e_start "$DOC/hello.tex"
pdf_asked B5 nshow
e2e_expect_eq "conversion" "$CONVERSION" "dvipdfmx -p b5 hello"
b5
pdf_unasked
e2e_expect_eq "conversion without asking" "$CONVERSION" "dvipdfmx -p b5 hello"
e2e_pass "until the next start"

# The next start asks again, with A4 chosen; now "from now on" with B5.
restart
e2e_expect_eq "PdfSizeNo after the start" "$(e2e_ini Settings PdfSizeNo)" 1
pdf_asked B5 neshow
e2e_expect_eq "conversion" "$CONVERSION" "dvipdfmx -p b5 hello"
e2e_expect_eq "PdfNeShow" "$(e2e_ini Settings PdfNeShow)" 1
e2e_expect_eq "PdfSizeNo" "$(e2e_ini Settings PdfSizeNo)" 7

# Across starts: no question, B5 kept.
restart
pdf_unasked
e2e_expect_eq "conversion after a restart" "$CONVERSION" "dvipdfmx -p b5 hello"
b5
e2e_pass "from now on"
