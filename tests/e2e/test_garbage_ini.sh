#!/usr/bin/env bash
# A Mirvan.ini full of garbage: the bar starts, works with the defaults, and
# rewrites only the keys it changes; every other byte of the file stays. A
# Mirvan.ini that is no file (a FIFO, a link to /dev/zero): the bar starts,
# says so once, works with the defaults and leaves it as it is.
source "$(dirname "$0")/lib.sh"
e2e_setup

DOC=$E2E_TMP/doc
mkdir -p "$DOC"
printf '%s\n' '\documentclass{jarticle}\begin{document}ごみの試験。\end{document}' >"$DOC/hello.tex"

ini=$E2E_WORK/Mirvan.ini
{
  printf 'garbage before any section\n'
  printf '\xff\xfe\x80 invalid UTF-8 \xe3\x81\n'
  printf '[\n]\n[[nested]]\n=value without key\nkey without equals\n'
  printf ';TeX=not-a-key\n#Bib=not-a-key\n'
  printf '[Other]\nTeX=/nonexistent/platex\nDviPdf=/nonexistent/dvipdfmx\n'
  printf '[Settings\nBib=in a broken section\n'
  head -c 3000 /dev/zero | tr '\0' 'x'; printf '\n'
  printf 'line with CR\r\n\t \t\n'
  printf '[RFL]x\n[Editor]\r\n'
  printf '%s\n' '[' ']]]' '==' '[Settings]]'
} >"$ini"
cp "$ini" "$E2E_TMP/before.ini"

e2e_start "$DOC/hello.tex"
e2e_press tex
e2e_wait_idle
e2e_expect_eq "runs with the default compiler" "$(e2e_runs 1 "$DOC")" "platex hello"

mark=$(($(e2e_run_count) + 1))
e2e_press pdf
dlg=$(e2e_wait_window "^${PDFSIZE_TITLE}\$" 20) || e2e_fail "no paper size dialog"
e2e_key "$dlg" Return
e2e_wait_idle
e2e_expect_eq "runs with the default converter and size" "$(e2e_runs "$mark" "$DOC")" "dvipdfmx hello"
[[ "$(pdfinfo "$DOC/hello.pdf")" == *"595.28 x 841.89"* ]] || e2e_fail "not A4"

wmctrl -c "$BAR_TITLE"
e2e_wait_exit

# Only keys the bar writes may differ: the paper size start-up rule, the
# first-success flag, the history, and the section headers they may need.
delta=$(diff "$E2E_TMP/before.ini" "$ini")
changed=$(grep -a '^[<>]' <<<"$delta" \
  | grep -aEv '^> (PdfNShow|PdfNeShow|PdfSizeNo|Acr|File[0-9]+)=' \
  | grep -aEv '^> \[(Settings|RFL)\]$' \
  | grep -aEv '^< (PdfNShow|PdfNeShow|PdfSizeNo|Acr|File[0-9]+)=')
[ -z "$changed" ] || e2e_fail "lines changed beyond the bar's keys:"$'\n'"$changed"
grep -aqx "> File0=$DOC/hello.tex" <<<"$delta" || e2e_fail "history not written"
grep -q '^Acr=1' "$ini" || e2e_fail "Acr not written"
e2e_pass "garbage Mirvan.ini"

# A FIFO would hold the bar before its window until some writer came, and
# /dev/zero never ends.
for kind in fifo zero; do
  rm -f "$ini"
  case $kind in
    fifo) mkfifo "$ini" ;;
    zero) ln -s /dev/zero "$ini" ;;
  esac
  e2e_start "$DOC/hello.tex"
  e2e_answer_box "the settings file ($kind) cannot be read"
  mark=$(($(e2e_run_count) + 1))
  e2e_press tex
  e2e_wait_idle
  e2e_expect_eq "runs with the default compiler ($kind)" "$(e2e_runs "$mark" "$DOC")" "platex hello"
  wmctrl -c "$BAR_TITLE"
  e2e_wait_exit
  case $kind in
    fifo) [ -p "$ini" ] || e2e_fail "the FIFO was replaced" ;;
    zero) [ "$(readlink "$ini")" = /dev/zero ] || e2e_fail "the link to /dev/zero was replaced" ;;
  esac
done
e2e_pass "a Mirvan.ini that is no file"
